#include "stations_window.h"

#include "announcer.h"
#include "error_report.h"
#include "main_window_link.h"
#include "memory_exchange.h"
#include "receiver_range.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent>

#include <utility>

using namespace Qt::Literals::StringLiterals;

TStationsWindow::TStationsWindow(TMainWindowLink &mainWindow, TStationStore &store, const QString &memoryFilePath)
    : QWidget(&mainWindow.Window(), Qt::Window)
    , Search(new QLineEdit(this))
    , OnAir(new QCheckBox(u"On the &air now"_s, this))
    , NearDial(new QCheckBox(u"&Near the dial"_s, this))
    , BeyondRange(new QCheckBox(u"Also &beyond the receiver's range"_s, this))
    , Lists(new QComboBox(this))
    , View(new QTableView(this))
    , Count(new QLabel(this))
    , ImportButton(new QPushButton(u"&Import\u2026"_s, this))
    , ReloadButton(new QPushButton(u"&Reload"_s, this))
    , RemoveButton(new QPushButton(u"Re&move"_s, this))
    , StoreButton(new QPushButton(u"&Store in memory\u2026"_s, this))
    , ExportButton(new QPushButton(u"&Export\u2026"_s, this))
    , ExportMemoriesButton(new QPushButton(u"Export memories\u2026"_s, this))
    , ImportMemoriesButton(new QPushButton(u"Import memories\u2026"_s, this))
    , Status(new QLabel(this))
    , mainWindow(mainWindow)
    , store(store)
    , memoryFilePath(memoryFilePath)
    , announcer(new TAnnouncer(this))
{
    setObjectName(u"stations"_s);
    setWindowTitle(u"Stations"_s);
    resize(640, 400);
    Search->setObjectName(u"search"_s);
    Search->setPlaceholderText(u"Search"_s);
    Search->setAccessibleName(u"Search stations"_s);
    Search->setClearButtonEnabled(true);
    OnAir->setObjectName(u"onAir"_s);
    NearDial->setObjectName(u"nearDial"_s);
    BeyondRange->setObjectName(u"beyondRange"_s);
    Count->setObjectName(u"count"_s);
    Lists->setObjectName(u"lists"_s);
    Lists->setAccessibleName(u"Imported list"_s);
    View->setObjectName(u"stationTable"_s);
    View->setAccessibleName(u"Stations"_s);
    View->setModel(&Table);
    View->setSortingEnabled(true);
    View->sortByColumn(TStationTable::Frequency, Qt::AscendingOrder);
    View->setSelectionBehavior(QAbstractItemView::SelectRows);
    View->setSelectionMode(QAbstractItemView::SingleSelection);
    View->setEditTriggers(QAbstractItemView::NoEditTriggers);
    View->setWordWrap(false);
    // Tab leaves the table, as in any other control; the arrows move within it.
    View->setTabKeyNavigation(false);
    // Rows of one height: the view never measures 100,000 of them.
    View->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    View->verticalHeader()->setDefaultSectionSize(View->fontMetrics().height() + 4);
    View->verticalHeader()->hide();
    View->horizontalHeader()->setStretchLastSection(true);
    View->installEventFilter(this);
    Status->setObjectName(u"status"_s);
    Status->setWordWrap(true);
    Status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *filters = new QHBoxLayout;
    filters->addWidget(Search, 1);
    filters->addWidget(OnAir);
    filters->addWidget(NearDial);
    filters->addWidget(BeyondRange);
    auto *lists = new QHBoxLayout;
    lists->addWidget(Lists, 1);
    for (QPushButton *button : {ImportButton, ReloadButton, RemoveButton, ExportButton})
        lists->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(View, 1);
    layout->addWidget(Count);
    auto *memories = new QHBoxLayout;
    memories->addWidget(StoreButton);
    memories->addStretch(1);
    memories->addWidget(ExportMemoriesButton);
    memories->addWidget(ImportMemoriesButton);
    layout->addLayout(memories);
    layout->addLayout(lists);
    layout->addWidget(Status);
    setTabOrder(Search, OnAir);
    setTabOrder(OnAir, NearDial);
    setTabOrder(NearDial, BeyondRange);
    setTabOrder(BeyondRange, View);

    connect(Search, &QLineEdit::textChanged, this, [this](const QString &text) { Table.SetSearch(text); });
    connect(OnAir, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            minute->start();
        else
            minute->stop();
        ShowOnAir();
    });
    connect(BeyondRange, &QCheckBox::toggled, this, [this](bool on) { Table.SetBeyondRangeShown(on); });
    connect(&Table, &QAbstractItemModel::modelReset, this, [this] { ShowCount(); });
    connect(NearDial, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            dial.start();
        else
            dial.stop();
        FollowDial();
    });
    dial.setInterval(200);
    connect(&dial, &QTimer::timeout, this, [this] { FollowDial(); });
    minute->setObjectName(u"onAirEachMinute"_s);
    minute->setInterval(60'000);
    connect(minute, &QTimer::timeout, this, [this] { ShowOnAir(); });
    connect(View, &QTableView::activated, this, [this](const QModelIndex &index) {
        RunGuarded([this, &index] { TuneToRow(index.row()); });
    });
    connect(ImportButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { ChooseFileToImport(); }); });
    connect(ReloadButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { ReloadChosen(); }); });
    connect(RemoveButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { RemoveChosen(); }); });
    connect(ExportButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { ExportShown(); }); });
    connect(ExportMemoriesButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { ChooseMemoryExport(); }); });
    connect(ImportMemoriesButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { ChooseMemoryImport(); }); });
    connect(StoreButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { StoreRow(CurrentRow()); }); });
    LoadLists();
}

void TStationsWindow::LoadLists(const QString &done, const QString &choose)
{
    delete std::exchange(loading, new QFutureWatcher<TLoaded>(this));
    Status->setText(u"Reading the station lists\u2026"_s);
    connect(loading, &QFutureWatcher<TLoaded>::finished, this, [this, watcher = loading, done, choose] {
        if (watcher != loading)
            return;
        loading = nullptr;
        watcher->deleteLater();
        RunGuarded([&] { ShowLoaded(watcher->result(), done, choose); });
    });
    // The store is only a folder: the thread reads through a copy of its own.
    loading->setFuture(QtConcurrent::run([store = store] {
        TLoaded loaded;
        QList<TStation> all;
        for (TStationStore::TList &list : store.Lists()) {
            loaded.names << list.name;
            all.append(std::move(list.read.stations));
            if (!list.read.error.isEmpty())
                loaded.errors << list.name + u": "_s + list.read.error;
        }
        loaded.stations = TStationTable::Index(std::move(all));
        return loaded;
    }));
}

void TStationsWindow::ShowLoaded(const TLoaded &loaded, const QString &done, const QString &choose)
{
    Lists->clear();
    Lists->addItems(loaded.names);
    if (!choose.isEmpty())
        Lists->setCurrentText(choose);
    Table.SetStations(loaded.stations);
    if (OnListsRead)
        OnListsRead(loaded.stations.stations);
    ReloadButton->setEnabled(Lists->count() > 0);
    RemoveButton->setEnabled(Lists->count() > 0);
    QStringList lines = loaded.errors;
    if (!done.isEmpty())
        lines.prepend(done);
    if (lines.isEmpty())
        lines << u"%1 in %2"_s.arg(Counted(Table.StationCount(), u"station"_s), Counted(Lists->count(), u"list"_s));
    Say(lines.join(u'\n'));
}

void TStationsWindow::Import(const QString &path)
{
    QString summary;
    store.Import(path, summary);
    LoadLists(summary, QFileInfo(path).fileName());
}

void TStationsWindow::ChooseFileToImport()
{
    auto *dialog = new QFileDialog(this, u"Import a station list"_s);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters({u"Station lists (*.csv *.json *.xml)"_s, u"All files (*)"_s});
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString &path) { RunGuarded([this, &path] { Import(path); }); });
    dialog->open();
}

void TStationsWindow::ReloadChosen()
{
    const QString name = Lists->currentText();
    const TStationRead read = store.Reload(name);
    LoadLists(read.error.isEmpty() ? TStationStore::Summary(name, read) : name + u": "_s + read.error, name);
}

void TStationsWindow::RemoveChosen()
{
    const QString name = Lists->currentText();
    const bool removed = store.Remove(name);
    LoadLists(removed ? u"Removed %1"_s.arg(name) : u"Cannot remove %1"_s.arg(name));
}

void TStationsWindow::ExportShown()
{
    auto *dialog = new QFileDialog(this, u"Export the stations shown"_s);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(u"csv"_s);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &path) {
        RunGuarded([this, &path] {
            QList<TStation> shown;
            for (int row = 0; row < Table.rowCount(); ++row)
                shown << Table.StationAt(row);
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(StationsCsv(shown)) < 0 || !file.commit())
                throw EIniFileException(path);
            Say(u"Exported %1 to %2"_s.arg(Counted(shown.size(), u"station"_s), QDir::toNativeSeparators(path)));
        });
    });
    dialog->open();
}

int TStationsWindow::CurrentRow() const
{
    return View->currentIndex().isValid() ? View->currentIndex().row() : -1;
}

void TStationsWindow::Say(const QString &text)
{
    Status->setText(text);
    announcer->Announce(text);
}

void TStationsWindow::ShowCount()
{
    QString text = Counted(Table.rowCount(), u"station"_s) + u" shown"_s;
    if (const int hidden = Table.HiddenBeyondRange(); hidden > 0)
        text += u"; %1 hidden as beyond the receiver's %2"_s.arg(Grouped(hidden), ReceiverRange::Text());
    Count->setText(text);
    // Said with the table's name when it takes the focus.
    View->setAccessibleDescription(text);
}

const TStation *TStationsWindow::ReceivableAt(int row, const QString &refused)
{
    if (row < 0 || row >= Table.rowCount())
        return nullptr;
    const TStation &station = Table.StationAt(row);
    if (ReceiverRange::Holds(station.frequency))
        return &station;
    const QString named = station.name.isEmpty() ? QString() : u" ("_s + station.name + u')';
    Say(u"%1: %2 kHz%3 is beyond the receiver's %4"_s.arg(
        refused, TStationTable::FrequencyText(station.frequency), named, ReceiverRange::Text()));
    return nullptr;
}

void TStationsWindow::TuneToRow(int row)
{
    if (const TStation *station = ReceivableAt(row, u"Not tuned"_s))
        mainWindow.TuneTo(static_cast<std::int32_t>(station->frequency));
}

void TStationsWindow::StoreRow(int row)
{
    if (const TStation *station = ReceivableAt(row, u"Not stored"_s))
        mainWindow.AskToStore(static_cast<std::int32_t>(station->frequency), station->name);
}

void TStationsWindow::ShowOnAir()
{
    Table.SetOnAirAt(OnAir->isChecked() ? std::optional(Now()) : std::nullopt);
}

void TStationsWindow::FollowDial()
{
    Table.SetNear(NearDial->isChecked() ? std::optional<qint64>(mainWindow.Frequency()) : std::nullopt, NearSpan);
}

// Enter tunes as a double click does; the view itself would only move down a row.
bool TStationsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == View && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunGuarded([this] { TuneToRow(CurrentRow()); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TStationsWindow::ChooseMemoryExport()
{
    auto *dialog = new QFileDialog(this, u"Export the memories"_s);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    const QString gqrx = u"gqrx bookmarks (bookmarks.csv)"_s;
    dialog->setNameFilters({u"CSV (*.csv)"_s, gqrx});
    dialog->setDefaultSuffix(u"csv"_s);
    connect(dialog, &QFileDialog::fileSelected, this, [this, dialog, gqrx](const QString &path) {
        const bool asGqrx = dialog->selectedNameFilter() == gqrx;
        RunGuarded([this, &path, asGqrx] { ExportMemories(path, asGqrx); });
    });
    dialog->open();
}

void TStationsWindow::ExportMemories(const QString &path, bool asGqrx)
{
    const TMemoryFileContents contents = TMemoryFile(memoryFilePath).Read();
    QSaveFile file(path);
    const QByteArray bytes = asGqrx ? MemoriesGqrx(contents.banks) : MemoriesCsv(contents.banks);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EIniFileException(path);
    Say(u"Exported the memories to "_s + QDir::toNativeSeparators(path));
}

void TStationsWindow::ChooseMemoryImport()
{
    auto *dialog = new QFileDialog(this, u"Import memories"_s);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters({u"CSV (*.csv)"_s, u"All files (*)"_s});
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString &path) { RunGuarded([this, &path] { ImportMemories(path); }); });
    dialog->open();
}

void TStationsWindow::ImportMemories(const QString &path)
{
    const TMemoryImport read = ImportedMemories(path, TMemoryFile(memoryFilePath));
    if (!read.error.isEmpty()) {
        Say(read.error);
        return;
    }
    const QStringList &changes = read.changes;
    if (changes.isEmpty()) {
        Say(u"Nothing to change: the memories are those of "_s + QDir::toNativeSeparators(path));
        return;
    }
    auto *question = new QMessageBox(QMessageBox::Question, u"Import memories"_s,
                                     u"Write %1 to the memory file?"_s.arg(Counted(changes.size(), u"change"_s)),
                                     QMessageBox::Ok | QMessageBox::Cancel, this);
    question->setObjectName(u"memoryChanges"_s);
    question->setDetailedText(changes.join(u'\n'));
    question->setDefaultButton(QMessageBox::Cancel);
    question->setAttribute(Qt::WA_DeleteOnClose);
    connect(question, &QMessageBox::finished, this, [this, banks = read.banks, count = changes.size()](int answer) {
        if (answer != QMessageBox::Ok)
            return;
        RunGuarded([&] {
            TMemoryFile(memoryFilePath).Save(banks);
            mainWindow.MemoriesChanged();
            Say(u"%1 written to the memory file"_s.arg(Counted(count, u"change"_s)));
        });
    });
    question->open();
}

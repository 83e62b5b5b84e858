#pragma once

#include "station_store.h"
#include "station_table.h"

#include <QDateTime>
#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TAnnouncer;
class TMainWindowLink;

// The imported station lists as one table: searched as the user types, filtered to what is on
// the air now (checked each minute) or near the dial (following the readout), and to what the
// receiver tunes unless the user asks for every station. Enter or a double click tunes to a
// station as a recall does; "Store in memory…" keeps it in a memory of the
// user's choice. Lists are imported, read again and removed here.
class TStationsWindow : public QWidget
{
public:
    // The memories exported and imported here are those of the memory file at `memoryFilePath`.
    TStationsWindow(TMainWindowLink &mainWindow, TStationStore &store, const QString &memoryFilePath);

    // Within this many hertz of the readout, "near the dial".
    static constexpr qint64 NearSpan = 5'000;

    // Reads every kept list again into the table, on a thread of its own so that a large one never
    // holds the window up; then the line says what was read, or `done` when given, and `choose`
    // becomes the list chosen.
    void LoadLists(const QString &done = {}, const QString &choose = {});
    bool Loading() const { return loading != nullptr; }
    // Imports a file as the import button does, without asking for it.
    void Import(const QString &path);
    // Tunes to the station in a row of the table as shown; one beyond the receiver's range is
    // neither tuned nor stored, and the status line says why.
    void TuneToRow(int row);
    void StoreRow(int row);
    // The readout changed: "near the dial" follows it.
    void FollowDial();
    // Reads the memories' CSV and asks, showing what would change, before writing them; Cancel
    // writes nothing.
    void ImportMemories(const QString &path);
    // The memories as CSV, or as gqrx's bookmarks.
    void ExportMemories(const QString &path, bool asGqrx);

    TStationTable Table;
    QLineEdit *Search;
    QCheckBox *OnAir;
    QCheckBox *NearDial;
    QCheckBox *BeyondRange;
    QComboBox *Lists;
    QTableView *View;
    QLabel *Count; // how many stations are shown, and how many hidden as beyond the range
    QPushButton *ImportButton;
    QPushButton *ReloadButton;
    QPushButton *RemoveButton;
    QPushButton *StoreButton;
    QPushButton *ExportButton;
    QPushButton *ExportMemoriesButton;
    QPushButton *ImportMemoriesButton;
    QLabel *Status;
    // The kept lists were read anew, with these stations.
    std::function<void(const QList<TStation> &stations)> OnListsRead;
    // What time it is for "On the air now".
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTimeUtc(); };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TLoaded
    {
        QStringList names;
        QStringList errors;
        TStationTable::TIndexed stations;
    };
    void ShowLoaded(const TLoaded &loaded, const QString &done, const QString &choose);
    void ShowOnAir();
    void ChooseFileToImport();
    void ReloadChosen();
    void RemoveChosen();
    void ExportShown();
    void ChooseMemoryExport();
    void ChooseMemoryImport();
    int CurrentRow() const;
    // The status line's text, which screen readers speak whatever has the focus.
    void Say(const QString &text);
    void ShowCount();
    // The station in `row`, or nothing (the status line saying why where it lies beyond the range).
    const TStation *ReceivableAt(int row, const QString &refused);

    TMainWindowLink &mainWindow;
    TStationStore &store;
    QString memoryFilePath;
    QFutureWatcher<TLoaded> *loading = nullptr;
    QTimer *minute = new QTimer(this);
    TAnnouncer *announcer;
    // While "near the dial" is on, the readout is looked at this often.
    QTimer dial;
};

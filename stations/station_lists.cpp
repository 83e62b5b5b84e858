#include "station_lists.h"

#include "error_report.h"
#include "main_window_link.h"
#include "memory_store.h"
#include "stations_window.h"
#include "window_menu.h"

#include <QAction>
#include <QDir>
#include <QFutureWatcher>
#include <QMenu>
#include <QtConcurrent>

using namespace Qt::Literals::StringLiterals;

TStationLists::TStationLists(TMainWindowLink &mainWindow, const QString &programDirectory, const QString &folder)
    : QObject(&mainWindow.Window())
    , ShowAction(new QAction(u"Stations\u2026"_s, &mainWindow.Window()))
    , mainWindow(mainWindow)
    , store(folder)
    , memoryFilePath(TMemoryFile::ForProgramIn(programDirectory).Path())
{
    ShowAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    mainWindow.Menu().Add(TMenuSection::Stations, ShowAction);
    mainWindow.Window().addAction(ShowAction);
    connect(ShowAction, &QAction::triggered, this, [this] {
        RunGuarded([this] {
            TStationsWindow &shown = Window();
            shown.show();
            shown.raise();
            shown.activateWindow();
        });
    });
    // A start without lists reads nothing.
    if (QDir(folder).isEmpty(QDir::Files))
        return;
    auto *reading = new QFutureWatcher<QList<TStation>>(this);
    connect(reading, &QFutureWatcher<QList<TStation>>::finished, this, [this, reading] {
        reading->deleteLater();
        if (!readByWindow)
            RunGuarded([&] { SetDialStations(reading->result()); });
    });
    reading->setFuture(QtConcurrent::run([store = store] {
        QList<TStation> all;
        for (TStationStore::TList &list : store.Lists())
            all.append(std::move(list.read.stations));
        return all;
    }));
}

QStringList TStationLists::OnAirNear(std::int32_t hertz) const
{
    return dial.IsEmpty() ? QStringList() : dial.OnAirNear(hertz, Now());
}

void TStationLists::SetDialStations(const QList<TStation> &stations)
{
    dial.SetStations(stations);
    if (OnDialChanged)
        OnDialChanged();
}

TStationsWindow &TStationLists::Window()
{
    if (!window)
    {
        window = new TStationsWindow(mainWindow, store, memoryFilePath);
        window->OnListsRead = [this](const QList<TStation> &stations) {
            readByWindow = true;
            SetDialStations(stations);
        };
    }
    return *window;
}

#include "station_lists.h"

#include "error_report.h"
#include "memory_store.h"
#include "main_window_link.h"
#include "stations_window.h"
#include "window_menu.h"

#include <QAction>
#include <QMenu>

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
}

TStationsWindow &TStationLists::Window()
{
    if (!window)
        window = new TStationsWindow(mainWindow, store, memoryFilePath);
    return *window;
}

#include "station_lists.h"

#include "error_report.h"
#include "memory_store.h"
#include "stations_window.h"
#include "tstSDR.h"
#include "window_menu.h"

#include <QAction>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

TStationLists::TStationLists(TForm1 &form, TWindowMenu &menu, TMemoryStoring &storing, const QString &programDirectory,
                             const QString &folder)
    : QObject(&form)
    , ShowAction(new QAction(u"Stations\u2026"_s, &form))
    , form(form)
    , storing(storing)
    , store(folder)
    , memoryFilePath(TMemoryFile::ForProgramIn(programDirectory).Path())
{
    ShowAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    menu.Add(TMenuSection::Stations, ShowAction);
    form.addAction(ShowAction);
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
        window = new TStationsWindow(form, storing, store, memoryFilePath);
    return *window;
}

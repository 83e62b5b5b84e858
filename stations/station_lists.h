#pragma once

#include "station_store.h"

#include <QObject>
#include <QPointer>

class QAction;
class TMainWindowLink;
class TStationsWindow;

// "Stations…" in the main window's menu and by Ctrl+L: the stations window, made the first time
// it is asked for, so that a start without it pays nothing for it.
class TStationLists : public QObject
{
public:
    // Lists are kept in `folder`; the memories exported and imported are those of the program in
    // `programDirectory`.
    TStationLists(TMainWindowLink &mainWindow, const QString &programDirectory, const QString &folder);

    QAction *ShowAction;
    // The window, made when first needed.
    TStationsWindow &Window();

private:
    TMainWindowLink &mainWindow;
    TStationStore store;
    QString memoryFilePath;
    QPointer<TStationsWindow> window;
};

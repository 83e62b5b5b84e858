#pragma once

#include "dial_stations.h"
#include "station_store.h"

#include <QObject>
#include <QPointer>

#include <functional>

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
    // What is on the air within TDialStations::Span of `hertz` now, nearest first; nothing until
    // the kept lists are read, on a thread of their own at start where there are any.
    QStringList OnAirNear(std::int32_t hertz) const;
    // The stations at the dial changed: read at start, imported, reloaded or removed.
    std::function<void()> OnDialChanged;
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTimeUtc(); };

private:
    TMainWindowLink &mainWindow;
    TStationStore store;
    QString memoryFilePath;
    QPointer<TStationsWindow> window;
    TDialStations dial;
    bool readByWindow = false; // newer than what the start reads
    void SetDialStations(const QList<TStation> &stations);
};

#pragma once

#include "station_reader.h"

#include <QList>
#include <QString>

// "9,876": counts are written the same whatever the user's locale.
QString Grouped(qsizetype count);
// "1 station", "9,876 stations": a count for people, with its noun.
QString Counted(qsizetype count, const QString &noun);

// The imported station lists, kept as copies of their files in a folder of the user's data, so
// that they are there at the next start and can be read again or removed. The memory file is
// never touched here.
class TStationStore
{
public:
    explicit TStationStore(QString folder);
    // "stations" in the user's data folder for this program (AppDataLocation).
    static QString DefaultFolder();

    const QString &Folder() const { return folder; }

    struct TList
    {
        QString name; // the imported file's name
        TStationRead read;
    };

    // Reads the file and, when it is a station list, keeps a copy under its name (replacing a
    // list of that name). The one line says what was done, or why nothing was.
    TStationRead Import(const QString &path, QString &summary);
    // Every kept list, read afresh, in name order.
    QList<TList> Lists() const;
    TStationRead Reload(const QString &name) const;
    // False when no list of that name is kept, or it cannot be removed.
    bool Remove(const QString &name);

    // "Imported 9,876 stations from sked-b25.csv (EiBi schedule), 12 of them outside the receiver's
    // 50 kHz to 70 MHz; 2 lines skipped: line 40: no frequency; line 41: no frequency" ("1 station",
    // "1 line"; nothing of the range where every station lies in it)
    static QString Summary(const QString &name, const TStationRead &read);

private:
    QString PathOf(const QString &name) const;

    QString folder;
};

#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One station of an imported list, in true hertz, with what its source tells of it.
struct TStation
{
    qint64 frequency = 0; // hertz
    QString name;
    QString list;  // the group, list or tag it is filed under, where the source has one
    QString mode;  // as the source names it: "AM", "USB", "NFM" ...
    int startUtc = -1; // minutes after midnight UTC; -1 where unknown
    int stopUtc = -1;  // 1440 for "2400"
    QString days;      // as given: "" (daily), "Mo-Fr", "Sa,Su", "1245", "irr"
    QString language;
    QString target;
    QString notes;

    bool HasTimes() const { return startUtc >= 0 && stopUtc >= 0; }
    bool operator==(const TStation &) const = default;
};

// Minutes after midnight as "HHMM" ("2400" for 1440); empty where unknown.
QString Hhmm(int minutes);

// Whether a station with times and days is on the air at `utc`. Days name the day a
// transmission starts, so one that crosses midnight is on the air after midnight on the day
// after a listed day. "irr" (irregular) counts as on the air during its hours. A station
// without times is never on the air by this rule.
bool OnAirAt(const TStation &station, const QDateTime &utc);

#include "station.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// 1 January 2024 was a Monday: day 1 is Monday, day 7 Sunday.
QDateTime Utc(int day, int hour, int minute)
{
    return QDateTime(QDate(2024, 1, day), QTime(hour, minute), QTimeZone::utc());
}

} // namespace

// Each row: start and stop (minutes, -1 unknown), days, the moment, and whether the station is on.
TEST(OnAirTest, FollowsTimesDaysAndMidnight)
{
    const struct
    {
        int start, stop;
        QString days;
        QDateTime at;
        bool on;
    } cases[] = {
        {1380, 60, u"Mo"_s, Utc(1, 23, 30), true},
        {1380, 60, u"Mo"_s, Utc(2, 0, 59), true},
        {1380, 60, u"Mo"_s, Utc(2, 1, 0), false},
        {1380, 60, u"Mo"_s, Utc(1, 0, 30), false},
        {1380, 60, u"Mo"_s, Utc(2, 23, 30), false},
        {1380, 60, u"Mo-Fr"_s, Utc(6, 0, 30), true},
        {1380, 60, u"Su"_s, Utc(8, 0, 30), true},
        {1380, 60, u"Su"_s, Utc(7, 0, 30), false},
        {1380, 60, u"Mo-Fr"_s, Utc(1, 0, 30), false},
        {360, 420, u"Mo-Fr"_s, Utc(5, 6, 59), true},
        {360, 420, u"Mo-Fr"_s, Utc(1, 6, 0), true},
        {360, 420, u"Mo-Fr"_s, Utc(1, 7, 0), false},
        {360, 420, u"Mo-Fr"_s, Utc(6, 6, 30), false},
        {720, 780, u"Sa,Su"_s, Utc(7, 12, 10), true},
        {720, 780, u"Sa,Su"_s, Utc(5, 12, 10), false},
        {480, 540, u"1245"_s, Utc(4, 8, 0), true},
        {480, 540, u"1245"_s, Utc(3, 8, 0), false},
        {480, 540, u"1245"_s, Utc(7, 8, 0), false},
        {810, 840, u"234 6"_s, Utc(6, 13, 35), true},
        {810, 840, u"234 6"_s, Utc(5, 13, 35), false},
        {600, 660, u"Sa-Mo"_s, Utc(7, 10, 0), true},
        {600, 660, u"Sa-Mo"_s, Utc(1, 10, 0), true},
        {600, 660, u"Sa-Mo"_s, Utc(2, 10, 0), false},
        {600, 660, u"Tu,Th-Fr"_s, Utc(5, 10, 0), true},
        {600, 660, u"Tu,Th-Fr"_s, Utc(3, 10, 0), false},
        {1080, 1140, u"irr"_s, Utc(3, 18, 30), true},
        {1080, 1140, u"irr"_s, Utc(3, 19, 30), false},
        {0, 1440, {}, Utc(4, 23, 59), true},
        {300, 300, u"Tu"_s, Utc(2, 3, 0), true},
        {300, 300, u"Tu"_s, Utc(3, 3, 0), false},
        {-1, -1, {}, Utc(2, 3, 0), false},
        {0, 1440, u"alt"_s, Utc(2, 3, 0), false},
        {0, 1440, u"Mo-"_s, Utc(1, 3, 0), false},
        {1380, 1440, u"Su"_s, QDateTime(QDate(2024, 1, 8), QTime(1, 30), QTimeZone(2 * 3600)), true},
    };
    for (const auto &c : cases) {
        TStation station;
        station.frequency = 6'070'000;
        station.startUtc = c.start;
        station.stopUtc = c.stop;
        station.days = c.days;
        EXPECT_EQ(OnAirAt(station, c.at), c.on)
            << c.start << '-' << c.stop << ' ' << c.days.toStdString() << " at "
            << c.at.toString(Qt::ISODate).toStdString();
    }
}

#include "station_table.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList Shown(const TStationTable &table)
{
    QStringList names;
    for (int row = 0; row < table.rowCount(); ++row)
        names << table.StationAt(row).name;
    return names;
}

} // namespace

// Each row: hertz and the table's text for it, commas between groups of three kHz digits only.
TEST(StationTableTest, FrequencyTextGroupsTheKilohertz)
{
    const struct
    {
        qint64 hertz;
        QString text;
    } cases[] = {
        {999, u"0.999"_s},          {16'300, u"16.300"_s},         {500'000, u"500.000"_s},
        {7'074'000, u"7,074.000"_s}, {100'000'000, u"100,000.000"_s}, {1'845'000'000, u"1,845,000.000"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TStationTable::FrequencyText(c.hertz), c.text) << c.hertz;
}

// Only what the receiver tunes is shown until the user asks for the rest, and the count of what is
// hidden follows the other filters; a search matches whatever its case.
TEST(StationTableTest, HidesWhatLiesBeyondTheReceiverUntilAsked)
{
    QList<TStation> stations;
    for (const auto &[hertz, name] : {std::pair(9'410'000, u"BBC World Service"_s), std::pair(49'999, u"Below"_s),
                                      std::pair(50'000, u"Lowest"_s), std::pair(70'000'000, u"Highest"_s),
                                      std::pair(70'000'001, u"Above"_s), std::pair(1'691'000'000, u"Meteosat"_s)}) {
        TStation station;
        station.frequency = hertz;
        station.name = name;
        stations << station;
    }
    TStationTable table;
    table.SetStations(TStationTable::Index(stations));
    EXPECT_EQ(Shown(table), (QStringList{u"Lowest"_s, u"BBC World Service"_s, u"Highest"_s}));
    EXPECT_EQ(table.HiddenBeyondRange(), 3);

    table.SetSearch(u"BBC"_s);
    EXPECT_EQ(Shown(table), QStringList{u"BBC World Service"_s});
    EXPECT_EQ(table.HiddenBeyondRange(), 0);
    table.SetSearch(u"METEO"_s);
    EXPECT_EQ(Shown(table), QStringList());
    EXPECT_EQ(table.HiddenBeyondRange(), 1);

    table.SetBeyondRangeShown(true);
    EXPECT_EQ(Shown(table), QStringList{u"Meteosat"_s});
    EXPECT_EQ(table.HiddenBeyondRange(), 0);
    table.SetSearch({});
    EXPECT_EQ(table.rowCount(), 6);
}

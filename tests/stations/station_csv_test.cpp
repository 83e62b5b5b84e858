#include "station_printers.h"
#include "station_reader.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(StationCsvTest, WritesRfc4180QuotingOnlyWhereNeeded)
{
    TStation plain;
    plain.frequency = 6'070'000;
    plain.name = u"CFRX"_s;
    plain.startUtc = 0;
    plain.stopUtc = 1440;
    plain.days = u"Sa,Su"_s;
    TStation awkward;
    awkward.frequency = 9'410'000;
    awkward.name = u"BBC \"World\"\nService; 1"_s;
    awkward.list = u"Café"_s;
    awkward.startUtc = 65;
    EXPECT_EQ(StationsCsv({plain, awkward}),
              "frequency_hz,name,list,mode,start_utc,stop_utc,days,language,target,notes\r\n"
              "6070000,CFRX,,,0000,2400,\"Sa,Su\",,,\r\n"
              "9410000,\"BBC \"\"World\"\"\nService; 1\",Caf\xc3\xa9,,0105,,,,,\r\n");
}

// Every field of every row carries the awkward text, so each column's quoting is read back.
TEST(StationCsvTest, ReadsItsOwnExportBackUnchanged)
{
    const QString awkward[] = {
        u"a,b"_s, u"\"quoted\""_s, u"\""_s, u"\"\""_s, u"line\nbreak"_s, u"cr\ronly"_s, u"crlf\r\n"_s,
        u" padded "_s, u" "_s, u"; = #"_s, u"trailing quote\""_s, u"Café ☕ 日本"_s, u"tab\there"_s, u"',"_s,
        u"\uFEFFmark first"_s,
    };
    QList<TStation> stations;
    for (const QString &text : awkward) {
        const int index = static_cast<int>(stations.size());
        TStation station;
        station.frequency = 6'000'000 + 5'000 * index;
        station.name = station.list = station.mode = station.days = text;
        station.language = station.target = station.notes = text;
        station.startUtc = index * 97 % 1440;
        station.stopUtc = index * 211 % 1441;
        stations.append(station);
    }
    TStation bare;
    bare.frequency = 1'000'000'000'000;
    stations.append(bare);
    const TStationRead read = ReadStations(StationsCsv(stations));
    EXPECT_EQ(read.error, QString());
    EXPECT_EQ(read.format, TStationFormat::StationCsv);
    EXPECT_EQ(read.skipped, 0);
    EXPECT_EQ(read.stations, stations);
}

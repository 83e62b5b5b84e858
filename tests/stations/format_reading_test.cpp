#include "station_printers.h"
#include "station_reader.h"
#include "windows_1252.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

TStation Station(qint64 hertz, const QString &name, const QString &list, const QString &mode, const QString &notes)
{
    TStation station;
    station.frequency = hertz;
    station.name = name;
    station.list = list;
    station.mode = mode;
    station.notes = notes;
    return station;
}

TStation Scheduled(TStation station, int start, int stop, const QString &days, const QString &language,
                   const QString &target)
{
    station.startUtc = start;
    station.stopUtc = stop;
    station.days = days;
    station.language = language;
    station.target = target;
    return station;
}

struct TSample
{
    const char *label;
    QByteArray content;
    TStationFormat format;
    QList<TStation> stations;
    QStringList firstSkipped;
};

void PrintTo(const TSample &sample, std::ostream *out)
{
    *out << sample.label;
}

class FormatReading : public testing::TestWithParam<TSample>
{
};

// Each list as its program writes it, with an awkward name and lines that cannot be read.
const TSample Samples[] = {
    {"gqrx",
     "# Tag name          ;  color\n"
     "Untagged            ; #c0c0c0\n"
     "Broadcast           ; #ff8000\n"
     "Marine              ; #00a0ff\n"
     "\n"
     "# Frequency ; Name                     ; Modulation          ;  Bandwidth; Tags\n"
     "      6000000; Radio \"Hash\" #1, Havana  ; AM                  ;      10000; Broadcast\n"
     "      2182000; Distress                 ; USB                 ;       2800; Marine,Broadcast\n"
     "   notanumber; Broken                   ; AM                  ;      10000; Untagged\n"
     "      4625000; The Buzzer               ; USB                 ;       2800\n"
     "      5000000; WWV                      ; AM                  ;          0; \n",
     TStationFormat::Gqrx,
     {Station(6'000'000, u"Radio \"Hash\" #1, Havana"_s, u"Broadcast"_s, u"AM"_s, u"Bandwidth: 10000 Hz"_s),
      Station(2'182'000, u"Distress"_s, u"Marine"_s, u"USB"_s, u"Bandwidth: 2800 Hz; Tags: Marine, Broadcast"_s),
      Station(5'000'000, u"WWV"_s, {}, u"AM"_s, {})},
     {u"line 9: invalid frequency \"notanumber\""_s, u"line 10: 5 fields expected, found 4"_s}},
    {"SdrPlusPlus",
     "{\n"
     "    \"bookmarkDisplayMode\": 1,\n"
     "    \"lists\": {\n"
     "        \"Broadcast\": {\n"
     "            \"bookmarks\": {\n"
     "                \"BBC; \\\"World\\\"\\nService\": {\"bandwidth\": 10000.0, \"frequency\": 9410000.0, \"mode\": 2},\n"
     "                \"No frequency\": {\"bandwidth\": 10000.0, \"mode\": 2}\n"
     "            },\n"
     "            \"showOnWaterfall\": true\n"
     "        },\n"
     "        \"Utility\": {\n"
     "            \"bookmarks\": {\n"
     "                \"Volmet\": {\"bandwidth\": 2800.0, \"frequency\": 5505000.0, \"mode\": 4},\n"
     "                \"Odd mode\": {\"frequency\": 7000000.4, \"mode\": 9}\n"
     "            },\n"
     "            \"showOnWaterfall\": false\n"
     "        }\n"
     "    },\n"
     "    \"selectedList\": \"Broadcast\"\n"
     "}\n",
     TStationFormat::SdrPlusPlus,
     {Station(9'410'000, u"BBC; \"World\"\nService"_s, u"Broadcast"_s, u"AM"_s, u"Bandwidth: 10000 Hz"_s),
      Station(7'000'000, u"Odd mode"_s, u"Utility"_s, {}, {}),
      Station(5'505'000, u"Volmet"_s, u"Utility"_s, u"USB"_s, u"Bandwidth: 2800 Hz"_s)},
     {u"line 7: no frequency"_s}},
    {"SdrPlusPlusExport",
     "{\"bookmarks\": {\"Radio\": {\"bandwidth\": 8000, \"frequency\": 6070000, \"mode\": 2},\n"
     "               \"Tab\\u0000le\": {\"frequency\": 6000000}, \"Text\": {\"frequency\": \"6070000\", \"mode\": 2}}}",
     TStationFormat::SdrPlusPlus,
     {Station(6'070'000, u"Radio"_s, {}, u"AM"_s, u"Bandwidth: 8000 Hz"_s), Station(6'000'000, u"Table"_s, {}, {}, {})},
     {u"line 2: invalid frequency"_s}},
    {"CHIRP",
     "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,"
     "Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
     "0,\"Net; \"\"Calling\"\"\nCh\",146.520000,,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,50W,"
     "\"Simplex, national\",,,,\n"
     "1,Marine 16,156.800000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,25.00,,50W,,,,,\n"
     "2,Bad,,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,50W,,,,,\n"
     "3,Short,7.074000,,0.000000\n"
     "4,LF beacon,0.136000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,CW,5.00,,50W,,,,,\n",
     TStationFormat::Chirp,
     {Station(146'520'000, u"Net; \"Calling\"\nCh"_s, {}, u"FM"_s, u"Simplex, national"_s),
      Station(156'800'000, u"Marine 16"_s, {}, u"NFM"_s, {}), Station(136'000, u"LF beacon"_s, {}, u"CW"_s, {})},
     {u"line 5: no frequency"_s, u"line 6: 5 fields where the header has 21"_s}},
    {"SdrSharp",
     "<?xml version=\"1.0\"?>\n"
     "<ArrayOfMemoryEntry xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
     "  <MemoryEntry>\n"
     "    <IsFavourite>true</IsFavourite>\n"
     "    <Name>FT8; \"40 m\"\nband</Name>\n"
     "    <GroupName>Digital</GroupName>\n"
     "    <Frequency>7074000</Frequency>\n"
     "    <DetectorType>USB</DetectorType>\n"
     "    <Shift>0</Shift>\n"
     "    <FilterBandwidth>2400</FilterBandwidth>\n"
     "  </MemoryEntry>\n"
     "  <MemoryEntry>\n"
     "    <Name>Empty</Name><Frequency>0</Frequency><DetectorType>AM</DetectorType>\n"
     "  </MemoryEntry>\n"
     "  <MemoryEntry>\n"
     "    <IsFavourite>false</IsFavourite><Name>Converter</Name><GroupName>Misc</GroupName>\n"
     "    <Frequency>137100000</Frequency><DetectorType>NFM</DetectorType>\n"
     "    <Shift>-100000000</Shift><FilterBandwidth>32000</FilterBandwidth>\n"
     "  </MemoryEntry>\n"
     "</ArrayOfMemoryEntry>\n",
     TStationFormat::SdrSharp,
     {Station(7'074'000, u"FT8; \"40 m\"\nband"_s, u"Digital"_s, u"USB"_s, u"Favourite; Bandwidth: 2400 Hz"_s),
      Station(137'100'000, u"Converter"_s, u"Misc"_s, u"NFM"_s, u"Bandwidth: 32000 Hz; Shift: -100000000 Hz"_s)},
     {u"line 13: frequency not above zero"_s}},
    {"EiBi",
     "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;Remarks:135;P:35;Start:60;Stop:60;\r\n"
     "153;0000-2400;;ROU;R Antena Satelor;R;Eu;;1;;\r\n"
     "4999.5;2300-0100;Mo-Fr;B;R Caf\xe9 \"Le #1\", Rio;P;SAm;\x93" "DRM\x94;;0301;1031\r\n"
     "abc;0000-0100;;D;Bad;G;Eu;;;;\r\n"
     "6070;0400-0500;1245;CAN;CFRX;E;NAm\r\n"
     "9420;2500-0100;irr;GRC;ERT;Gr;Eu;;;;\r\n"
     "17635;1330-1400; 234 6;USA;Adventist World Radio ;T;SEA;/CLN-t;6;2503;3006;\r\n"
     "7325;0000-0100;;G;Extra;E;Eu;;1;;;x\r\n",
     TStationFormat::Eibi,
     {Scheduled(Station(153'000, u"R Antena Satelor"_s, u"EiBi"_s, {}, u"ITU: ROU; P: 1"_s), 0, 1440, {}, u"R"_s,
                u"Eu"_s),
      Scheduled(Station(4'999'500, u"R Café \"Le #1\", Rio"_s, u"EiBi"_s, {},
                        u"“DRM”; ITU: B; Start: 0301; Stop: 1031"_s),
                1380, 60, u"Mo-Fr"_s, u"P"_s, u"SAm"_s),
      Scheduled(Station(9'420'000, u"ERT"_s, u"EiBi"_s, {}, u"ITU: GRC"_s), -1, -1, u"irr"_s, u"Gr"_s, u"Eu"_s),
      Scheduled(Station(17'635'000, u"Adventist World Radio"_s, u"EiBi"_s, {},
                        u"/CLN-t; ITU: USA; P: 6; Start: 2503; Stop: 3006"_s),
                810, 840, u"234 6"_s, u"T"_s, u"SEA"_s)},
     {u"line 4: invalid frequency \"abc\""_s, u"line 5: 7 fields where the header has 11"_s,
      u"line 8: 12 fields where the header has 11"_s}},
    {"StationCsv",
     "frequency_hz,name,list,mode,start_utc,stop_utc,days,language,target,notes\r\n"
     "9410000,\"BBC; \"\"World\"\"\r\nService\",Broadcast,AM,0600,2400,Mo-Fr,E,Eu,\r\n"
     "-5,Negative,,,,,,,,\r\n"
     "7074000, FT8 ,,USB,,,,,,Bandwidth: 2400 Hz\r\n"
     "1,2,3\r\n",
     TStationFormat::StationCsv,
     {Scheduled(Station(9'410'000, u"BBC; \"World\"\r\nService"_s, u"Broadcast"_s, u"AM"_s, {}), 360, 1440,
                u"Mo-Fr"_s, u"E"_s, u"Eu"_s),
      Station(7'074'000, u" FT8 "_s, {}, u"USB"_s, u"Bandwidth: 2400 Hz"_s)},
     {u"line 4: frequency not above zero"_s, u"line 6: 3 fields where the header has 10"_s}},
};

} // namespace

TEST_P(FormatReading, ReadsTheStationsAndNamesTheLinesSkipped)
{
    const TSample &sample = GetParam();
    const TStationRead read = ReadStations(sample.content);
    EXPECT_EQ(read.error, QString());
    EXPECT_EQ(read.format, sample.format);
    EXPECT_EQ(read.stations, sample.stations);
    EXPECT_EQ(read.skipped, sample.firstSkipped.size());
    EXPECT_EQ(read.firstSkipped, sample.firstSkipped);
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatReading, testing::ValuesIn(Samples),
                         [](const auto &info) { return std::string(info.param.label); });

TEST(Windows1252Test, TableMatchesQtsCodec)
{
    QStringDecoder codec("windows-1252");
    if (!codec.isValid())
        GTEST_SKIP() << "Qt built without ICU has no Windows-1252 codec to compare with";
    QByteArray everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    EXPECT_EQ(FromWindows1252ByTable(everyByte), QString(codec.decode(everyByte)));
}

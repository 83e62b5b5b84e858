#include "published_lists.h"
#include "station_printers.h"
#include "station_reader.h"
#include "station_store.h"

#include <QDirIterator>
#include <QFileInfo>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using testing::AllOf;
using testing::Contains;
using testing::Field;

namespace {

// A station as its file gives it, worked out from the file's own text.
struct TSeen
{
    TSeen(qint64 hertz, QString name, QString list, QString mode, int start = -1, int stop = -1, QString days = {})
        : hertz(hertz), name(std::move(name)), list(std::move(list)), mode(std::move(mode)), start(start), stop(stop),
          days(std::move(days))
    {
    }
    qint64 hertz;
    QString name;
    QString list;
    QString mode;
    int start;
    int stop;
    QString days;
};

auto Is(const TSeen &seen)
{
    return AllOf(Field(&TStation::frequency, seen.hertz), Field(&TStation::name, seen.name),
                 Field(&TStation::list, seen.list), Field(&TStation::mode, seen.mode),
                 Field(&TStation::startUtc, seen.start), Field(&TStation::stopUtc, seen.stop),
                 Field(&TStation::days, seen.days));
}

TSeen Eibi(qint64 hertz, const QString &name, int start, int stop, const QString &days)
{
    return {hertz, name, u"EiBi"_s, {}, start, stop, days};
}

struct TPublished
{
    const char *file; // under the published lists' folder
    TStationFormat format;
    int stations;
    int skipped;
    int outside; // beyond 50 kHz to 70 MHz
    QList<TSeen> seen;
};

const TPublished Published[] = {
    {"gqrx/tlhunter--gqrx-bookmarks--bookmarks.csv", TStationFormat::Gqrx, 1046, 0, 997,
     {{24'930'000, u"12m SSB Calling"_s, u"AmateurRadio"_s, u"USB"_s},
      {1'845'000'000, u"NTTR ACTS Downlink Red"_s, u"Military"_s, u"Digital"_s}}},
    {"gqrx/larsks--radio-configs--bookmarks.csv", TStationFormat::Gqrx, 541, 0, 511,
     {{939'912'500, u"Site 004 Medford Industrial Communications and Electronics (DMR)"_s, u"trs"_s,
       u"Narrow FM"_s}}},
    {"gqrx/lajaquer--Radio_Pirata--bookmarks.csv", TStationFormat::Gqrx, 333, 0, 318,
     {{156'186'600, u"doña Irene"_s, u"Untagged"_s, u"Narrow FM"_s}}},
    {"gqrx/sp5idc--gqrx-bookmarks-pl--bookmarks.csv", TStationFormat::Gqrx, 249, 0, 249,
     {{148'762'500, u"B09 Płońsk"_s, u"SP"_s, u"Narrow FM"_s}, {168'525'000, {}, u"Pogotowie"_s, u"Narrow FM"_s}}},
    {"gqrx/0k00l--SDR_shit--bookmarks.csv", TStationFormat::Gqrx, 135, 1, 95,
     {{26'960'000, u"CB1"_s, u"CB"_s, u"AM"_s}}},
    {"sdrpp/lum1pyry12122017--sdr--frequencies_sdr++.xml", TStationFormat::SdrPlusPlus, 121, 0, 46,
     {{21'150'000, u"15m beacons exclusively"_s, u"15m ham band"_s, u"USB"_s},
      {802'300'000, u"Häiriö"_s, u"800MHz"_s, u"WFM"_s}}},
    {"sdrpp/sean78253--oneoffs--frequency_manager_config.json", TStationFormat::SdrPlusPlus, 143, 0, 143,
     {{161'595'000, u"RR-Ch-99"_s, u"General"_s, u"NFM"_s}}},
    {"sdrpp/TuxedoHam--sdrpp--frequency_manager_config.json", TStationFormat::SdrPlusPlus, 30, 0, 30,
     {{104'700'000, u"Triple M Adelaide"_s, u"FM Broadcast"_s, u"WFM"_s}}},
    {"sdrpp/dennis9819--sdrpp_frequencies--bookmarks_cb.json", TStationFormat::SdrPlusPlus, 80, 0, 0,
     {{26'000'000, u"CB1"_s, {}, u"NFM"_s}, {27'405'000, u"CB40"_s, {}, u"NFM"_s}}},
    {"sdrsharp/DallasEpperson--FrequencyList--frequencies.xml", TStationFormat::SdrSharp, 976, 0, 721,
     {{560'000, u"WVOC"_s, u"Broadcast AM"_s, u"AM"_s},
      {868'812'500, u"Bamberg (BAMBRG) (Control)"_s, u"Palmetto 800"_s, u"NFM"_s}}},
    {"sdrsharp/lum1pyry12122017--sdr--Frequencies.xml", TStationFormat::SdrSharp, 178, 0, 80,
     {{802'300'000, u"Häiriö"_s, u"800MHz"_s, u"WFM"_s}}},
    {"sdrsharp/todd-smetana--SDR-Sharp-Frequencies--Frequencies.xml", TStationFormat::SdrSharp, 169, 0, 94,
     {{1'430'000, u"KBRK 1430 AM"_s, u"AM Radio Stations"_s, u"AM"_s}}},
    {"sdrsharp/worldremaker--SDRSharp--frequencies.xml", TStationFormat::SdrSharp, 25, 0, 19,
     {{4'180'941, u"4\u00a0180,941 kHz USB"_s, u"Nadajniki numeryczne"_s, u"USB"_s},
      {121'125'000, u"121,125 MHz AM Służba radarowa przekierowanie"_s, u"Lotnictwo"_s, u"AM"_s}}},
    {"chirp/kk7ds--chirp--tests__images__Generic_CSV.csv", TStationFormat::Chirp, 95, 0, 95,
     {{443'100'000, u"H-TAC1"_s, {}, u"FM"_s}}},
    {"chirp/kk7ds--chirp--stock_configs__PL Calling Frequencies and Simplex.csv", TStationFormat::Chirp, 50, 0, 50,
     {{144'500'000, u"VHF SSTV"_s, {}, u"NFM"_s}, {433'575'000, {}, {}, u"NFM"_s}}},
    {"chirp/kk7ds--chirp--stock_configs__US 60 meter channels (Dial).csv", TStationFormat::Chirp, 5, 0, 0,
     {{5'330'500, u"60m CH1"_s, {}, u"USB"_s}, {5'403'500, u"60m CH5"_s, {}, u"USB"_s}}},
    {"chirp/yahngming--ham--china-repeaters.csv", TStationFormat::Chirp, 105, 0, 105,
     {{439'650'000, u"ANJI"_s, {}, u"FM"_s}}},
    {"chirp/larsks--radio-configs--Baofeng_UV-5R_20190823.csv", TStationFormat::Chirp, 75, 0, 75,
     {{462'562'500, u"FRS1"_s, {}, u"NFM"_s}, {147'345'000, u"K1EME"_s, {}, u"FM"_s}}},
    {"eibi/cdburgess75--SkyWave--sked-b25.csv", TStationFormat::Eibi, 10060, 0, 42,
     {Eibi(16'300, u"VTX1 Indian Navy"_s, 0, 1440, {}), Eibi(873'000, u"Nemzetiségi Rádió"_s, 420, 540, {}),
      Eibi(531'000, u"R.Algiers Int."_s, 1410, 290, {}),
      Eibi(28'320'000, u"VK2WI News Broadcast"_s, 1380, 1440, u"Sa"_s)}},
    {"eibi/RaspSDR--supersdr--eibi.csv", TStationFormat::Eibi, 10288, 0, 40,
     {Eibi(16'300, u"VTX1 Indian Navy"_s, 0, 1440, {}),
      Eibi(28'536'000, u"LU1ZV LRA36 Bulletin"_s, 1380, 1392, u"Fr-Su"_s)}},
    {"eibi/oldscienceguy--PebbleSDR--application__eibi.csv", TStationFormat::Eibi, 10812, 0, 0,
     {Eibi(171'000, u"Medi 1"_s, 0, 60, {}), Eibi(17'635'000, u"Adventist World Radio"_s, 810, 840, u"234 6"_s),
      Eibi(29'090'000, u"Radio Rio Mar"_s, 570, 1320, {})}},
};

} // namespace

// Each published file as its program wrote it: how many stations, how many lines skipped, how
// many the import line says lie beyond the receiver, and a few stations exactly.
TEST(PublishedListsTest, ReadsEachFileAsItsProgramDoes)
{
    SKIP_WITHOUT_PUBLISHED_LISTS();
    for (const TPublished &published : Published) {
        SCOPED_TRACE(published.file);
        const QString path = PublishedListsFolder() + u'/' + QString::fromUtf8(published.file);
        const TStationRead read = ReadStationFile(path);
        ASSERT_EQ(read.error, QString());
        EXPECT_EQ(read.format, published.format);
        EXPECT_EQ(read.stations.size(), published.stations);
        EXPECT_EQ(read.skipped, published.skipped);
        const QString summary = TStationStore::Summary(QFileInfo(path).fileName(), read);
        if (published.outside > 0)
            EXPECT_TRUE(summary.contains(u", %1 of them outside the receiver's 50 kHz to 70 MHz"_s.arg(
                Grouped(published.outside))))
                << summary.toStdString();
        else
            EXPECT_FALSE(summary.contains(u"outside"_s)) << summary.toStdString();
        for (const TSeen &seen : published.seen)
            EXPECT_THAT(read.stations, Contains(Is(seen))) << seen.hertz << " Hz " << seen.name.toStdString();
    }
}

// Whatever else is published there is read too: none of it is refused.
TEST(PublishedListsTest, RefusesNoFileInTheFolder)
{
    SKIP_WITHOUT_PUBLISHED_LISTS();
    int files = 0;
    for (QDirIterator it(PublishedListsFolder(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (QFileInfo(path).suffix() == u"md"_s)
            continue;
        ++files;
        const TStationRead read = ReadStationFile(path);
        EXPECT_EQ(read.error, QString()) << path.toStdString();
        EXPECT_FALSE(read.stations.isEmpty()) << path.toStdString();
    }
    EXPECT_GE(files, static_cast<int>(std::size(Published)));
}

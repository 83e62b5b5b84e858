#include "station_reader.h"

#include "qt_printers.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString UnknownFormat =
    u"Not a station list of a known format (gqrx, SDR++, CHIRP, SDR#, EiBi or this program's CSV)"_s;

} // namespace

// Each row: content, the format told (if any), and the error.
TEST(ListErrorsTest, TellsWhatIsNoStationList)
{
    const struct
    {
        QByteArray content;
        std::optional<TStationFormat> format;
        QString error;
    } cases[] = {
        {"", {}, u"The file is empty"_s},
        {"\xEF\xBB\xBF \r\n\n", {}, u"The file is empty"_s},
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), {}, u"Not a station list: not text"_s},
        {QByteArray("Location,Name,Frequency\n1,\0,7.0\n", 32), {}, u"Not a station list: not text"_s},
        {"[General]\nfrequency=7074000\n", {}, UnknownFormat},
        {"{\"name\": \"x\", \"frequency\": 7074000}", {}, UnknownFormat},
        {"{\"lists\": ", {}, u"Not a station list: damaged JSON (unterminated object at byte 10)"_s},
        {"<html><body/></html>", {}, UnknownFormat},
        {"<ArrayOfMemoryEntry><MemoryEntry>", TStationFormat::SdrSharp,
         u"No station could be read from the SDR# frequency list (line 1: Premature end of document.)"_s},
        {"<Array", {}, u"Not a station list: damaged XML (line 1: Premature end of document.)"_s},
        {"<ArrayOfMemoryEntry/>", TStationFormat::SdrSharp, {}},
        {"\xEF\xBB\xBF{\"lists\": {}}", TStationFormat::SdrPlusPlus, {}},
        {"Location,Name,Frequency,Mode,Comment\r\n", TStationFormat::Chirp, {}},
        {"Location,Name\r\n1,Marine 16\r\n", TStationFormat::Chirp, u"A CHIRP list without a Frequency column"_s},
        {"kHz;Time(UTC);Days;ITU;Station;Lng;Target;Remarks;P;Start;Stop\n", TStationFormat::Eibi, {}},
        {"kHz:75;Time:93;Days:59;ITU:49;Name:201;\n153;0000-2400;;ROU;R Antena Satelor;\n", TStationFormat::Eibi,
         u"Not an EiBi schedule this program reads: its header lacks Time(UTC), Station (expected "
         "kHz;Time(UTC);Days;ITU;Station;Lng;Target;Remarks;P;Start;Stop)"_s},
        {"Untagged ; #c0c0c0\n\n# Frequency ; Name ; Modulation ; Bandwidth ; Tags\n", TStationFormat::Gqrx, {}},
        {"Untagged ; #c0c0c0\n\nFrequency ; Name ; Modulation ; Bandwidth ; Tags\n", {}, UnknownFormat},
        {"frequency_hz,name,list,mode,start_utc,stop_utc,days,language,target,notes\r\n"
         "x,A,,,,,,,,\r\n0,B,,,,,,,,\r\n",
         TStationFormat::StationCsv,
         u"No station could be read from the station CSV (line 2: invalid frequency \"x\")"_s},
    };
    for (const auto &c : cases) {
        const TStationRead read = ReadStations(c.content);
        EXPECT_EQ(read.format, c.format) << c.content.toStdString();
        EXPECT_EQ(read.error, c.error) << c.content.toStdString();
        EXPECT_TRUE(read.stations.isEmpty()) << c.content.toStdString();
    }
}

TEST(ListErrorsTest, RefusesFilesTooLargeOrGoneAndReadsTheRest)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString gone = folder.filePath(u"gone.csv"_s);
    EXPECT_EQ(ReadStationFile(gone).error, u"Cannot read %1: No such file or directory"_s.arg(gone));

    const QString huge = folder.filePath(u"huge.csv"_s);
    QFile sparse(huge);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(MaxStationFileSize + 1));
    sparse.close();
    EXPECT_EQ(ReadStationFile(huge).error,
              u"%1: too large for a station list (67108865 bytes; at most 64 MiB)"_s.arg(huge));

    const QString list = folder.filePath(u"list.csv"_s);
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("frequency_hz,name,list,mode,start_utc,stop_utc,days,language,target,notes\r\n"
               "6070000,CFRX,,,,,,,,\r\n");
    file.close();
    const TStationRead read = ReadStationFile(list);
    EXPECT_EQ(read.error, QString());
    ASSERT_EQ(read.stations.size(), 1);
    EXPECT_EQ(read.stations[0].name, u"CFRX"_s);
}

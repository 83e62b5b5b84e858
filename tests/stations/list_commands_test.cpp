#include "list_commands.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using Kind = TListCommand::TKind;

namespace {

class ListCommandsTest : public testing::Test
{
protected:
    QString Path(const QString &name) const { return folder.filePath(name); }
    static void Write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray Read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int Run(Kind kind, const QString &path, bool yes = false, const QString &programDirectory = {})
    {
        output.clear();
        error.clear();
        return RunListCommand({kind, path, yes}, programDirectory.isEmpty() ? folder.path() : programDirectory,
                              Path(u"stations"_s), output, error);
    }

    QTemporaryDir folder;
    QString output, error;
};

// A memory file as the program keeps it, every entry there, with a comment of the user's and
// texts that CSV must quote.
QByteArray FullMemories()
{
    QByteArray text = "; my memories, kept by hand\r\n";
    for (int bank = 1; bank <= 8; ++bank) {
        const QByteArray n = QByteArray::number(bank);
        text += "[bank" + n + "]\r\nbank_name" + n + "=" + (bank == 1 ? "Ham, \"HF\"" : "BANK " + n) + "\r\n";
        for (int memory = 1; memory <= 15; ++memory) {
            const QByteArray j = QByteArray::number(memory);
            const QByteArray frequency = bank == 1 && memory == 1 ? "7074000" : bank == 2 && memory == 15 ? "6070000" : "";
            const QByteArray tag = bank == 1 && memory == 1 ? "FT8; 40 m" : bank == 2 && memory == 15 ? "CFRX=Toronto" : "MEM " + j;
            text += "mem" + j + "=" + frequency + "\r\nTag_mem" + j + "=" + tag + "\r\n";
        }
    }
    return text;
}
const QByteArray Memories = FullMemories();

} // namespace

// The memories go out and come back unchanged: the memory file stays byte for byte what it was,
// comments included; a changed file is shown what would change, and written only with --yes.
TEST_F(ListCommandsTest, ExportedMemoriesComeBackIntoTheIdenticalFile)
{
    const QString memos = Path(u"memos.ini"_s);
    const QString csv = Path(u"memories.csv"_s);
    Write(memos, Memories);
    ASSERT_EQ(Run(Kind::ExportMemories, csv), 0) << error.toStdString();
    EXPECT_EQ(output, u"Exported 120 memories of %1 to %2\n"_s.arg(memos, csv));
    EXPECT_TRUE(Read(csv).startsWith("bank,bank_name,memory,tag,frequency_hz\r\n"
                                     "1,\"Ham, \"\"HF\"\"\",1,FT8; 40 m,7074000\r\n"
                                     "1,\"Ham, \"\"HF\"\"\",2,MEM 2,\r\n"));
    EXPECT_EQ(Run(Kind::ImportMemories, csv, true), 0);
    EXPECT_EQ(output, u"Nothing to change: %1 holds those memories\n"_s.arg(memos));

    QByteArray edited = Memories;
    edited.replace("Tag_mem15=CFRX=Toronto", "Tag_mem15=other");
    Write(memos, edited);
    EXPECT_EQ(Run(Kind::ImportMemories, csv), 0);
    EXPECT_EQ(output, u"bank 2 memory 15: 6070000 other -> 6070000 CFRX=Toronto\n"
                      "1 change; nothing written (add --yes to write them)\n"_s);
    EXPECT_EQ(Read(memos), edited);
    EXPECT_EQ(Run(Kind::ImportMemories, csv, true), 0);
    EXPECT_EQ(Read(memos), Memories);

    // A file that is not the memories' CSV writes nothing and says why.
    Write(csv, "bank,bank_name,memory,tag,frequency_hz\r\n1,Ham,1,x,7074000\r\n");
    EXPECT_EQ(Run(Kind::ImportMemories, csv, true), 1);
    EXPECT_TRUE(error.startsWith(u"corvex: "_s + csv + u": "_s)) << error.toStdString();
    EXPECT_EQ(Read(memos), Memories);
}

// Stations are imported from a script with one line, kept, and exported as CSV; a file that
// cannot be read is one line on standard error and exit status 1.
TEST_F(ListCommandsTest, StationsImportAndExportWithOneLineEach)
{
    const QString list = Path(u"sked-b25.csv"_s);
    Write(list, "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;Remarks:135;P:35;Start:60;Stop:60;\n"
                "16.3;0000-2400;;IND;VTX1 Indian Navy;;SAs;v;1;;\n"
                "6070;0000-2400;;CAN;CFRX Toronto;E;ENA;;1;;\n"
                "abc;0000-2400;;CAN;broken;E;ENA;;1;;\n");
    ASSERT_EQ(Run(Kind::ImportStations, list), 0) << error.toStdString();
    EXPECT_EQ(output, u"Imported 2 stations from sked-b25.csv (EiBi schedule), 1 of them outside the receiver's 50 kHz "
                      "to 70 MHz; 1 line skipped: line 4: invalid frequency \"abc\"\n"_s);
    const QString csv = Path(u"all.csv"_s);
    ASSERT_EQ(Run(Kind::ExportStations, csv), 0);
    EXPECT_EQ(output, u"Exported 2 stations to %1\n"_s.arg(csv));
    EXPECT_TRUE(Read(csv).startsWith("frequency_hz,name,list,mode,start_utc,stop_utc,days,language,target,notes\r\n"
                                     "16300,VTX1 Indian Navy,EiBi,,0000,2400,,,SAs,v; ITU: IND; P: 1\r\n"
                                     "6070000,CFRX Toronto,EiBi,"));

    EXPECT_EQ(Run(Kind::ImportStations, Path(u"gone.csv"_s)), 1);
    EXPECT_TRUE(output.isEmpty());
    EXPECT_TRUE(error.startsWith(u"corvex: Cannot read "_s)) << error.toStdString();
    EXPECT_EQ(error.count(u'\n'), 1);
}

// A memory file that holds no memories is not exported as 120 empty ones: one line says why, the
// exit status is 1 and no file is written.
TEST_F(ListCommandsTest, DamagedMemoriesAreNotExported)
{
    const QString memos = Path(u"memos.ini"_s);
    const QString csv = Path(u"memories.csv"_s);
    for (const QByteArray &damaged : {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), QByteArray("[General]\nx=1\n")}) {
        Write(memos, damaged);
        EXPECT_EQ(Run(Kind::ExportMemories, csv), 1);
        EXPECT_EQ(error, u"corvex: The memory file %1 cannot be read as one\n"_s.arg(memos));
        EXPECT_TRUE(output.isEmpty());
        EXPECT_FALSE(QFile::exists(csv));
        EXPECT_EQ(Read(memos), damaged);
    }
}

// A first import before the window ever ran, for a program installed where it may not write:
// the configuration folder does not exist yet, and is made to hold the new memory file.
TEST_F(ListCommandsTest, AFirstImportMakesTheConfigurationFolder)
{
    const QString csv = Path(u"memories.csv"_s);
    const QString program = Path(u"program"_s);
    ASSERT_TRUE(QDir().mkdir(program));
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", Path(u"never-made/config"_s).toLocal8Bit());
    const QString memos = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(u"memos.ini"_s);
    QByteArray all = "bank,bank_name,memory,tag,frequency_hz\r\n";
    for (int bank = 1; bank <= 8; ++bank)
        for (int memory = 1; memory <= 15; ++memory)
            all += QByteArray::number(bank) + ",BANK " + QByteArray::number(bank) + "," + QByteArray::number(memory) +
                   (bank == 1 && memory == 1 ? ",FT8,7074000\r\n" : ",,\r\n");
    Write(csv, all);
    const int status = Run(Kind::ImportMemories, csv, true, program);
    qputenv("XDG_CONFIG_HOME", previous);
    EXPECT_EQ(status, 0) << error.toStdString();
    EXPECT_TRUE(output.endsWith(u"written to "_s + memos + u'\n')) << output.toStdString();
    EXPECT_TRUE(Read(memos).contains("mem1=7074000\nTag_mem1=FT8\n"));
    EXPECT_FALSE(QFile::exists(QDir(program).filePath(u"memos.ini"_s)));
}

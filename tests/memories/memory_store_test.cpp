#include "ini_document.h"
#include "memory_store.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class MemoryFileTest : public testing::Test
{
protected:
    QTemporaryDir folder;
    QString path = folder.filePath(u"memos.ini"_s);
    TMemoryFile file{path};
};

} // namespace

TEST_F(MemoryFileTest, NewFileHoldsTheDefaultsInOrder)
{
    file.CreateWithDefaults();

    QByteArray expected;
    for (int bank = 1; bank <= 8; ++bank) {
        if (bank > 1)
            expected += "\n";
        expected += "[bank" + QByteArray::number(bank) + "]\n";
        expected += "bank_name" + QByteArray::number(bank) + "=BANK " + QByteArray::number(bank) + "\n";
        for (int memory = 1; memory <= 15; ++memory)
            expected += "mem" + QByteArray::number(memory) + "=\nTag_mem" + QByteArray::number(memory) + "=MEM " +
                        QByteArray::number(memory) + "\n";
    }
    const QByteArray written = ReadBytes(path);
    EXPECT_EQ(written, expected);
    EXPECT_TRUE(written.startsWith("[bank1]\nbank_name1=BANK 1\nmem1=\nTag_mem1=MEM 1\nmem2=\nTag_mem2=MEM 2\n"));
    EXPECT_TRUE(written.endsWith("mem15=\nTag_mem15=MEM 15\n"));
    EXPECT_EQ(written.count('='), 248);

    const TMemoryBanks loaded = file.Load();
    EXPECT_EQ(loaded, TMemoryFile::Defaults());
    EXPECT_EQ(loaded.names[3].str(), u"BANK 3"_s);
    EXPECT_EQ(loaded.memories(8, 7).tag.str(), u"MEM 7"_s);
    EXPECT_TRUE(loaded.memories(5, 15).freq.str().isEmpty());
}

TEST_F(MemoryFileTest, HandWrittenFileWithOneEntry)
{
    WriteBytes(path, "[bank2]\nmem4=7050000\n");
    const TMemoryBanks loaded = file.Load();
    TMemoryBanks expected;
    expected.memories(2, 4).freq = u"7050000"_s;
    EXPECT_EQ(loaded, expected);
}

TEST_F(MemoryFileTest, MissingOrUnreadableFileReadsAsEmptyTexts)
{
    EXPECT_EQ(file.Load(), TMemoryBanks());
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"memos.ini"_s)); // a folder where the file should be
    EXPECT_EQ(file.Load(), TMemoryBanks());
}

// Headers match in any case and with blanks inside the brackets, as hand-written files have them.
TEST_F(MemoryFileTest, KeysCarryTheirNumbersAndMatchInAnyCase)
{
    WriteBytes(path, "[bank5]\nbank_name=no number\n[BANK1]\nBANK_NAME1=Upper\nTAG_MEM1=Shout\n[ Bank3 ]\nMem2=3500000\n");
    const TMemoryBanks loaded = file.Load();
    EXPECT_TRUE(loaded.names[5].str().isEmpty());
    EXPECT_EQ(loaded.names[1].str(), u"Upper"_s);
    EXPECT_EQ(loaded.memories(1, 1).tag.str(), u"Shout"_s);
    EXPECT_EQ(loaded.memories(3, 2).freq.str(), u"3500000"_s);

    // Writing finds the same sections and keys: nothing is added twice.
    TMemoryBanks banks = loaded;
    banks.names[1] = u"Renamed"_s;
    file.Save(banks);
    const QByteArray written = ReadBytes(path);
    EXPECT_TRUE(written.contains("[BANK1]\nBANK_NAME1=Renamed\nTAG_MEM1=Shout\n"));
    EXPECT_EQ(written.count("[bank1]"), 0);
    EXPECT_EQ(written.toLower().count("[bank1]"), 1);
    EXPECT_TRUE(written.contains("[ Bank3 ]\nMem2=3500000\n"));
    EXPECT_EQ(written.toLower().count("bank3"), 1);
    EXPECT_EQ(file.Load(), banks);
}

TEST_F(MemoryFileTest, LongTextsAreCutTo255Characters)
{
    const QString tag(300, u'x');
    WriteBytes(path, "[bank1]\nTag_mem1=" + tag.toUtf8() + "\n");
    TMemoryBanks banks = file.Load();
    EXPECT_EQ(banks.memories(1, 1).tag.str(), QString(255, u'x'));
    file.Save(banks);
    EXPECT_TRUE(ReadBytes(path).contains("Tag_mem1=" + QByteArray(255, 'x') + "\n"));
}

TEST_F(MemoryFileTest, ABlankWhereTheCutFallsIsDroppedSoSavingChangesNothing)
{
    WriteBytes(path, "[bank1]\nTag_mem1=" + QByteArray(254, 'x') + " yyyy\n");
    const TMemoryBanks loaded = file.Load();
    EXPECT_EQ(loaded.memories(1, 1).tag.str(), QString(254, u'x'));
    file.Save(loaded);
    EXPECT_EQ(file.Load(), loaded);
}

TEST(CutTextTest, NeverSplitsACharacter)
{
    EXPECT_EQ(CutText(QString(255, u'a')), QString(255, u'a'));
    // A character outside the basic plane takes two UTF-16 units; 254 'a' and 10 of them make 264.
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    const QString text = QString(254, u'a') + clef.repeated(10);
    EXPECT_EQ(CutText(text), QString(254, u'a') + clef);
    // An accent written as a combining mark stays with its letter.
    const QString accented = u"e\u0301"_s;
    EXPECT_EQ(CutText(accented.repeated(300)), accented.repeated(255));
}

TEST_F(MemoryFileTest, SaveKeepsWhatItDoesNotKnow)
{
    WriteBytes(path,
               "; memories of the station\n"
               "[bank1]\n"
               "bank_name1=Broadcast\n"
               "mem1=6000000\n"
               "; this one fades at night\n"
               "Tag_mem1=Radio\n"
               "colour=blue\n"
               "a line the program cannot read\n"
               "\n"
               "[settings]\n"
               "volume=7\n"
               "; closing remark\n");
    TMemoryBanks banks = file.Load();
    banks.memories(1, 1).freq = u"6005000"_s;
    file.Save(banks);

    const QString written = QString::fromUtf8(ReadBytes(path));
    EXPECT_TRUE(written.startsWith(u"; memories of the station\n"
                                   "[bank1]\n"
                                   "bank_name1=Broadcast\n"
                                   "mem1=6005000\n" // replaced in place
                                   "; this one fades at night\n"
                                   "Tag_mem1=Radio\n"
                                   "colour=blue\n"
                                   "mem2=\n"_s))
        << written.toStdString();
    // New keys follow the last entry of their section, before the lines that close it.
    EXPECT_TRUE(written.contains(u"colour=blue\nmem2=\nTag_mem2=\nmem3=\n"_s));
    EXPECT_TRUE(written.contains(u"mem15=\nTag_mem15=\na line the program cannot read\n\n[settings]\nvolume=7\n; closing remark\n"_s));
    // Missing sections come at the end, in order.
    EXPECT_GT(written.indexOf(u"[bank2]"_s), written.indexOf(u"; closing remark"_s));
    EXPECT_GT(written.indexOf(u"[bank8]"_s), written.indexOf(u"[bank7]"_s));
    EXPECT_EQ(written.count(u'='), 248 + 2);
    EXPECT_EQ(file.Load(), banks);
}

TEST(IniDocumentTest, FirstOfDuplicateSectionsAndKeysIsUsed)
{
    TIniDocument document = TIniDocument::FromBytes("[a]\nk=first\nk=second\n[A]\nk=third\nother=x\n");
    EXPECT_EQ(document.Value(u"a"_s, u"k"_s), u"first"_s);
    EXPECT_TRUE(document.Value(u"a"_s, u"other"_s).isEmpty());
    document.SetValue(u"a"_s, u"k"_s, u"new"_s);
    EXPECT_EQ(document.ToBytes(), "[a]\nk=new\nk=second\n[A]\nk=third\nother=x\n");
}

TEST(IniDocumentTest, BlanksAroundValuesAreDroppedQuotesAndSemicolonsKept)
{
    const TIniDocument document = TIniDocument::FromBytes("[s]\n  key  =  \"quoted\" ; not a comment  \n");
    EXPECT_EQ(document.Value(u"S"_s, u"KEY"_s), u"\"quoted\" ; not a comment"_s);
}

TEST(IniDocumentTest, LineBreaksInAValueCannotBreakTheFile)
{
    TIniDocument document;
    document.SetValue(u"s"_s, u"k"_s, u"two\nlines"_s + QChar(0) + u"and a NUL"_s);
    EXPECT_EQ(document.ToBytes(), "[s]\nk=two lines and a NUL\n");
}

TEST(IniDocumentTest, WindowsLineEndingsStay)
{
    TIniDocument document = TIniDocument::FromBytes("[bank1]\r\nmem1=1\r\n");
    EXPECT_EQ(document.Value(u"bank1"_s, u"mem1"_s), u"1"_s);
    document.SetValue(u"bank1"_s, u"mem2"_s, u"2"_s);
    EXPECT_EQ(document.ToBytes(), "[bank1]\r\nmem1=1\r\nmem2=2\r\n");
}

TEST_F(MemoryFileTest, TextsOfAWindowsCodePageAreReadAndWrittenBackAsUtf8)
{
    WriteBytes(path, "\xEF\xBB\xBF[bank1]\nTag_mem1=Caf\xC3\xA9\n"); // UTF-8 with a byte order mark
    EXPECT_EQ(file.Load().memories(1, 1).tag.str(), u"Café"_s);

    // A byte order mark before text of a Windows code page: the first section is still read.
    WriteBytes(path, "\xEF\xBB\xBF[bank1]\r\nbank_name1=Se\xF1" "ales\r\n");
    EXPECT_EQ(file.Load().names[1].str(), u"Señales"_s);

    WriteBytes(path, "[bank1]\nbank_name1=Se\xF1" "ales\nTag_mem1=\x80 \x93" "FM\x94\n"); // Windows-1252
    TMemoryBanks banks = file.Load();
    EXPECT_EQ(banks.names[1].str(), u"Señales"_s);
    EXPECT_EQ(banks.memories(1, 1).tag.str(), u"€ “FM”"_s);
    file.Save(banks);
    EXPECT_TRUE(ReadBytes(path).startsWith("[bank1]\nbank_name1=Se\xC3\xB1" "ales\n"));
    EXPECT_EQ(file.Load(), banks);
}

TEST_F(MemoryFileTest, ReadOnlyFileIsNeitherWrittenNorReplaced)
{
    WriteBytes(path, "[bank1]\nbank_name1=Old\n");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    TMemoryBanks banks = file.Load();
    banks.names[1] = u"New"_s;
    try {
        file.Save(banks);
        FAIL() << "the save should fail";
    } catch (const EIniFileException &error) {
        EXPECT_EQ(QString::fromUtf8(error.what()), u"Unable to write to "_s + path);
    }
    EXPECT_EQ(ReadBytes(path), "[bank1]\nbank_name1=Old\n");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(MemoryFileTest, ReadOnlyFolderLeavesTheOldFileWhole)
{
    WriteBytes(path, "[bank1]\nbank_name1=Old\n");
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_THROW(file.Save(TMemoryFile::Defaults()), EIniFileException);
    EXPECT_THROW(TMemoryFile(folder.filePath(u"other.ini"_s)).CreateWithDefaults(), EIniFileException);
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ReadBytes(path), "[bank1]\nbank_name1=Old\n");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"memos.ini"_s});
}

TEST(MemoryFileLocation, BesideTheProgramOrInTheUsersConfiguration)
{
    QTemporaryDir program;
    const QString beside = program.filePath(u"memos.ini"_s);
    EXPECT_EQ(TMemoryFile::ForProgramIn(program.path()).Path(), beside);

    // Installed where the user cannot write: the configuration folder, until a file is there.
    QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString configuration = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    EXPECT_EQ(TMemoryFile::ForProgramIn(program.path()).Path(), QDir(configuration).absoluteFilePath(u"memos.ini"_s));
    QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    WriteBytes(beside, "[bank1]\n");
    QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(TMemoryFile::ForProgramIn(program.path()).Path(), beside);
    QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // Installed with the system's programs: the configuration folder, even for root, who may write there.
    for (const QString &installed : {u"/usr/bin"_s, u"/usr/local/bin"_s, u"/bin"_s})
        EXPECT_EQ(TMemoryFile::ForProgramIn(installed).Path(), QDir(configuration).absoluteFilePath(u"memos.ini"_s));
}

// A file that cannot serve as a memory file reads as empty texts and says why; the first save
// over it keeps it whole beside the new file, never over an earlier copy, and the new file holds
// the memories alone. One the user cannot write stays as it is.
TEST_F(MemoryFileTest, DamagedFilesAreKeptBesideTheFirstSave)
{
    const QByteArray randomBytes("\x8f\x00\x13\xfe[bank1]\x02mem1=7\xff", 16);
    const auto readWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    struct Case
    {
        QByteArray bytes;
        QFileDevice::Permissions permissions;
        TFileDamage damage;
    };
    for (const Case &c : {Case{randomBytes, readWrite, TFileDamage::NotText},
                          Case{"", readWrite, TFileDamage::NoMemories},
                          Case{"; memories\n[radio]\nsquelch=3\n", readWrite, TFileDamage::NoMemories},
                          Case{"[bank1]\nbank_name1=Kept\n", QFileDevice::WriteOwner, TFileDamage::Unreadable}}) {
        QTemporaryDir place;
        const TMemoryFile damaged(place.filePath(u"memos.ini"_s));
        const QString kept = damaged.Path() + u".damaged"_s;
        auto damage = [&] {
            WriteBytes(damaged.Path(), c.bytes);
            QFile::setPermissions(damaged.Path(), c.permissions);
        };
        damage();
        EXPECT_EQ(damaged.Read().damage, c.damage) << c.bytes.toStdString();
        EXPECT_EQ(damaged.Read().banks, TMemoryBanks());
        damaged.Save(TMemoryFile::Defaults());
        EXPECT_EQ(ReadBytes(damaged.Path()), TextWithBanks({}, TMemoryFile::Defaults()));
        damage();
        damaged.StoreMemory(3, 4, TMemSlot{u"7074000"_s, u"FT8"_s});
        EXPECT_EQ(ReadBytes(damaged.Path()), "[bank3]\nmem4=7074000\nTag_mem4=FT8\n");
        for (const QString &copy : {kept, kept + u".2"_s}) {
            QFile::setPermissions(copy, readWrite);
            EXPECT_EQ(ReadBytes(copy), c.bytes);
        }
    }
    WriteBytes(path, "[bank1]\nTag_mem1=bell\x07\n"); // other control characters stand in tags
    EXPECT_EQ(file.Read().damage, TFileDamage::None);
    WriteBytes(path, randomBytes);
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    EXPECT_THROW(file.Save(TMemoryFile::Defaults()), EIniFileException);
    QFile::setPermissions(path, readWrite);
    EXPECT_EQ(ReadBytes(path), randomBytes);
    EXPECT_FALSE(QFile::exists(path + u".damaged"_s));
}

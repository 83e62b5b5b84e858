#include "program_rig.h"

#include <QDir>
#include <QDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList Captions(const auto &buttons)
{
    QStringList captions;
    for (TLEDButton *b : buttons)
        captions << b->Caption();
    return captions;
}

QStringList Numbered(const QString &prefix, int count)
{
    QStringList texts;
    for (int i = 1; i <= count; ++i)
        texts << prefix + QString::number(i);
    return texts;
}

// Memory J of bank N holds N MHz + J x 10 kHz, tagged "N.J", written by turns after a plus sign,
// in plain decimal digits and in hexadecimal after a dollar sign; bank N is named "Bank N".
QByteArray EveryMemory()
{
    QByteArray text;
    for (int n = 1; n <= 8; ++n) {
        const QByteArray bank = QByteArray::number(n);
        text += "[bank" + bank + "]\nbank_name" + bank + "=Bank " + bank + "\n";
        for (int j = 1; j <= 15; ++j) {
            const QByteArray memory = QByteArray::number(j);
            const int f = n * 1'000'000 + j * 10'000;
            const QByteArray value = j % 3 == 0 ? "$" + QByteArray::number(f, 16).toUpper()
                                                : (j % 3 == 1 ? "+" : "") + QByteArray::number(f);
            text += "mem" + memory + "=" + value + "\n";
            text += "Tag_mem" + memory + "=" + bank + "." + memory + "\n";
        }
    }
    return text;
}

QString MemoryButton(int j)
{
    return j == 1 ? u"Mem1"_s : u"mem"_s + QString::number(j);
}

QString BankButton(int n)
{
    return n == 3 ? u"Bank3"_s : u"bank"_s + QString::number(n);
}

} // namespace

using MemoryStoreTest = MainWindowRig;
using BanksAndModesTest = MainWindowRig;

TEST_F(MemoryStoreTest, FirstStartCreatesTheFileAndShowsTheDefaults)
{
    Start();
    const TMemoryBanks written = TMemoryFile(MemoryFilePath()).Load();
    EXPECT_EQ(written, TMemoryFile::Defaults());
    EXPECT_TRUE(ReadMemoryFile().startsWith("[bank1]\nbank_name1=BANK 1\nmem1=\nTag_mem1=MEM 1\n"));
    EXPECT_EQ(Captions(Form1().Bank), Numbered(u"BANK "_s, 8));
    EXPECT_EQ(Captions(Form1().Mem), Numbered(u"MEM "_s, 15));
}

TEST_F(MemoryStoreTest, AHandWrittenFileIsReadAsItIsAndNotRewritten)
{
    WriteMemoryFile("[bank2]\nmem4=7050000\n");
    Start();
    EXPECT_EQ(Captions(Form1().Bank), QStringList(8, QString()));
    EXPECT_EQ(Captions(Form1().Mem), QStringList(15, QString()));
    EXPECT_EQ(Form1().memorias(2, 4).freq.str(), u"7050000"_s);
    EXPECT_TRUE(Form1().memorias(1, 4).freq.str().isEmpty());
    EXPECT_EQ(ReadMemoryFile(), "[bank2]\nmem4=7050000\n");

    Click(Form1().M_VFO);
    Click(Form1().Bank[1]);
    Click(Form1().Mem[3]);
    EXPECT_EQ(Form1().frecuencia, 7'050'000);
}

TEST_F(MemoryStoreTest, NamesInOtherCaseAndLongTags)
{
    WriteMemoryFile("[BANK1]\nBANK_NAME1=Upper\nTAG_MEM1=" + QByteArray(300, 't') + "\n[bank5]\nbank_name=x\n");
    Start();
    EXPECT_EQ(Form1().Bank[0]->Caption(), u"Upper"_s);
    EXPECT_EQ(Form1().Mem[0]->Caption(), QString(255, u't'));
    EXPECT_TRUE(Form1().Bank[4]->Caption().isEmpty());
}

TEST_F(MemoryStoreTest, TheFileBesideTheProgramIsFoundFromAnyWorkingDirectory)
{
    WriteMemoryFile("[bank1]\nbank_name1=Beside\n");
    QTemporaryDir elsewhere;
    QFile decoy(elsewhere.filePath(u"memos.ini"_s));
    ASSERT_TRUE(decoy.open(QIODevice::WriteOnly));
    decoy.write("[bank1]\nbank_name1=Decoy\n");
    decoy.close();
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    Start();
    QDir::setCurrent(previous);
    EXPECT_EQ(Form1().Bank[0]->Caption(), u"Beside"_s);
    // And the program's own folder is where the executable lies, not the working directory.
    EXPECT_EQ(TMemoryFile::ForProgramIn(QCoreApplication::applicationDirPath()).Path(),
              QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(u"memos.ini"_s));
}

TEST_F(MemoryStoreTest, AFileThatCannotBeCreatedStopsTheActivation)
{
    // Installed where nobody may write, and no configuration folder to fall back on.
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/dev/null/config");
    const TMemoryFile file = TMemoryFile::ForProgramIn(folder.path());
    program.emplace(port, folder.path());
    port.ClearCalls();
    program->Start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    qputenv("XDG_CONFIG_HOME", previous);
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(errors, QStringList{u"Unable to write to "_s + file.Path()});
    EXPECT_TRUE(file.Path().startsWith(u"/dev/null/config/"_s));
    // Nothing after the failed write ran: no tuning, no captions, nothing sent.
    EXPECT_EQ(Form1().frecuencia, 0);
    EXPECT_EQ(Form1().Mem[0]->Caption(), u"MAAMA"_s);
    EXPECT_EQ(Form1().Bank[0]->Caption(), u"Bank1"_s);
    EXPECT_TRUE(port.Writes().empty());
    EXPECT_FALSE(QFileInfo::exists(MemoryFilePath()));
}

TEST_F(BanksAndModesTest, RightAfterStartTheWindowIsInVfoMode)
{
    Start();
    EXPECT_TRUE(Form1().M_VFO->StateOn());
    EXPECT_EQ(Form1().M_VFO->Caption(), u"MEM"_s);
    EXPECT_TRUE(LitMemoriesAndBanks().isEmpty());
    Click(Form1().Bank[3]);
    Click(Form1().Mem[6]);
    EXPECT_TRUE(LitMemoriesAndBanks().isEmpty());
    EXPECT_EQ(Form1().banco, 1);
    EXPECT_EQ(Form1().memoria, 1);
    EXPECT_TRUE(port.Calls().empty());
}

TEST_F(BanksAndModesTest, MemoryModeAndBackToTheVfo)
{
    WriteMemoryFile("[bank1]\nmem1=7050000\nTag_mem1=40m\n[bank4]\nbank_name4=Four\nmem7=3650000\nTag_mem7=80m\n");
    Start();
    Click(Form1().x1k);
    Click(Form1().UP); // 14,201,000
    Click(Form1().M_VFO);
    EXPECT_TRUE(Form1().modo_memoria);
    EXPECT_EQ(Form1().frecuencia_vfo, 14'201'000);
    EXPECT_EQ(Form1().frecuencia, 7'050'000);
    EXPECT_EQ(SentFrequency(), 7'050'000);
    EXPECT_EQ(LitMemoriesAndBanks(), (QStringList{u"Mem1"_s, u"bank1"_s}));
    EXPECT_FALSE(Form1().M_VFO->StateOn());
    EXPECT_EQ(Form1().M_VFO->Caption(), u"VFO"_s);
    EXPECT_EQ(Form1().Mem[0]->Caption(), u"40m"_s);
    EXPECT_EQ(LitSteps(), QStringList{u"x1k"_s}); // the step light stays on

    Click(Form1().Bank[3]);
    EXPECT_EQ(LitMemoriesAndBanks(), QStringList{u"bank4"_s});
    EXPECT_EQ(Form1().Mem[6]->Caption(), u"80m"_s);
    EXPECT_EQ(Form1().frecuencia, 7'050'000);
    EXPECT_EQ(Form1().memoria, 1);
    Click(Form1().Mem[6]);
    EXPECT_EQ(Form1().frecuencia, 3'650'000);
    EXPECT_EQ(LitMemoriesAndBanks(), (QStringList{u"mem7"_s, u"bank4"_s}));

    // Tuning in memory mode is dropped on the way back.
    Click(Form1().UP);
    EXPECT_EQ(Form1().frecuencia, 3'651'000);
    Click(Form1().M_VFO);
    EXPECT_FALSE(Form1().modo_memoria);
    EXPECT_EQ(Form1().frecuencia, 14'201'000);
    EXPECT_EQ(SentFrequency(), 14'201'000);
    EXPECT_TRUE(LitMemoriesAndBanks().isEmpty());
    EXPECT_TRUE(Form1().M_VFO->StateOn());
    EXPECT_EQ(Form1().M_VFO->Caption(), u"MEM"_s);
    EXPECT_EQ(LitSteps(), QStringList{u"x1k"_s});
    // The bank's tags stay on the memory buttons.
    EXPECT_EQ(Form1().Mem[6]->Caption(), u"80m"_s);

    // Back in memory mode: the bank and memory last chosen.
    Click(Form1().M_VFO);
    EXPECT_EQ(LitMemoriesAndBanks(), (QStringList{u"mem7"_s, u"bank4"_s}));
    EXPECT_EQ(Form1().frecuencia, 3'650'000);
}

TEST_F(BanksAndModesTest, MemoryWithoutAValidFrequencyKeepsTheReceiverWhereItIs)
{
    WriteMemoryFile("[bank1]\nmem1=7.050 MHz\nmem2=\n");
    Start();
    Click(Form1().M_VFO);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_TRUE(port.Writes().empty());
    EXPECT_EQ(LitMemoriesAndBanks(), (QStringList{u"Mem1"_s, u"bank1"_s}));
    Click(Form1().Mem[1]);
    EXPECT_EQ(LitMemoriesAndBanks(), (QStringList{u"mem2"_s, u"bank1"_s}));
    EXPECT_EQ(Form1().memoria, 2);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_TRUE(errors.isEmpty());
}

// Blanks around a value do not survive the memory file, so these are put in the table directly.
TEST_F(BanksAndModesTest, BlanksBeforeAndAfterTheDigits)
{
    Start();
    Form1().memorias(1, 1).freq = u"  7050000"_s;
    Form1().memorias(1, 2).freq = u"7050000 "_s;
    Click(Form1().M_VFO);
    EXPECT_EQ(Form1().frecuencia, 7'050'000);
    Form1().frecuencia = 14'000'000;
    Click(Form1().Mem[1]);
    EXPECT_EQ(Form1().frecuencia, 14'000'000);
}

TEST_F(BanksAndModesTest, ReturnFromTheEditorResetsReturnFromAnotherApplicationDoesNot)
{
    WriteMemoryFile("[bank1]\nmem1=7050000\n");
    Start();
    Click(Form1().M_VFO);
    Click(Form1().Bank[2]);
    ASSERT_TRUE(Form1().modo_memoria);

    // The user switches to another application and comes back.
    FocusWindow(nullptr);
    FocusWindow(&Form1());
    EXPECT_TRUE(Form1().modo_memoria);
    EXPECT_EQ(Form1().banco, 3);

    // The editor comes up and goes away again: the window reloads and resets.
    WriteMemoryFile("[bank1]\nbank_name1=Renamed\nmem1=7050000\n");
    Click(Form1().LMW);
    ASSERT_TRUE(WaitUntilActive(Form2()));
    Form2().hide();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    QCoreApplication::processEvents();
    EXPECT_FALSE(Form1().modo_memoria);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_EQ(Form1().banco, 1);
    EXPECT_EQ(Form1().memoria, 1);
    EXPECT_EQ(Form1().paso, 10'000);
    EXPECT_EQ(Form1().Bank[0]->Caption(), u"Renamed"_s);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(BanksAndModesTest, AnErrorMessageBoxIsNoOtherForm)
{
    Start();
    Click(Form1().M_VFO);
    auto *box = new QDialog;
    box->show();
    box->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(box));
    delete box;
    FocusWindow(&Form1());
    EXPECT_TRUE(Form1().modo_memoria);
}

class EachMemoryButton : public MainWindowRig, public testing::WithParamInterface<int>
{
};

// Memory button J under bank button (J - 1) mod 8 + 1: all fifteen memory buttons and all eight
// bank buttons.
TEST_P(EachMemoryButton, RecallsItsOwnMemoryOfItsBank)
{
    const int j = GetParam();
    const int n = (j - 1) % 8 + 1;
    WriteMemoryFile(EveryMemory());
    Start();
    Click(Form1().M_VFO);
    Click(Form1().Bank[n - 1]);
    EXPECT_EQ(Form1().banco, n);
    EXPECT_EQ(LitMemoriesAndBanks(), QStringList{BankButton(n)});
    EXPECT_EQ(Captions(Form1().Mem), Numbered(QString::number(n) + u"."_s, 15));
    EXPECT_EQ(Form1().frecuencia, 1'010'000); // memory 1 of bank 1, still
    port.ClearCalls();
    Click(Form1().Mem[j - 1]);
    EXPECT_EQ(Form1().memoria, j);
    EXPECT_EQ(SentFrequency(), n * 1'000'000 + j * 10'000);
    EXPECT_EQ(LitMemoriesAndBanks(), (QStringList{MemoryButton(j), BankButton(n)}));
}

INSTANTIATE_TEST_SUITE_P(Memories, EachMemoryButton, testing::Range(1, 16));

struct StepCase
{
    const char16_t *button;
    std::int32_t step;
};

void PrintTo(const StepCase &c, std::ostream *out)
{
    *out << c.step << " Hz";
}

class StepLightTest : public MainWindowRig, public testing::WithParamInterface<StepCase>
{
};

// A step button changes only the step and the lights, in memory mode too; the step stays in
// force, and back in VFO mode its light is the only one on.
TEST_P(StepLightTest, IsTheOnlyOneOnAfterMemoryMode)
{
    const QString name = QString::fromUtf16(GetParam().button);
    Start();
    Click(Form1().M_VFO);
    port.ClearCalls();
    Click(Form1().findChild<TLEDButton *>(name));
    EXPECT_EQ(Form1().paso, GetParam().step);
    EXPECT_EQ(LitSteps(), QStringList{name});
    EXPECT_TRUE(port.Calls().empty());
    EXPECT_EQ(Form1().LEDDisplay1->Value(), 14200.0);
    Click(Form1().M_VFO);
    EXPECT_FALSE(Form1().modo_memoria);
    EXPECT_EQ(Form1().paso, GetParam().step);
    EXPECT_EQ(LitSteps(), QStringList{name});
}

INSTANTIATE_TEST_SUITE_P(Steps, StepLightTest,
                         testing::Values(StepCase{u"X1H", 1}, StepCase{u"X10H", 10}, StepCase{u"X100H", 100},
                                         StepCase{u"x1k", 1'000}, StepCase{u"x10k", 10'000},
                                         StepCase{u"x100k", 100'000}, StepCase{u"x1M", 1'000'000},
                                         StepCase{u"x10m", 10'000'000}),
                         [](const auto &info) { return "Hz" + std::to_string(info.param.step); });

// A file that is no memory file is named on the status line in one line that fits it, and the
// buttons show what missing entries give. Such a notice gives way to the link's text after a
// while; a long path is shortened in its middle so that the line holds it whole.
TEST_F(MemoryStoreTest, ADamagedFileIsExplainedOnTheStatusLine)
{
    WriteMemoryFile(QByteArray("\x8f\x00\x13\xfe[bank1]\x02mem1=7\xff", 16));
    Start();
    EXPECT_EQ(Form1().info->text(), u"Not a memory file, not text: "_s + MemoryFilePath());
    EXPECT_EQ(Captions(Form1().Bank), QStringList(8, QString()));
    EXPECT_EQ(Captions(Form1().Mem), QStringList(15, QString()));

    QLabel line;
    line.setFont(Form1().info->font());
    line.resize(Form1().info->size());
    TAnnouncer announcer(&line);
    TStatusLine status(line, announcer, std::chrono::milliseconds(20));
    status.Show(Tsdr::CreditText());
    const QString longPath = u"/home/listener/"_s + QString(200, u'x') + u"/memos.ini"_s;
    status.ShowNotice(status.WithPath(u"No memories in the memory file %1"_s, longPath));
    EXPECT_TRUE(line.text().startsWith(u"No memories in the memory file /home/"_s));
    EXPECT_TRUE(line.text().endsWith(u"/memos.ini"_s));
    EXPECT_LE(QFontMetrics(line.font()).horizontalAdvance(line.text()), line.contentsRect().width());
    EXPECT_TRUE(QTest::qWaitFor([&line] { return line.text() == Tsdr::CreditText(); }));
}

#include "program_rig.h"
#include "station_lists.h"
#include "tuning_actions.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QTimeZone>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;
using namespace std::chrono_literals;

namespace {

class ListeningTest : public MainWindowRig
{
protected:
    void SetUp() override
    {
        MainWindowRig::SetUp();
        StartWithSettings();
    }
    QString SettingsPath() const { return folder.filePath(u"settings.ini"_s); }
    void StartWithSettings()
    {
        program.reset();
        program.emplace(port, folder.path(), TProgramOptions{}, SettingsPath());
        program->Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
        port.ClearCalls();
        now = std::chrono::steady_clock::now();
        Form1().Now = [this] { return now; };
    }
    TTuningActions &Actions() { return *program->Tuning; }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : &Form1(), key, modifiers);
    }
    // Tunes as a network client does, then lets it stay on the dial for `stay`.
    void Stay(std::int32_t hertz, std::chrono::milliseconds stay = 2s)
    {
        Form1().TuneTo(hertz);
        now += stay;
    }
    TTuningHistory::TTime now{};
};

struct ChannelMove
{
    bool tenKilohertz;
    std::int32_t from;
    std::int32_t step;
    Qt::Key key;
    std::int32_t to;
};

} // namespace

// Page Up and Page Down move on the grid of the band that holds the frequency: medium wave by
// the region's grid, shortwave broadcasting by 5 kHz, elsewhere by the step; off the grid the
// first move snaps to the nearest channel that way; the limits are those of UP and DOWN.
TEST_F(ListeningTest, PageUpAndDownMoveByTheChannelsOfTheBand)
{
    const auto moves = std::to_array<ChannelMove>({
        {false, 1'215'000, 10'000, Qt::Key_PageUp, 1'224'000},   // on the 9 kHz grid
        {false, 1'216'000, 10'000, Qt::Key_PageUp, 1'224'000},   // off it, up
        {false, 1'216'000, 10'000, Qt::Key_PageDown, 1'215'000}, // off it, down
        {false, 531'000, 10'000, Qt::Key_PageUp, 540'000},       // the first channel
        {false, 531'000, 1'000, Qt::Key_PageDown, 530'000},      // below it: the step
        {false, 1'602'000, 1'000, Qt::Key_PageUp, 1'603'000},    // above the last: the step
        {false, 1'610'000, 10'000, Qt::Key_PageUp, 1'620'000},   // beyond the 9 kHz band
        {true, 1'215'000, 1'000, Qt::Key_PageUp, 1'220'000},     // the 10 kHz grid, off it
        {true, 1'700'000, 1'000, Qt::Key_PageDown, 1'690'000},   // its last channel
        {true, 530'000, 1'000, Qt::Key_PageDown, 529'000},       // below its first: the step
        {false, 7'325'000, 1'000, Qt::Key_PageUp, 7'330'000},    // 41 m
        {false, 7'327'300, 1'000, Qt::Key_PageDown, 7'325'000},  // 41 m, off the grid
        {false, 7'200'000, 1'000, Qt::Key_PageDown, 7'199'000},  // the band's lower edge
        {false, 26'100'000, 1'000, Qt::Key_PageUp, 26'101'000},  // 11 m's upper edge
        {false, 14'200'000, 10'000, Qt::Key_PageUp, 14'210'000}, // outside the bands
        {false, 65'000'000, 10'000'000, Qt::Key_PageUp, 65'000'000}, // past 70 MHz: stays
        {false, 150'000, 100'000, Qt::Key_PageDown, 150'000},    // not down to 70 kHz: stays
    });
    for (const ChannelMove &move : moves) {
        (move.tenKilohertz ? Actions().TenKilohertz : Actions().NineKilohertz)->trigger();
        Form1().StepButton(move.step)->Press();
        Form1().TuneTo(move.from);
        port.ClearCalls();
        Key(move.key);
        EXPECT_EQ(Form1().frecuencia, move.to) << move.from << (move.key == Qt::Key_PageUp ? " up" : " down");
        EXPECT_EQ(SentFrequency(), move.to) << move.from;
    }
    // The grid chosen is kept for the next start.
    Actions().TenKilohertz->trigger();
    StartWithSettings();
    EXPECT_TRUE(Actions().TenKilohertz->isChecked());
    Form1().TuneTo(1'215'000);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Form1().frecuencia, 1'220'000);
    // Ctrl with the wheel does the same.
    Actions().NineKilohertz->trigger();
    Form1().TuneTo(1'215'000);
    Wheel(Form1().LEDDisplay1, 120, Qt::ControlModifier);
    EXPECT_EQ(Form1().frecuencia, 1'224'000);
    Wheel(Form1().LEDDisplay1, -240, Qt::ControlModifier);
    EXPECT_EQ(Form1().frecuencia, 1'215'000);
}

// Alt+Left and Alt+Right go through the frequencies that stayed 2 s, however tuned; tuning
// somewhere after going back drops those ahead.
TEST_F(ListeningTest, BackAndForwardGoThroughWhatStayedOnTheDial)
{
    now += 2s; // the start's 14,200 kHz stays
    Stay(6'070'000);
    Stay(7'100'000, 500ms); // passed by
    Stay(9'410'000);
    Stay(11'750'000);
    // Each key, and the frequency sent: none before the first.
    const std::array<std::pair<Qt::Key, std::optional<std::int32_t>>, 5> steps{{{Qt::Key_Left, 9'410'000},
                                                                                {Qt::Key_Left, 6'070'000},
                                                                                {Qt::Key_Left, 14'200'000},
                                                                                {Qt::Key_Left, std::nullopt},
                                                                                {Qt::Key_Right, 6'070'000}}};
    for (const auto &[key, sent] : steps) {
        port.ClearCalls();
        Key(key, Qt::AltModifier);
        EXPECT_EQ(SentFrequency(), sent);
        EXPECT_EQ(Form1().frecuencia, sent.value_or(14'200'000));
    }
    Stay(15'400'000);
    Actions().Forward->trigger();
    EXPECT_EQ(Form1().frecuencia, 15'400'000); // nothing ahead any more
    Actions().Back->trigger();
    EXPECT_EQ(Form1().frecuencia, 6'070'000);
    Actions().Forward->trigger();
    EXPECT_EQ(Form1().frecuencia, 15'400'000);
}

// Locked, no way of the user's tunes, the first try says so once; a network client still tunes.
TEST_F(ListeningTest, ALockedDialIgnoresEveryWayOfTuningButTheNetwork)
{
    WriteMemoryFile("[bank1]\nbank_name1=Broadcast\nmem2=6070000\nTag_mem2=CFRX\n");
    StartWithSettings();
    Click(Form1().M_VFO); // memory mode, at memory 1
    Stay(7'100'000);
    QGuiApplication::clipboard()->setText(u"9410000"_s);
    Key(Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(Actions().LockTuning->isChecked());
    EXPECT_EQ(Form1().windowTitle(), u"Corvex-Corvin - tuning locked"_s);
    EXPECT_EQ(Form1().LEDDisplay1->accessibleDescription(), u"Step 10 kHz. Tuning locked"_s);
    port.ClearCalls();
    Form1().ShowStatus(u"-"_s);

    const std::vector<std::pair<const char *, std::function<void()>>> tries{
        {"UP", [this] { Click(Form1().UP); }},
        {"DOWN", [this] { Click(Form1().DOWN); }},
        {"wheel", [this] { Wheel(Form1().LEDDisplay1, 120); }},
        {"Ctrl+wheel", [this] { Wheel(Form1().LEDDisplay1, 120, Qt::ControlModifier); }},
        {"Up", [this] { Key(Qt::Key_Up); }},
        {"Page Down", [this] { Key(Qt::Key_PageDown); }},
        {"typed entry", [this] {
             Key(Qt::Key_7);
             Key(Qt::Key_Return);
         }},
        {"paste", [this] { Key(Qt::Key_V, Qt::ControlModifier); }},
        {"Alt+Left", [this] { Key(Qt::Key_Left, Qt::AltModifier); }},
        {"the memory/VFO toggle", [this] { Click(Form1().M_VFO); }},
        {"a memory", [this] { Click(Form1().Mem[1]); }},
        {"a station", [this] { program->TuneTo(6'070'000); }},
    };
    // Said at the first try only.
    QString said = u"Tuning locked - Ctrl+K unlocks"_s;
    for (const auto &[way, tryIt] : tries) {
        tryIt();
        EXPECT_EQ(Form1().frecuencia, 7'100'000) << way;
        EXPECT_EQ(Form1().info->text(), said) << way;
        Form1().EndNotice();
        said = u"-"_s;
    }
    EXPECT_FALSE(SentFrequency().has_value());

    static_cast<TRemoteTuning &>(Form1()).TuneTo(14'074'000);
    EXPECT_EQ(SentFrequency(), 14'074'000);
    EXPECT_EQ(Form1().memoria, 1);
    // The activation resets the tuning as ever.
    Form1().FormActivate();
    EXPECT_EQ(Form1().frecuencia, 14'200'000);

    Key(Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(Form1().windowTitle(), u"Corvex-Corvin"_s);
    Click(Form1().UP);
    EXPECT_EQ(Form1().frecuencia, 14'210'000);
}

namespace {

// The program over one kept list: two stations near 7,325 kHz on the air at 19:30 UTC (one with
// no times, so always), one near it that is not.
class DialStationsTest : public MainWindowRig
{
protected:
    void SetUp() override
    {
        MainWindowRig::SetUp();
        const QString stations = folder.filePath(u"stations"_s);
        ASSERT_TRUE(QDir().mkpath(stations));
        QFile list(stations + u"/dial.csv"_s);
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write("frequency_hz,name,list,mode,start_utc,stop_utc,days,language,target,notes\r\n"
                   "7325000,BBC World Service,EiBi,AM,1900,2000,,English,,\r\n"
                   "7326500,Radio Two,,AM,,,,,,\r\n"
                   "7324000,Night Radio,EiBi,AM,0100,0200,,German,,\r\n");
        list.close();
        program.emplace(port, folder.path(), TProgramOptions{}, folder.filePath(u"settings.ini"_s), nullptr, stations);
        program->Stations->Now = [] { return QDateTime(QDate(2024, 1, 1), QTime(19, 30), QTimeZone::utc()); };
        program->Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    }
};

} // namespace

// Within 2.5 kHz of the dial, the stations on the air are named by the readout, nearest first,
// and the first is heard once the frequency settles; nothing is said where nothing is on.
TEST_F(DialStationsTest, TheReadoutNamesWhatIsOnTheAirAtTheDial)
{
    const QString bbc = u"7,325 kHz: BBC World Service, EiBi 1900-2000, English"_s;
    Form1().TuneTo(7'325'000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form1().LEDDisplay1->toolTip() == bbc + u"\n7,326.5 kHz: Radio Two"_s; }));
    EXPECT_EQ(Form1().LEDDisplay1->accessibleDescription(),
              u"Step 10 kHz\n"_s + bbc + u"\n7,326.5 kHz: Radio Two"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form1().announcer->accessibleName() == u"7,325.000 kHz, "_s + bbc; }));

    Form1().TuneTo(7'326'000); // Radio Two is nearer
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return Form1().announcer->accessibleName() == u"7,326.000 kHz, 7,326.5 kHz: Radio Two"_s;
    }));
    EXPECT_EQ(Form1().LEDDisplay1->toolTip(), u"7,326.5 kHz: Radio Two\n"_s + bbc);

    Form1().TuneTo(7'322'000); // only the one off the air
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form1().announcer->accessibleName() == u"7,322.000 kHz"_s; }));
    EXPECT_EQ(Form1().LEDDisplay1->toolTip(), QString());
    EXPECT_EQ(Form1().LEDDisplay1->accessibleDescription(), u"Step 10 kHz"_s);
}

#include "keyboard_tuning.h"
#include "program_rig.h"
#include "spoken_tuning.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace {

class KeyboardTest : public MainWindowRig
{
protected:
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : &Form1(), key, modifiers);
    }
    // As a keyboard types: capitals with Shift.
    void Type(const QString &text)
    {
        for (const QChar character : text) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus != nullptr ? focus : &Form1(), character.toLatin1(),
                            character.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }
    // Types a text and Enter; what the status line said, or nothing when it kept its text.
    QString Enter(const QString &text)
    {
        Form1().ShowStatus(u"-"_s);
        port.ClearCalls();
        Type(text);
        Key(Qt::Key_Return);
        return Form1().info->text() == u"-"_s ? QString() : Form1().info->text();
    }
    QString Shown() { return Form1().LEDDisplay1->TypedText(); }
    // Whether the readout comes to say the text once its changes settle.
    bool Says(const QString &text)
    {
        return QTest::qWaitFor([&] { return Form1().LEDDisplay1->SpokenText() == text; });
    }
    // What it says after a while in which its changes have surely settled.
    QString SpokenOnceSettled()
    {
        QTest::qWait(static_cast<int>(TSpokenTuning::SettleTime.count() * 2));
        return Form1().LEDDisplay1->SpokenText();
    }
};

} // namespace

TEST_F(KeyboardTest, ArrowsDoWhatUpAndDownDoWhateverHasTheFocus)
{
    Start();
    Key(Qt::Key_Up);
    EXPECT_EQ(Form1().frecuencia, 14'210'000);
    EXPECT_EQ(SentFrequency(), 14'210'000);
    // They bring the focus to the readout, where a screen reader speaks the frequency.
    EXPECT_EQ(QApplication::focusWidget(), Form1().LEDDisplay1);
    Form1().Mem[0]->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Down);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_EQ(QApplication::focusWidget(), Form1().LEDDisplay1);

    // The limits of UP and DOWN, and the key repeat.
    Form1().frecuencia = 69'990'000;
    QTest::keyPress(Form1().Mem[0], Qt::Key_Up);
    QTest::sendKeyEvent(QTest::Press, Form1().Mem[0], Qt::Key_Up, QString(), Qt::NoModifier);
    port.ClearCalls();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(Form1().Mem[0], &repeat);
    EXPECT_EQ(Form1().frecuencia, 70'000'000);
    EXPECT_EQ(SentFrequency(), 70'000'000);
    Form1().frecuencia = 80'000;
    Key(Qt::Key_Down);
    EXPECT_EQ(Form1().frecuencia, 80'000);

    Form1().frecuencia = INT_MAX;
    Key(Qt::Key_Up, Qt::KeypadModifier);
    EXPECT_EQ(errors, QStringList{u"Integer overflow"_s});
    EXPECT_EQ(Form1().frecuencia, INT_MAX);
}

TEST_F(KeyboardTest, LeftAndRightPickTheNextCoarserOrFinerStep)
{
    Start();
    Key(Qt::Key_Right);
    EXPECT_EQ(Form1().paso, 1'000);
    EXPECT_EQ(LitSteps(), QStringList{u"x1k"_s});
    for (int i = 0; i < 5; ++i)
        Key(Qt::Key_Right);
    EXPECT_EQ(Form1().paso, 1);
    EXPECT_EQ(LitSteps(), QStringList{u"X1H"_s});
    for (int i = 0; i < 9; ++i)
        Key(Qt::Key_Left);
    EXPECT_EQ(Form1().paso, 10'000'000);
    EXPECT_EQ(LitSteps(), QStringList{u"x10m"_s});
    EXPECT_TRUE(port.Calls().empty());
}

TEST_F(KeyboardTest, TypedFrequenciesTuneAsARecallDoes)
{
    Start();
    for (const auto &[typed, hertz] : std::vector<std::pair<QString, std::int32_t>>{{u"7074"_s, 7'074'000},
                                                                                    {u"14200.5"_s, 14'200'500},
                                                                                    {u"14200,5"_s, 14'200'500},
                                                                                    {u"14.2m"_s, 14'200'000},
                                                                                    {u"14.2M"_s, 14'200'000},
                                                                                    {u"7.074MHz"_s, 7'074'000},
                                                                                    {u"600k"_s, 600'000},
                                                                                    {u"600K"_s, 600'000},
                                                                                    {u"600kHz"_s, 600'000}}) {
        Form1().frecuencia = 1;
        EXPECT_EQ(Enter(typed), QString()) << typed.toStdString();
        EXPECT_EQ(Form1().frecuencia, hertz) << typed.toStdString();
        EXPECT_EQ(SentFrequency(), hertz) << typed.toStdString();
        EXPECT_EQ(Shown(), QString());
    }
    // In memory mode the typed frequency, like UP, is dropped on the way back to VFO mode.
    Click(Form1().M_VFO);
    Enter(u"7074"_s);
    EXPECT_EQ(Form1().frecuencia, 7'074'000);
    Click(Form1().M_VFO);
    EXPECT_EQ(Form1().frecuencia, 600'000);
}

TEST_F(KeyboardTest, RefusalsChangeNothingAndSayWhy)
{
    Start();
    EXPECT_EQ(Enter(u"80000"_s), u"Out of range: 80000 kHz (50 to 70000 kHz)"_s);
    EXPECT_EQ(Enter(u"123456789"_s), u"Too many digits: 123456789 (at most 8)"_s);
    EXPECT_EQ(Enter(u"14.200,5"_s), u"Two decimal separators: 14.200,5"_s);
    EXPECT_EQ(Enter(u"14.2mhh"_s), u"Unknown unit: 14.2mhh (Hz, kHz or MHz)"_s);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_TRUE(port.Calls().empty());
    EXPECT_EQ(Shown(), QString());
}

// A refusal stands over the link's text until the user next tunes: by a good entry, a recall or
// a change of mode; the link's text then shows again.
TEST_F(KeyboardTest, ARefusalGivesWayToTheLinksTextOnTheNextTuning)
{
    WriteMemoryFile("[bank1]\nmem1=7050000\n");
    port.Fail(RecordingD2xx::Kind::Open, FT_DEVICE_NOT_FOUND);
    Start();
    const QString link = Form1().info->text();
    const QString refusal = u"Out of range: 80000 kHz (50 to 70000 kHz)"_s;
    const std::vector<std::pair<const char *, std::function<void()>>> tunings{
        {"entry", [this] { Type(u"7074\r"_s); }},
        {"mode change", [this] { Click(Form1().M_VFO); }},
        {"recall", [this] { Click(Form1().Mem[0]); }}};
    for (const auto &[name, tune] : tunings) {
        Type(u"80000\r"_s);
        EXPECT_EQ(Form1().info->text(), refusal) << name;
        tune();
        EXPECT_EQ(Form1().info->text(), link) << name;
    }
}

TEST_F(KeyboardTest, TheReadoutShowsTheEntryUntilItIsDone)
{
    Start();
    Type(u"7074"_s);
    EXPECT_EQ(Shown(), u"7074"_s);
    EXPECT_TRUE(Says(u"Typing 7074 kHz"_s));
    // A client that tunes meanwhile does not take the listener's words from the entry.
    Form1().TuneTo(7'100'000);
    EXPECT_EQ(SpokenOnceSettled(), u"Typing 7074 kHz"_s);
    Type(u"5"_s);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Shown(), u"7074"_s);
    Type(u".2m"_s);
    EXPECT_EQ(Shown(), u"7074200"_s);
    // Esc drops the entry; nothing was sent.
    port.ClearCalls();
    Key(Qt::Key_Escape);
    EXPECT_EQ(Shown(), QString());
    EXPECT_TRUE(Says(u"7,100.000 kHz"_s));
    EXPECT_TRUE(port.Calls().empty());
    // Backspace over the last digit closes it too.
    Type(u"7"_s);
    EXPECT_TRUE(Says(u"Typing 7 kHz"_s));
    Key(Qt::Key_Backspace);
    EXPECT_FALSE(program->Keyboard.EntryOpen());
    EXPECT_TRUE(Says(u"7,100.000 kHz"_s));
    // Enter on the keypad.
    Type(u"3500"_s);
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Form1().frecuencia, 3'500'000);
}

TEST_F(KeyboardTest, LeavingTheWindowOrClickingElsewhereDropsTheEntry)
{
    Start();
    Type(u"7074"_s);
    Click(Form1().LMW); // the editor takes the focus; coming back resets the window
    ASSERT_TRUE(WaitUntilActive(Form2()));
    EXPECT_FALSE(program->Keyboard.EntryOpen());
    Form2().cancelarClick();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    EXPECT_EQ(Shown(), QString());
    EXPECT_EQ(Form1().frecuencia, 14'200'000);

    Type(u"7074"_s);
    Click(Form1().Mem[3]);
    EXPECT_EQ(Shown(), QString());
    Type(u"7074"_s);
    Wheel(Form1().LEDDisplay1, 120);
    EXPECT_EQ(Shown(), QString());
    EXPECT_EQ(Form1().frecuencia, 14'210'000);
    Type(u"7074"_s);
    QEvent leave(QEvent::WindowDeactivate);
    QApplication::sendEvent(&Form1(), &leave);
    EXPECT_EQ(Shown(), QString());
}

// While an entry is open the keys that tune wait for it: they neither tune, copy nor paste, nor
// reach the control that has the focus.
TEST_F(KeyboardTest, TuningKeysWaitWhileAnEntryIsOpen)
{
    Start();
    QGuiApplication::clipboard()->setText(u"7100"_s);
    Form1().x1k->setFocus(Qt::TabFocusReason);
    Type(u"70"_s);
    for (const auto &[key, modifiers] : std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
             {Qt::Key_Up, Qt::NoModifier},
             {Qt::Key_Down, Qt::NoModifier},
             {Qt::Key_Left, Qt::NoModifier},
             {Qt::Key_Right, Qt::NoModifier},
             {Qt::Key_C, Qt::ControlModifier},
             {Qt::Key_V, Qt::ControlModifier}}) {
        Key(key, modifiers);
        EXPECT_EQ(Shown(), u"70"_s) << key;
    }
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_EQ(Form1().paso, 10'000);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"7100"_s);
    EXPECT_TRUE(port.Calls().empty());
}

TEST_F(KeyboardTest, CopyGivesHertzThatPasteTakesBack)
{
    Start();
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"14200000"_s);
    for (const auto &[text, hertz] : std::vector<std::pair<QString, std::int32_t>>{
             {u"7074000"_s, 7'074'000}, {u"6070 kHz"_s, 6'070'000}, {u" 14.2 MHz\n"_s, 14'200'000}}) {
        QGuiApplication::clipboard()->setText(text);
        port.ClearCalls();
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Form1().frecuencia, hertz);
        EXPECT_EQ(SentFrequency(), hertz);
    }
    QGuiApplication::clipboard()->setText(u"7,074,000"_s);
    port.ClearCalls();
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Form1().info->text(), u"Two decimal separators: 7,074,000"_s);
    EXPECT_TRUE(port.Calls().empty());
}

TEST_F(KeyboardTest, EachDigitOfTheReadoutPicksItsStep)
{
    Start();
    const std::array<TLEDButton *, 8> steps{Form1().x10m, Form1().x1M,   Form1().x100k, Form1().x10k,
                                            Form1().x1k,  Form1().X100H, Form1().X10H,  Form1().X1H};
    for (int cell = 1; cell <= 8; ++cell) {
        QTest::mouseClick(Form1().LEDDisplay1, Qt::LeftButton, Qt::NoModifier, QPoint(28 * (cell - 1) + 14, 24));
        std::int32_t step = 1;
        for (int power = 8 - cell; power > 0; --power)
            step *= 10;
        EXPECT_EQ(Form1().paso, step) << cell;
        EXPECT_EQ(LitSteps(), QStringList{steps[static_cast<std::size_t>(cell - 1)]->objectName()}) << cell;
    }
    EXPECT_TRUE(port.Calls().empty());
}

TEST_F(KeyboardTest, AMnemonicCharacterGoesToItsButtonFirst)
{
    WriteMemoryFile("[bank2]\nbank_name2=Band &7\n");
    Start();
    Click(Form1().M_VFO);
    Type(u"7"_s);
    EXPECT_FALSE(program->Keyboard.EntryOpen());
    EXPECT_EQ(Form1().banco, 2);
    EXPECT_EQ(LitMemoriesAndBanks(), QStringList{u"bank2"_s});
    Type(u"8"_s);
    EXPECT_TRUE(program->Keyboard.EntryOpen());
}

TEST_F(KeyboardTest, TabFollowsTheLayoutFromTheReadoutAndSpacePresses)
{
    Start();
    // From the window itself, where no control has the focus yet, Shift+Tab goes to the last one.
    Key(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), Form1().Bank[7]);
    Form1().setFocus();
    QStringList order;
    for (int i = 0; i < 37; ++i) {
        Key(Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QStringList expected{u"LEDDisplay1"_s, u"x10m"_s, u"x1M"_s, u"x100k"_s, u"x10k"_s, u"x1k"_s, u"X100H"_s,
                         u"X10H"_s,        u"X1H"_s,  u"UP"_s,  u"DOWN"_s,  u"LMW"_s, u"M_VFO"_s};
    for (TLEDButton *button : Form1().Mem)
        expected << button->objectName();
    for (TLEDButton *button : Form1().Bank)
        expected << button->objectName();
    expected << u"LEDDisplay1"_s;
    EXPECT_EQ(order, expected);
    Form1().UP->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Space);
    EXPECT_EQ(Form1().frecuencia, 14'210'000);
    Key(Qt::Key_Tab);
    Key(Qt::Key_Return);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    Form1().x1k->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(LitSteps(), QStringList{u"x1k"_s});
}

TEST_F(KeyboardTest, TabReachesEveryControlOfTheEditorAndSpacePressesOk)
{
    Start();
    Click(Form1().LMW);
    ASSERT_TRUE(WaitUntilActive(Form2()));
    Form2().SelectBanks[0]->setFocus(Qt::TabFocusReason);
    QStringList reached;
    for (int i = 0; i < 45 && !reached.contains(QApplication::focusWidget()->objectName()); ++i) {
        reached << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The bank selector is one stop, as a radio group is; its arrows move between the banks.
    ASSERT_EQ(reached.size(), 1 + 1 + 30 + 2);
    EXPECT_EQ(reached.mid(0, 7),
              (QStringList{u"select_b1"_s, u"bank_name"_s, u"m1tag"_s, u"m1freq"_s, u"m9tag"_s, u"m9freq"_s, u"m2tag"_s}));
    EXPECT_EQ(reached.mid(29), (QStringList{u"m15freq"_s, u"m8tag"_s, u"m8freq"_s, u"cancelar"_s, u"ok_btn"_s}));
    // Each box is named by its labels.
    EXPECT_EQ(Form2().bank_name->accessibleName(), u"BANK NAME"_s);
    EXPECT_EQ(Form2().Tags[2]->accessibleName(), u"M 3 TAG"_s);
    EXPECT_EQ(Form2().Frequencies[14]->accessibleName(), u"M 15 FREQ (Hz)"_s);
    QTest::keyClick(Form2().SelectBanks[0], Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), Form2().SelectBanks[1]);
    EXPECT_EQ(Form2().banco_cfg, 2);
    QTest::keyClick(Form2().SelectBanks[1], Qt::Key_Left);

    Form2().Tags[0]->setText(u"Beacon"_s);
    Form2().ok_btn->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Form2().ok_btn, Qt::Key_Space);
    EXPECT_FALSE(Form2().isVisible());
    EXPECT_TRUE(ReadMemoryFile().contains("Tag_mem1=Beacon"));
}

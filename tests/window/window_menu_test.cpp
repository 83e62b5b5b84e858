#include "main_window_actions.h"
#include "program_rig.h"
#include "window_menu.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>

using namespace Qt::Literals::StringLiterals;
using Kind = RecordingD2xx::Kind;

namespace {

class WindowMenuTest : public MainWindowRig
{
protected:
    QString SettingsPath() const { return folder.filePath(u"settings.ini"_s); }
    // The port's record is kept when `keepCalls`, so a failure planned for the first open does
    // not apply to the next one too.
    void StartWithSettings(bool keepCalls = false)
    {
        program.emplace(port, folder.path(), TProgramOptions{}, SettingsPath());
        program->Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
        if (!keepCalls)
            port.ClearCalls();
    }
    QMenu &Menu() { return program->WindowMenu->Menu(); }
    TMainWindowActions &Actions() { return *program->WindowActions; }
    bool RightClickOpensTheMenu(QWidget *on)
    {
        Menu().hide();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), on->mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(on, &event);
        return Menu().isVisible();
    }
    std::vector<std::uint16_t> Words() const { return DecodeWords(port.Writes()); }
    // The status line says that it tries, the receiver hears nothing until the pause is over,
    // then the outcome replaces that text.
    void Reconnect()
    {
        const std::size_t calls = port.Calls().size();
        Actions().ReconnectReceiver->trigger();
        Actions().ReconnectReceiver->trigger(); // a second request while one waits adds nothing
        EXPECT_EQ(Form1().info->text(), u"Reconnecting the receiver\u2026"_s);
        EXPECT_EQ(port.Calls().size(), calls);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !Form1().info->text().startsWith(u"Reconnecting"_s); }));
    }
};

} // namespace

TEST_F(WindowMenuTest, OpensOnTheBackgroundTheReadoutAndTheStatusLineAndFromTheKeyboard)
{
    StartWithSettings();
    EXPECT_TRUE(RightClickOpensTheMenu(&Form1()));
    EXPECT_TRUE(RightClickOpensTheMenu(Form1().LEDDisplay1));
    EXPECT_TRUE(RightClickOpensTheMenu(Form1().info));
    // A right click on a button presses it instead.
    EXPECT_FALSE(RightClickOpensTheMenu(Form1().Mem[0]));
    EXPECT_FALSE(RightClickOpensTheMenu(Form1().UP));

    Menu().hide();
    QTest::keyClick(&Form1(), Qt::Key_Menu);
    EXPECT_TRUE(Menu().isVisible());
    Menu().hide();
    Form1().x1k->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Form1().x1k, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(Menu().isVisible());
    Menu().hide();
}

TEST_F(WindowMenuTest, AlwaysOnTopIsCheckedAsDesignedAndItsChoiceIsKept)
{
    StartWithSettings();
    EXPECT_TRUE(Actions().AlwaysOnTop->isChecked());
    const QPoint place = Form1().pos();
    Actions().AlwaysOnTop->trigger();
    EXPECT_FALSE(Form1().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(Form1().isVisible());
    EXPECT_EQ(Form1().pos(), place);
    EXPECT_FALSE(TProgramSettings(SettingsPath()).AlwaysOnTop());

    // The next run comes up without it, until it is checked again.
    program.reset();
    StartWithSettings();
    EXPECT_FALSE(Actions().AlwaysOnTop->isChecked());
    EXPECT_FALSE(Form1().windowFlags() & Qt::WindowStaysOnTopHint);
    Actions().AlwaysOnTop->trigger();
    EXPECT_TRUE(Form1().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(TProgramSettings(SettingsPath()).AlwaysOnTop());
    EXPECT_FALSE(QFile::exists(MemoryFilePath()) && ReadMemoryFile().contains("alwaysOnTop"));
}

TEST_F(WindowMenuTest, ReconnectAfterAFailedOpenInitialisesThenSendsTheFrequency)
{
    port.Fail(Kind::Open, FT_DEVICE_NOT_FOUND, 0);
    StartWithSettings(true);
    EXPECT_EQ(Form1().info->text(), u"Error USB -Dispositivo no encontrado - Device not found"_s);
    EXPECT_TRUE(port.Writes().empty());
    Reconnect();
    EXPECT_EQ(Words(), (std::vector<std::uint16_t>{0x0120, 0xC000, 0xE000, 0x0020, 0x0020, 0x4263, 0x1020, 0x4C1E}));
    EXPECT_EQ(port.Count(Kind::Open), 2);
    EXPECT_EQ(port.Count(Kind::Close), 0);
    EXPECT_EQ(Form1().info->text(), Tsdr::CreditText());
}

TEST_F(WindowMenuTest, ReconnectClosesAnOpenDeviceOnceAndOpensItAgain)
{
    StartWithSettings();
    Reconnect();
    ASSERT_GE(port.Calls().size(), 4u);
    EXPECT_EQ(port.Calls()[0].kind, Kind::Close);
    EXPECT_EQ(port.Calls()[1].kind, Kind::Open);
    EXPECT_EQ(port.Calls()[2].kind, Kind::SetBitMode);
    EXPECT_EQ(port.Calls()[3].kind, Kind::SetBaudRate);
    EXPECT_EQ(port.Count(Kind::Close), 1);
    EXPECT_EQ(Words().size(), 8u);
    EXPECT_EQ(Form1().info->text(), Tsdr::CreditText());
}

TEST_F(WindowMenuTest, ReconnectWithNoDeviceSaysSoAndWritesNothing)
{
    port.Fail(Kind::Open, FT_DEVICE_NOT_FOUND);
    StartWithSettings();
    Reconnect();
    EXPECT_EQ(Form1().info->text(), u"Error USB -Dispositivo no encontrado - Device not found"_s);
    EXPECT_TRUE(port.Writes().empty());
    EXPECT_EQ(port.Count(Kind::Close), 0);
}

TEST_F(WindowMenuTest, AboutNamesTheVersionTheFilesAndTheUdevRule)
{
    StartWithSettings();
    Actions().About->trigger();
    auto *box = Form1().findChild<QMessageBox *>(u"about"_s);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    const QString text = box->text();
    EXPECT_TRUE(text.startsWith(u"Corvex-Corvin "_s + ProgramVersion() + u'\n')) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Memories: "_s + MemoryFilePath() + u'\n'));
    EXPECT_TRUE(text.contains(u"Settings: "_s + SettingsPath() + u'\n'));
    EXPECT_TRUE(text.contains(u"60-corvex-ftdi.rules"_s));
    box->close();
}

// The whole menu in order, as the user meets it: each capability's items in their place, a
// line between the groups.
TEST_F(WindowMenuTest, HoldsEveryItemInItsPlace)
{
    StartWithSettings();
    Q_EMIT Menu().aboutToShow();
    QStringList items;
    for (const QAction *item : Menu().actions())
        items << (item->isSeparator() ? u"-"_s : item->menu() != nullptr ? item->text() + u" >"_s : item->text());
    EXPECT_EQ(items, (QStringList{u"Store 14,200.000 kHz in a memory\u2026"_s, u"Stations\u2026"_s, u"-"_s,
                                  u"Back"_s, u"Forward"_s, u"Lock tuning"_s, u"Medium-wave channels >"_s, u"-"_s,
                                  u"Network control (rigctld) on 127.0.0.1:4532"_s, u"Always on top"_s,
                                  u"Reconnect receiver"_s, u"Receiver >"_s, u"Reconnect automatically"_s,
                                  u"Calibrate receiver\u2026"_s, u"-"_s, u"About Corvex-Corvin"_s}));
}

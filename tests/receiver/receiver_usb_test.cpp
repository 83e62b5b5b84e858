#include "auto_reconnect.h"
#include "emulated_usb.h"
#include "error_report.h"
#include "ftdi_census.h"
#include "ftdi_d2xx.h"
#include "program.h"
#include "qt_printers.h"
#include "receiver_menu.h"
#include "synthesizer_decoder.h"

#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::Literals::StringLiterals;
using Words = std::vector<std::uint16_t>;

namespace {

const QString Credit = Tsdr::CreditText();
const QString IoError = u"Error USB -"_s + Tsdr::StatusText(FT_IO_ERROR);

Words StartWords(std::int32_t frequency)
{
    Words words = InitialisationWords();
    const Words change = ChangeWords(frequency);
    words.insert(words.end(), change.begin(), change.end());
    return words;
}

// The whole program as a user runs it, over the real libftdi, libusb and census, with the chips
// that umockdev emulates plugged in and out; its choices kept in a temporary folder.
class ReceiverUsbTest : public testing::Test
{
protected:
    void SetUp() override
    {
        previousSink = SetErrorSink([this](const QString &message) { errors << message; });
        SKIP_WITHOUT_EMULATED_USB();
        usb.emplace();
    }
    void TearDown() override
    {
        program.reset();
        usb.reset();
        SetErrorSink(previousSink);
        EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    }
    QString SettingsPath() const { return folder.filePath(u"settings.ini"_s); }
    void Remember(const QString &serial, const QString &port)
    {
        QSettings settings(SettingsPath(), QSettings::IniFormat);
        settings.setValue(u"receiver/serial"_s, serial);
        settings.setValue(u"receiver/port"_s, port);
    }
    QString Remembered() const
    {
        return QSettings(SettingsPath(), QSettings::IniFormat).value(u"receiver/serial"_s).toString();
    }
    void Start(TProgramOptions options = {})
    {
        program.emplace(port, folder.path(), options, SettingsPath(), &census);
        program->Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    }
    TForm1 &Form1() { return program->Form1; }
    QString Status() { return Form1().info->text(); }
    bool StatusBecomes(const QString &text)
    {
        return QTest::qWaitFor([&] { return Status() == text; }, 5000);
    }
    // The last bytes of a change are clocked out once the program reads back their samples, when
    // its event loop turns.
    static Words PinsOnceClocked(const TEmulatedFt232r &chip, const Words &expected)
    {
        static_cast<void>(QTest::qWaitFor([&] { return WordsOnThePins(chip) == expected; }, 2000));
        return WordsOnThePins(chip);
    }

    std::optional<TEmulatedUsb> usb;
    FtdiD2xx port;
    const TSystemFtdiCensus census;
    QTemporaryDir folder;
    std::optional<TProgram> program;
    QStringList errors;
    ErrorSink previousSink;
};

} // namespace

// Which chip the program opens, as the census finds them: the start-up words reach that chip
// alone, and a serial given by --receiver is not remembered for later runs.
TEST_F(ReceiverUsbTest, TheProgramOpensTheReceiverAndNoOtherChip)
{
    const struct
    {
        QList<TEmulatedChipSetup> chips;
        TReceiverIdentity remembered;
        std::optional<QString> required;
        int opened; // the chip that hears the words, -1 for none
        QString status;
        QString rememberedAfter;
    } cases[] = {
        {{}, {}, {}, -1, u"Error USB -"_s + Tsdr::StatusText(FT_DEVICE_NOT_FOUND), {}},
        {{ChipAt(1, u"RX1"_s)}, {}, {}, 0, Credit, u"RX1"_s},
        {{ChipAt(1, u"CAT7"_s), ChipAt(2, u"RX1"_s)}, {u"RX1"_s, u"1-1"_s}, {}, 1, Credit, u"RX1"_s},
        {{ChipAt(1, u"CAT7"_s), ChipAt(2, u"RX1"_s)}, {}, {}, -1, u"2 FTDI chips: choose one in the menu, Receiver"_s, {}},
        {{ChipAt(1, u"TWIN"_s), ChipAt(2, u"TWIN"_s)}, {u"TWIN"_s, u"1-2"_s}, {}, 1, Credit, u"TWIN"_s},
        {{ChipAt(1, u"RX1"_s), ChipAt(2, u"RX2"_s)}, {u"RX1"_s, u"1-1"_s}, u"RX2"_s, 1, Credit, u"RX1"_s},
        {{ChipAt(1, u"CAT7"_s)}, {u"RX1"_s, u"1-1"_s}, {}, -1, u"Chip CAT7 is not the last receiver: see menu, Receiver"_s,
         u"RX1"_s},
    };
    int row = 0;
    for (const auto &c : cases) {
        usb.emplace();
        QFile::remove(SettingsPath());
        if (!c.remembered.IsEmpty())
            Remember(c.remembered.serial, c.remembered.portPath);
        QList<TEmulatedFt232r *> chips;
        for (const TEmulatedChipSetup &setup : c.chips)
            chips << &usb->Plug(setup);
        Start(TProgramOptions{{}, {}, c.required});
        EXPECT_EQ(Status(), c.status) << "row " << row;
        for (qsizetype i = 0; i < chips.size(); ++i)
            EXPECT_EQ(PinsOnceClocked(*chips[i], i == c.opened ? StartWords(Form1().frecuencia) : Words{}),
                      i == c.opened ? StartWords(Form1().frecuencia) : Words{})
                << "row " << row << ", chip " << i;
        EXPECT_EQ(Remembered(), c.rememberedAfter) << "row " << row;
        program.reset();
        ++row;
    }
}

// A chip whose tty another program holds (here a process holding ttyUSB0 open) is not opened by
// itself.
TEST_F(ReceiverUsbTest, AChipWhoseTtyIsHeldIsNotOpened)
{
    TEmulatedChipSetup cat = ChipAt(1, u"CAT7"_s);
    cat.tty = u"ttyUSB0"_s;
    TEmulatedFt232r &chip = usb->Plug(cat);
    THeldTty flrig(cat.tty, u"flrig"_s);
    QString why;
    if (!flrig.Start(&why))
        GTEST_SKIP() << why.toStdString();
    Start();
    EXPECT_EQ(Status(), u"Chip CAT7 is in use by flrig: see menu, Receiver"_s);
    EXPECT_EQ(Form1().info->toolTip(), u"The FTDI chip with serial CAT7 is in use by flrig (pid %1) - choose the "
                                       "receiver in the window's menu, Receiver"_s.arg(flrig.Pid()));
    EXPECT_TRUE(chip.Pins().empty());
    EXPECT_TRUE(chip.Requests().empty());
}

// With "Reconnect automatically" on, the receiver pulled out while tuning is waited for, and once
// plugged in again it hears the initialisation and the current frequency; pulled out while idle,
// the hot-plug event alone tells it. With the option off, nothing more is sent to it.
TEST_F(ReceiverUsbTest, AReceiverPluggedInAgainIsReopenedOnlyWhenChosen)
{
    for (const bool on : {true, false}) {
        usb.emplace();
        QFile::remove(SettingsPath());
        TEmulatedFt232r *chip = &usb->Plug(ChipAt(1, u"RX1"_s));
        Start();
        if (on)
            program->ReceiverMenu->ReconnectAutomatically->trigger();

        usb->Unplug(*chip);
        Form1().freq_upClick();
        ASSERT_TRUE(StatusBecomes(on ? TAutoReconnect::WaitingText : IoError)) << on;
        chip = &usb->Plug(ChipAt(1, u"RX1"_s));
        if (on) {
            ASSERT_TRUE(StatusBecomes(Credit));
            EXPECT_EQ(PinsOnceClocked(*chip, StartWords(Form1().frecuencia)), StartWords(Form1().frecuencia));
            // Idle, only the hot-plug event can tell it is gone.
            usb->Unplug(*chip);
            EXPECT_TRUE(StatusBecomes(TAutoReconnect::WaitingText));
        } else {
            Form1().freq_upClick();
            QCoreApplication::processEvents();
            EXPECT_TRUE(chip->Pins().empty());
            EXPECT_EQ(Status(), IoError);
        }
        program.reset();
    }
}

// Another chip plugged into the receiver's port while it is awaited is named, and not opened.
TEST_F(ReceiverUsbTest, AnotherChipInTheReceiversPortIsNamed)
{
    TEmulatedFt232r &receiver = usb->Plug(ChipAt(1, u"RX1"_s));
    Start();
    program->ReceiverMenu->ReconnectAutomatically->trigger();
    usb->Unplug(receiver);
    ASSERT_TRUE(StatusBecomes(TAutoReconnect::WaitingText));
    TEmulatedFt232r &other = usb->Plug(ChipAt(1, u"CAT7"_s));
    EXPECT_TRUE(StatusBecomes(u"Chip CAT7 is not the last receiver: see menu, Receiver"_s));
    EXPECT_TRUE(other.Pins().empty());
}

// Where libusb offers no hot-plug, the chips are listed every so often: the missing receiver is
// found when it comes.
TEST_F(ReceiverUsbTest, WithoutHotplugTheReceiverIsFoundByListingTheChips)
{
    Start();
    ASSERT_EQ(Status(), u"Error USB -"_s + Tsdr::StatusText(FT_DEVICE_NOT_FOUND));
    TAutoReconnect polling(Form1(), program->Receivers, &Form1(), false);
    polling.SetEnabled(true);
    TEmulatedFt232r &again = usb->Plug(ChipAt(1, u"RX1"_s));
    ASSERT_TRUE(StatusBecomes(Credit));
    EXPECT_EQ(PinsOnceClocked(again, StartWords(Form1().frecuencia)), StartWords(Form1().frecuencia));
}

#include "auto_reconnect.h"
#include "calibration_dialog.h"
#include "ftdi_chip_printer.h"
#include "program_rig.h"
#include "receiver_menu.h"
#include "tuning_word.h"

#include <QDoubleSpinBox>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

using namespace Qt::Literals::StringLiterals;
using Kind = RecordingD2xx::Kind;

namespace {

// The program over chips that the test lists, as the census would.
class ReceiverTest : public MainWindowRig
{
protected:
    QString SettingsPath() const { return folder.filePath(u"settings.ini"_s); }
    void StartWith(const QList<TFtdiChip> &chips, TProgramOptions options = {})
    {
        census.chips = chips;
        program.reset();
        port.ClearCalls();
        program.emplace(port, folder.path(), options, SettingsPath(), &census);
        program->Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    }
    QString Status() { return Form1().info->text(); }
    QStringList Opened() const
    {
        QStringList paths;
        for (const RecordingD2xx::Call &call : port.Calls())
            if (call.kind == Kind::Open)
                paths << QString::fromStdString(call.portPath);
        return paths;
    }
    // The initialisation's four words, then the frequency's, with the tuning word for `clock`.
    std::vector<std::uint16_t> StartWords(std::int32_t frequency, std::int64_t clock = 75'000'000) const
    {
        const std::uint32_t word = TuningWord(frequency, clock);
        return {0x0120, 0xC000, 0xE000, 0x0020, 0x0020, std::uint16_t(0x4000 + (word & 0x3FFF)), 0x1020,
                std::uint16_t(0x4000 + (word >> 14))};
    }
    std::vector<std::uint16_t> Words() const { return DecodeWords(port.Writes()); }
    QMenu &Receivers() { return *program->ReceiverMenu->Receivers; }
    QStringList Listed()
    {
        Q_EMIT Receivers().aboutToShow();
        QStringList texts;
        for (QAction *item : Receivers().actions())
            texts << (item->isChecked() ? u"* "_s : QString()) + item->text();
        return texts;
    }
    // The n-th chip's item, past the line that says why none opened.
    QAction *Item(int n)
    {
        QList<QAction *> chips = Receivers().actions();
        chips.removeIf([](const QAction *item) { return !item->isCheckable(); });
        return chips.at(n);
    }

    TListedFtdiCensus census;
};

const QString Credit = Tsdr::CreditText();

} // namespace

// Two chips and nothing remembered: none opens; the menu lists both, choosing one opens it with
// the initialisation and the current frequency and remembers it, so the next start opens it.
TEST_F(ReceiverTest, SeveralChipsWaitForTheUsersChoiceWhichIsRemembered)
{
    const TFtdiChip receiver = ListedChip(u"RX1"_s, u"1-1.2"_s);
    StartWith({receiver, ListedChip(u"PROG2"_s, u"1-1.4"_s)});
    EXPECT_EQ(port.Count(Kind::Open), 0);
    EXPECT_EQ(Status(), u"2 FTDI chips: choose one in the menu, Receiver"_s);
    EXPECT_EQ(Form1().info->toolTip(), u"2 FTDI chips found - choose the receiver in the window's menu, Receiver"_s);
    EXPECT_EQ(Listed(), (QStringList{u"2 FTDI chips found - choose the receiver in the window's menu, Receiver"_s, {},
                                     u"FT232R USB UART, serial RX1, port 1-1.2"_s,
                                     u"FT232R USB UART, serial PROG2, port 1-1.4"_s}));

    port.ClearCalls();
    Item(0)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Status() == Credit; }));
    EXPECT_EQ(Opened(), QStringList{u"1-1.2"_s});
    EXPECT_EQ(Words(), StartWords(Form1().frecuencia));
    EXPECT_EQ(Listed().front(), u"* FT232R USB UART, serial RX1, port 1-1.2"_s);
    EXPECT_EQ(QSettings(SettingsPath(), QSettings::IniFormat).value(u"receiver/serial"_s), u"RX1"_s);

    // The next start, with the chips plugged in the other way round.
    StartWith({ListedChip(u"PROG2"_s, u"1-1.2"_s), ListedChip(u"RX1"_s, u"1-1.4"_s)});
    EXPECT_EQ(Opened(), QStringList{u"1-1.4"_s});
    EXPECT_EQ(Status(), Credit);

    // The receiver unplugged, a CAT cable left: nothing opens.
    StartWith({ListedChip(u"CAT7"_s, u"1-1.4"_s)});
    EXPECT_EQ(port.Count(Kind::Open), 0);
    EXPECT_EQ(Status(), u"Chip CAT7 is not the last receiver: see menu, Receiver"_s);
    EXPECT_EQ(Form1().info->accessibleDescription(), u"The only FTDI chip found, serial CAT7, is not the receiver "
                                                     "last used - choose the receiver in the window's menu, Receiver"_s);
}

// A chip whose tty another program holds opens only after the user confirms the warning.
TEST_F(ReceiverTest, AHeldChipOpensOnlyWhenTheUserConfirms)
{
    const TFtdiChip cat = ListedChip(u"CAT7"_s, u"1-1.3"_s, 4321, u"ttyUSB1"_s);
    StartWith({cat});
    EXPECT_EQ(port.Count(Kind::Open), 0);
    EXPECT_EQ(Status(), u"Chip CAT7 is in use by flrig: see menu, Receiver"_s);
    EXPECT_EQ(TReceiverMenu::Warning(cat),
              u"This chip is the serial port ttyUSB1, in use by flrig (pid 4321). If it is a CAT cable, opening it "
              "as the receiver takes the port from the serial driver and drives all its lines: RTS and DTR can key "
              "a transmitter. Open it as the receiver?"_s);
    EXPECT_EQ(Listed(), (QStringList{u"The FTDI chip with serial CAT7 is in use by flrig (pid 4321) - choose the "
                                     "receiver in the window's menu, Receiver"_s,
                                     {}, u"FT232R USB UART, serial CAT7, port 1-1.3, ttyUSB1, in use by flrig (pid 4321)"_s}));

    for (const auto button : {QMessageBox::Cancel, QMessageBox::Open}) {
        Item(0)->trigger();
        auto *question = Form1().findChild<QMessageBox *>(u"receiverWarning"_s);
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->defaultButton(), static_cast<QAbstractButton *>(question->button(QMessageBox::Cancel)));
        question->button(button)->click();
        if (button == QMessageBox::Open)
            EXPECT_TRUE(QTest::qWaitFor([this] { return Status() == Credit; }));
        else
            QTest::qWait(TForm1::ReconnectPause.count() + 100);
        EXPECT_EQ(Opened(), button == QMessageBox::Open ? QStringList{u"1-1.3"_s} : QStringList{});
    }
    EXPECT_EQ(Status(), Credit);
}

// With the option on, a receiver that goes away and comes back is opened again and hears the
// initialisation and the current frequency; with it off, it stays closed.
TEST_F(ReceiverTest, AReceiverPluggedInAgainIsReopenedOnlyWhenChosen)
{
    const TFtdiChip receiver = ListedChip(u"RX1"_s, u"1-1.2"_s);
    for (const bool on : {true, false}) {
        QFile::remove(SettingsPath());
        StartWith({receiver});
        TAutoReconnect &reconnection = *program->Reconnection;
        EXPECT_FALSE(program->ReceiverMenu->ReconnectAutomatically->isChecked());
        if (on)
            program->ReceiverMenu->ReconnectAutomatically->trigger();
        EXPECT_EQ(reconnection.Enabled(), on);
        EXPECT_EQ(QSettings(SettingsPath(), QSettings::IniFormat).value(u"receiver/reconnectAutomatically"_s, false), on);

        // Unplugged: the next tuning fails.
        census.chips.clear();
        port.Fail(Kind::Write, FT_IO_ERROR, port.Count(Kind::Write));
        Form1().freq_upClick();
        const QString lost = on ? TAutoReconnect::WaitingText : u"Error USB -"_s + Tsdr::StatusText(FT_IO_ERROR);
        EXPECT_TRUE(QTest::qWaitFor([&] { return Status() == lost; }));
        reconnection.UsbChanged();
        QTest::qWait(TAutoReconnect::SettleTime.count() + 100);

        port.ClearCalls();
        census.chips = {receiver};
        reconnection.UsbChanged();
        if (on) {
            ASSERT_TRUE(QTest::qWaitFor([this] { return Status() == Credit; }));
            EXPECT_EQ(Opened(), QStringList{u"1-1.2"_s});
            EXPECT_EQ(Words(), StartWords(Form1().frecuencia));
        } else {
            QTest::qWait(TAutoReconnect::SettleTime.count() + 100);
            EXPECT_TRUE(port.Calls().empty());
        }
    }
}

// Without hot-plug events, the chips are listed every so often; a chip that cannot be opened
// yet is tried again for a while.
TEST_F(ReceiverTest, WithoutHotplugThePollFindsTheReceiverAndRetriesABusyOne)
{
    const TFtdiChip receiver = ListedChip(u"RX1"_s, u"1-1.2"_s);
    StartWith({receiver});
    TAutoReconnect polling(Form1(), program->Receivers, &Form1(), false);
    polling.SetEnabled(true);
    census.chips.clear();
    port.Fail(Kind::Write, FT_IO_ERROR, port.Count(Kind::Write));
    Form1().freq_upClick();
    polling.WriteFailed(); // as the program's port tells its own reconnection, which is off
    ASSERT_TRUE(QTest::qWaitFor([this] { return Status() == TAutoReconnect::WaitingText; }));
    // Past the tries that follow the loss: only a look at the chips can find it now.
    QTest::qWait((TAutoReconnect::SettleTime + TAutoReconnect::RetryTime).count() + 200);

    port.ClearCalls();
    // udev has not yet given the new node its rights
    port.Fail(Kind::Open, FT_DEVICE_NOT_OPENED, 0);
    port.Fail(Kind::Open, FT_DEVICE_NOT_OPENED, 1);
    census.chips = {receiver};
    ASSERT_TRUE(QTest::qWaitFor([this] { return Status() == Credit; }, 4000));
    EXPECT_EQ(Opened(), (QStringList{u"1-1.2"_s, u"1-1.2"_s, u"1-1.2"_s}));
}

// The clock is kept per receiver and gives the tuning word at once and at the next start; the
// dialog links hertz and ppm and scales by a known signal.
TEST_F(ReceiverTest, CalibrationAppliesAtOnceAndIsKeptForThatReceiver)
{
    const TFtdiChip receiver = ListedChip(u"RX1"_s, u"1-1.2"_s);
    StartWith({receiver});
    port.ClearCalls();
    program->ReceiverMenu->ApplyClock(75'001'500);
    const std::uint32_t word = TuningWord(Form1().frecuencia, 75'001'500);
    EXPECT_EQ(Words(), (std::vector<std::uint16_t>{0x0020, std::uint16_t(0x4000 + (word & 0x3FFF)), 0x1020,
                                                   std::uint16_t(0x4000 + (word >> 14))}));

    StartWith({receiver});
    EXPECT_EQ(Words(), StartWords(Form1().frecuencia, 75'001'500));
    StartWith({ListedChip(u"RX2"_s, u"1-1.2"_s)}, TProgramOptions{{}, {}, u"RX2"_s});
    EXPECT_EQ(Words(), StartWords(Form1().frecuencia));
    // A clock mistyped in the settings, or more than 1,000 ppm off, is not a calibration.
    const std::pair<QString, std::int64_t> kept[] = {{u"7500000"_s, 75'000'000},  {u"75 MHz"_s, 75'000'000},
                                                     {u"75075001"_s, 75'000'000}, {u"75075000"_s, 75'075'000},
                                                     {u"74924999"_s, 75'000'000}, {u"74925000"_s, 74'925'000}};
    for (const auto &[text, clock] : kept) {
        QSettings(SettingsPath(), QSettings::IniFormat).setValue(u"referenceClock/serial-RX1"_s, text);
        StartWith({receiver});
        EXPECT_EQ(Words(), StartWords(Form1().frecuencia, clock)) << text.toStdString();
    }

    TCalibrationDialog dialog(75'000'000, 10'000'000, nullptr);
    dialog.PpmBox->setValue(20);
    EXPECT_EQ(dialog.Clock(), 75'001'500);
    dialog.ClockBox->setValue(74'999'250);
    EXPECT_DOUBLE_EQ(dialog.PpmBox->value(), -10);
    // Zero beat with a 10,000.200 kHz carrier while the readout shows 10,000 kHz.
    dialog.KnownBox->setValue(10'000.2);
    EXPECT_TRUE(dialog.FromKnownSignal());
    EXPECT_EQ(dialog.Clock(), 75'000'750); // 74,999,250 x 10,000,200 / 10,000,000, rounded
    dialog.KnownBox->setValue(10'020);
    EXPECT_FALSE(dialog.FromKnownSignal());
    EXPECT_EQ(dialog.Clock(), 75'000'750);
    EXPECT_EQ(dialog.Problem->text(), u"10,020.000 kHz is more than 1,000 ppm away from the readout: not a calibration."_s);
    dialog.findChild<QPushButton *>(u"reset"_s)->click();
    EXPECT_EQ(dialog.Clock(), 75'000'000);
    EXPECT_DOUBLE_EQ(dialog.PpmBox->value(), 0);
}

// Every text about the receiver's chip that the program puts on the status line fits it whole at
// its designed size (FTDI's serials have 8 characters, a process name up to 15); where a text is
// short for a longer one, the line's tooltip and accessible description carry the whole.
TEST_F(ReceiverTest, TheProgramsOwnTextsFitTheStatusLine)
{
    StartWith({});
    TFtdiChip held = ListedChip(u"A50285BI"_s, u"1-1.2"_s, 4'194'304, u"ttyUSB1"_s);
    held.holderProgram = u"gnuradio-compan"_s;
    const TFtdiChip other = ListedChip(u"FTA1B2C3"_s, u"1-1.2"_s);
    const TReceiverIdentity remembered{u"A50285BI"_s, u"1-1.2"_s};
    const QList<TReceiverPick> refusals{
        PickReceiver(QList<TFtdiChip>(12, other), {}, {}, {}),
        PickReceiver({other}, remembered, {}, {}),
        PickReceiver({held}, {}, {}, {}),
        PickReceiver({other}, {}, u"A50285BI"_s, {}),
    };
    QStringList texts{TAutoReconnect::WaitingText, u"Reconnecting the receiver\u2026"_s, Credit};
    for (const TReceiverPick &refusal : refusals)
        texts << refusal.refusal;
    const QFontMetrics metrics(Form1().info->font());
    const int room = Form1().info->contentsRect().width();
    EXPECT_EQ(room, 385);
    for (const QString &text : std::as_const(texts))
        EXPECT_LE(metrics.horizontalAdvance(text), room) << text.toStdString();

    Form1().ShowStatus(refusals[2].refusal, refusals[2].detail);
    EXPECT_EQ(Form1().info->text(), u"Chip A50285BI is in use by gnuradio-compan: see menu, Receiver"_s);
    EXPECT_EQ(Form1().info->toolTip(), refusals[2].detail);
    EXPECT_EQ(Form1().info->accessibleDescription(), refusals[2].detail);
}

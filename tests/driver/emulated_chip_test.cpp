#include "emulated_usb.h"
#include "ftdi_census.h"
#include "ftdi_chip_printer.h"
#include "ftdi_d2xx.h"
#include "qt_printers.h"
#include "sdr.h"
#include "synthesizer_decoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::Literals::StringLiterals;
using Words = std::vector<std::uint16_t>;

namespace {

const QString IoError = u"Error USB -"_s + Tsdr::StatusText(FT_IO_ERROR);
const Words StartUp = InitialisationWords();

Words Then(Words words, const Words &more)
{
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

// The driver over the real libftdi and libusb, against FT232R chips that umockdev emulates.
class EmulatedChipTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_EMULATED_USB();
        usb.emplace();
    }
    void TearDown() override
    {
        sdr.reset();
        port.reset();
        usb.reset();
    }
    // The driver, its device opened and the synthesizer initialised, the change's read-back done.
    void Start()
    {
        port.emplace();
        sdr.emplace(nullptr, *port);
        sdr->OnMessage = [this](Tsdr *, const QString &text) { messages << text; };
        sdr->Initialize();
        QCoreApplication::processEvents();
    }
    void Tune(std::int32_t frequency)
    {
        sdr->SetFrequency(frequency);
        QCoreApplication::processEvents();
    }

    std::optional<TEmulatedUsb> usb;
    std::optional<FtdiD2xx> port;
    std::optional<Tsdr> sdr;
    QStringList messages;
};

} // namespace

// libftdi's own requests as it opens the chip (its reset and 9600 baud), then the driver's: latency
// 1 ms, all pins outputs in synchronous bit-bang mode (wValue 0x04FF), and the divisor of 115,200
// baud (3 MHz / 115,200 = 26); then the start-up words and 200 changes exact on the pins, each
// change four OUT transfers and one IN.
TEST_F(EmulatedChipTest, StartUpAndChangesReachThePinsExactly)
{
    TEmulatedFt232r &chip = usb->Plug();
    Start();
    Words expected = StartUp;
    for (int i = 0; i < 200; ++i) {
        const std::int32_t frequency = 50'000 + i * 349'871;
        Tune(frequency);
        expected = Then(expected, ChangeWords(frequency));
    }
    sdr.reset();

    EXPECT_EQ(messages, QStringList{Tsdr::CreditText()});
    EXPECT_EQ(WordsOnThePins(chip), expected);
    // wIndex 1: the chip's one interface, A; for the rate it carries the divisor's high bits.
    EXPECT_EQ(chip.Requests(), (std::vector<TControlRequest>{{0x40, 0x00, 0x0000, 1},
                                                             {0x40, 0x03, 0x4138, 0}, // 312.5: 312 and 4/8
                                                             {0x40, 0x09, 0x0001, 1},
                                                             {0x40, 0x0B, 0x04FF, 1},
                                                             {0x40, 0x03, 0x001A, 0}}));
    EXPECT_EQ(chip.OutTransfers(), 4 * 201);
    EXPECT_EQ(chip.InTransfers(), 201);
}

// A chip that returns no samples: the read-back's failure is reported once with the next change,
// and that change still reaches the pins whole.
TEST_F(EmulatedChipTest, AFailedReadBackCostsNoWord)
{
    TEmulatedFt232r &chip = usb->Plug();
    chip.SetReturnsSamples(false);
    Start();
    Tune(14'200'000);
    Tune(7'100'000);

    EXPECT_EQ(WordsOnThePins(chip), Then(Then(StartUp, ChangeWords(14'200'000)), ChangeWords(7'100'000)));
    ASSERT_GE(messages.size(), 2);
    EXPECT_EQ(messages.front(), Tsdr::CreditText());
    // The failure once for the write, then for each bit of the next word, as every failure is.
    EXPECT_EQ(messages.count(IoError), messages.size() - 1);
}

// A chip that stops taking bytes: the change fails within a fraction of a second, not libftdi's
// default five seconds a word, and its other words are not sent; once it takes bytes again, the
// next change goes whole. A chip that holds less than the FT232R is read back sooner and loses
// nothing.
TEST_F(EmulatedChipTest, AWedgedChipFailsQuicklyAndASmallOneLosesNothing)
{
    TEmulatedFt232r &wedged = usb->Plug(ChipAt(1, u"WEDGED"_s));
    Start();
    wedged.Clear();
    wedged.SetTakesBytes(false);
    QElapsedTimer clock;
    clock.start();
    Tune(10'000'000);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(wedged.OutTransfers(), 1);
    EXPECT_EQ(messages.back(), IoError);
    wedged.SetTakesBytes(true);
    Tune(10'001'000);
    EXPECT_EQ(WordsOnThePins(wedged), ChangeWords(10'001'000));
    sdr.reset();
    port.reset();
    usb->Unplug(wedged);

    messages.clear();
    TEmulatedChipSetup small = ChipAt(2, u"SMALL"_s);
    small.receiveBuffer = 64;
    small.sampleQueue = 64;
    TEmulatedFt232r &clone = usb->Plug(small);
    Start();
    Tune(3'500'000);
    Tune(3'600'000);
    EXPECT_EQ(messages, QStringList{Tsdr::CreditText()});
    EXPECT_EQ(WordsOnThePins(clone), Then(Then(StartUp, ChangeWords(3'500'000)), ChangeWords(3'600'000)));
}

// The census over the emulated /sys and /dev: the strings, the port, the serial driver and its
// tty, the by-id link, and the process holding that tty.
TEST_F(EmulatedChipTest, TheCensusListsTheChipsAsTheSystemShowsThem)
{
    const TSystemFtdiCensus census;
    EXPECT_TRUE(census.Chips().isEmpty());

    usb->Plug(ChipAt(3, u"RX1"_s));
    usb->Plug(ChipAt(1, u"TWIN"_s));
    usb->Plug(ChipAt(2, u"TWIN"_s));
    TEmulatedChipSetup cat = ChipAt(4, u"CAT7"_s);
    cat.tty = u"ttyUSB0"_s;
    usb->Plug(cat);
    THeldTty flrig(cat.tty, u"flrig"_s);
    QString why;
    const bool held = flrig.Start(&why);

    const auto chip = [](const QString &serial, const QString &port) {
        TFtdiChip expected;
        expected.manufacturer = u"FTDI"_s;
        expected.product = u"FT232R USB UART"_s;
        expected.serial = serial;
        expected.portPath = port;
        return expected;
    };
    TFtdiChip catChip = chip(u"CAT7"_s, u"1-4"_s);
    catChip.serialDriverBound = true;
    catChip.tty = u"ttyUSB0"_s;
    catChip.serialById = u"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_CAT7-if00-port0"_s;
    if (held) {
        catChip.holderProgram = u"flrig"_s;
        catChip.holderPid = flrig.Pid();
    }
    EXPECT_EQ(census.Chips(), (QList<TFtdiChip>{chip(u"TWIN"_s, u"1-1"_s), chip(u"TWIN"_s, u"1-2"_s),
                                                chip(u"RX1"_s, u"1-3"_s), catChip}));
    if (!held)
        GTEST_SKIP() << why.toStdString();
}

// FT_OpenEx opens the chip in the port the census named, whatever libusb's order: the words reach
// that chip alone.
TEST_F(EmulatedChipTest, ALocationOpensTheChipInThatPort)
{
    TEmulatedFt232r &first = usb->Plug(ChipAt(1, u"TWIN"_s));
    TEmulatedFt232r &second = usb->Plug(ChipAt(2, u"TWIN"_s));
    for (TEmulatedFt232r *chip : {&second, &first}) {
        FtdiD2xx d2xx;
        FT_HANDLE handle = 0;
        ASSERT_EQ(d2xx.FT_OpenEx(chip->PortPath().toStdString(), &handle), FT_OK);
        ASSERT_EQ(d2xx.FT_SetBitMode(handle, 0xFF, FT_BITMODE_SYNC_BITBANG), FT_OK);
        const std::uint8_t byte = chip == &first ? 0x11 : 0x22;
        std::uint32_t written = 0;
        EXPECT_EQ(d2xx.FT_Write(handle, &byte, 1, &written), FT_OK);
        EXPECT_EQ(d2xx.FT_Close(handle), FT_OK);
    }
    EXPECT_EQ(first.Pins(), std::vector<std::uint8_t>{0x11});
    EXPECT_EQ(second.Pins(), std::vector<std::uint8_t>{0x22});
}

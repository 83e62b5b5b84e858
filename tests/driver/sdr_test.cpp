#include "recording_d2xx.h"
#include "sdr.h"
#include "synthesizer_decoder.h"
#include "tuning_word.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using testing::ElementsAre;
using testing::Each;
using Kind = RecordingD2xx::Kind;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A driver over the recording fake that keeps every text it reports.
struct DriverRig
{
    RecordingD2xx port;
    Tsdr sdr{nullptr, port};
    QStringList messages;

    explicit DriverRig(bool listen = true)
    {
        if (listen)
            sdr.OnMessage = [this](Tsdr *sender, const QString &text) {
                EXPECT_EQ(sender, &sdr);
                messages << text;
            };
    }
    std::vector<std::uint16_t> WrittenWords() const
    {
        std::vector<std::uint16_t> words;
        for (const Bytes &block : port.Writes()) {
            const std::vector<DecodedFrame> frames = DecodeFrames(block);
            EXPECT_EQ(block.size(), 52u);
            EXPECT_EQ(frames.size(), 1u);
            for (const DecodedFrame &f : frames) {
                EXPECT_EQ(f.bitCount, 16);
                words.push_back(f.word);
            }
        }
        return words;
    }
};

QString UsbError(const QString &text)
{
    return u"Error USB -"_s + text;
}

// The tuning word the way an x87 program computes it; only meaningful where long double is the
// 80-bit extended type.
std::uint32_t ExtendedPrecisionTuningWord(std::int32_t f, std::int64_t clock = 75'000'000)
{
    const volatile long double quotient = static_cast<long double>(f) / static_cast<long double>(clock);
    const volatile double stored = static_cast<double>(quotient);
    const long double product = static_cast<long double>(stored) * 268435455.0L;
    return static_cast<std::uint32_t>(std::llrint(product));
}

} // namespace

TEST(SdrInitialize, OpensIndexZeroInBitBangModeAndSendsFourWords)
{
    DriverRig rig;
    rig.sdr.Initialize();

    const auto &calls = rig.port.Calls();
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[0].kind, Kind::Open);
    EXPECT_EQ(calls[0].deviceIndex, 0);
    EXPECT_EQ(calls[1].kind, Kind::SetBitMode);
    EXPECT_EQ(calls[1].handle, RecordingD2xx::GivenHandle);
    EXPECT_EQ(calls[1].mask, 0xFF);
    EXPECT_EQ(calls[1].mode, 4);
    EXPECT_EQ(calls[2].kind, Kind::SetBaudRate);
    EXPECT_EQ(calls[2].baudRate, 115200u);
    EXPECT_EQ(rig.sdr.DeviceHandle, RecordingD2xx::GivenHandle);
    EXPECT_THAT(rig.WrittenWords(), ElementsAre(0x0120, 0xC000, 0xE000, 0x0020));
    EXPECT_EQ(rig.messages, QStringList{Tsdr::CreditText()});

    // Band pattern 000 throughout: every byte is one of the five serial-line states.
    for (const Bytes &block : rig.port.Writes())
        EXPECT_THAT(block, Each(testing::Le(5)));
    const Bytes first = rig.port.Writes().front();
    EXPECT_THAT(Bytes(first.begin(), first.begin() + 3), ElementsAre(5, 5, 1));
    EXPECT_EQ(first.back(), 5);
    EXPECT_EQ(rig.sdr.BandBits, 0);
}

// A chooser that names a chip, refuses, or gives a calibrated clock; it counts the openings.
struct ScriptedChooser final : TDeviceChooser
{
    TChoice choice;
    int opened = 0;
    TChoice Choose() override { return choice; }
    void Opened() override { ++opened; }
};

// The chooser decides where the driver opens and with what clock; a refusal opens nothing and
// is the only text; the calibrated clock changes the tuning word alone.
TEST(SdrChooser, OpensWhereItSaysOrNothingWithItsReason)
{
    DriverRig rig;
    ScriptedChooser chooser;
    rig.sdr.Chooser = &chooser;
    chooser.choice = {"1-1.2", {}, 75'001'500};
    rig.sdr.Initialize();
    ASSERT_EQ(rig.port.Calls().size(), 7u);
    EXPECT_EQ(rig.port.Calls()[0].portPath, "1-1.2");
    EXPECT_EQ(chooser.opened, 1);
    EXPECT_EQ(rig.messages, QStringList{Tsdr::CreditText()});
    rig.port.ClearCalls();
    rig.sdr.SetFrequency(30'000'000);
    const std::uint32_t word = TuningWord(30'000'000, 75'001'500);
    EXPECT_THAT(rig.WrittenWords(), ElementsAre(0x0020, 0x4000 + (word & 0x3FFF), 0x1020, 0x4000 + (word >> 14)));

    chooser.choice = {{}, u"2 FTDI chips found"_s};
    rig.port.ClearCalls();
    rig.messages.clear();
    rig.sdr.Reconnect();
    EXPECT_EQ(rig.port.Count(Kind::Open), 0);
    EXPECT_EQ(rig.port.Count(Kind::Write), 0);
    EXPECT_EQ(rig.port.Count(Kind::Close), 1);
    EXPECT_EQ(rig.messages, QStringList{u"2 FTDI chips found"_s});
    EXPECT_EQ(chooser.opened, 1);

    rig.port.Fail(Kind::Open, FT_DEVICE_NOT_OPENED);
    chooser.choice = {"2-1", {}};
    rig.messages.clear();
    rig.sdr.Reconnect();
    EXPECT_EQ(rig.port.Calls().back().portPath, "2-1");
    EXPECT_EQ(chooser.opened, 1);
    EXPECT_EQ(rig.messages, QStringList{UsbError(Tsdr::StatusText(FT_DEVICE_NOT_OPENED))});
}

TEST(SdrFraming, ControlWordAtBand96IsByteExact)
{
    DriverRig rig;
    rig.sdr.Initialize();
    rig.port.ClearCalls();
    rig.sdr.BandBits = 96;
    rig.sdr.WriteControlWord(); // 0x0020 after initialisation

    Bytes expected{0x65, 0x65, 0x61};
    auto cell = [&](int d) { expected.insert(expected.end(), {Bytes::value_type(0x61 + 2 * d), Bytes::value_type(0x60 + 2 * d), Bytes::value_type(0x61 + 2 * d)}); };
    for (int i = 0; i < 10; ++i)
        cell(0);
    cell(1);
    for (int i = 0; i < 5; ++i)
        cell(0);
    expected.push_back(0x65);
    ASSERT_EQ(rig.port.Writes().size(), 1u);
    EXPECT_EQ(rig.port.Writes()[0], expected);
}

TEST(SdrFraming, BitValueOtherThanOneIsSentAsZero)
{
    DriverRig rig;
    rig.sdr.Initialize();
    rig.sdr.BandBits = 0;
    rig.sdr.BeginWord();
    rig.sdr.AppendBit(2);
    rig.sdr.AppendBit(1);
    const Bytes built(Tsdr::TxBuffer.Bytes.begin(), Tsdr::TxBuffer.Bytes.begin() + Tsdr::TxBuffer.Length);
    EXPECT_THAT(built, ElementsAre(5, 5, 1, 1, 0, 1, 3, 2, 3));
}

TEST(SdrFrequency, FourteenPointTwoMegahertz)
{
    DriverRig rig;
    rig.sdr.Initialize();
    rig.port.ClearCalls();
    rig.messages.clear();
    rig.sdr.SetFrequency(14'200'000);

    EXPECT_EQ(rig.sdr.BandBits, 96);
    EXPECT_EQ(TuningWord(14'200'000), 50'823'779u);
    EXPECT_THAT(rig.WrittenWords(), ElementsAre(0x0020, 0x4263, 0x1020, 0x4C1E));
    for (const Bytes &block : rig.port.Writes())
        EXPECT_THAT(block, Each(testing::AllOf(testing::Ge(0x60), testing::Le(0x65))));
    EXPECT_TRUE(rig.messages.isEmpty());
    EXPECT_EQ(Tsdr::ControlBits[12], 1);
}

TEST(SdrFrequency, SameFrequencyIsSentAgain)
{
    DriverRig rig;
    rig.sdr.Initialize();
    rig.sdr.SetFrequency(7'000'000);
    rig.port.ClearCalls();
    rig.sdr.SetFrequency(7'000'000);
    EXPECT_EQ(rig.port.Count(Kind::Write), 4);
}

struct BandCase
{
    std::int32_t frequency;
    std::int32_t band;
};

void PrintTo(const BandCase &c, std::ostream *out)
{
    *out << c.frequency << " Hz";
}

class SdrBands : public testing::TestWithParam<BandCase>
{
};

TEST_P(SdrBands, BandBitsAndWordsOnTheWire)
{
    const BandCase c = GetParam();
    DriverRig rig;
    rig.sdr.Initialize();
    rig.port.ClearCalls();
    rig.sdr.SetFrequency(c.frequency);

    EXPECT_EQ(rig.sdr.BandBits, c.band);
    const std::uint32_t word = ExactTuningWord(c.frequency);
    EXPECT_THAT(rig.WrittenWords(), ElementsAre(0x0020, 0x4000 + (word & 0x3FFF), 0x1020, 0x4000 + (word >> 14)));
    for (const Bytes &block : rig.port.Writes())
        for (const std::uint8_t byte : block) {
            EXPECT_EQ(byte & 0x70, c.band);
            EXPECT_EQ(byte & 0x88, 0);
        }
}

INSTANTIATE_TEST_SUITE_P(Edges, SdrBands,
                         testing::Values(BandCase{50'000, 16}, BandCase{1'200'000, 16}, BandCase{1'200'001, 48},
                                         BandCase{5'000'000, 48}, BandCase{5'000'001, 64}, BandCase{9'000'000, 64},
                                         BandCase{9'000'001, 96}, BandCase{18'500'000, 96}, BandCase{18'500'001, 80},
                                         BandCase{28'000'000, 80}, BandCase{28'000'001, 112},
                                         BandCase{70'000'000, 112}),
                         [](const auto &info) { return "Hz" + std::to_string(info.param.frequency); });

TEST(SdrFrequency, OutOfRangeChangesNothing)
{
    DriverRig rig;
    rig.sdr.Initialize();
    rig.sdr.SetFrequency(14'200'000);
    const auto control = Tsdr::ControlBits;
    const auto frequency = Tsdr::FrequencyBits;
    rig.port.ClearCalls();
    for (const std::int32_t f : {49'999, 70'000'001, 0, -14'200'000, 100'000'000}) {
        rig.sdr.SetFrequency(f);
        EXPECT_EQ(rig.sdr.BandBits, 96) << f;
    }
    EXPECT_TRUE(rig.port.Calls().empty());
    EXPECT_EQ(Tsdr::ControlBits, control);
    EXPECT_EQ(Tsdr::FrequencyBits, frequency);
    EXPECT_TRUE(rig.messages.size() == 1); // the credit text only
}

TEST(SdrFrequency, HighestFrequencyWords)
{
    DriverRig rig;
    rig.sdr.Initialize();
    rig.port.ClearCalls();
    rig.sdr.SetFrequency(70'000'000);
    EXPECT_EQ(TuningWord(70'000'000), 0x0EEEEEEEu);
    EXPECT_THAT(rig.WrittenWords(), ElementsAre(0x0020, 0x6EEE, 0x1020, 0x7BBB));
}

TEST(TuningWordTest, ListedValuesIncludingTies)
{
    EXPECT_EQ(TuningWord(50'000), 178'957u);
    EXPECT_EQ(TuningWord(10'000'000), 35'791'394u);
    EXPECT_EQ(TuningWord(14'200'000), 50'823'779u);
    EXPECT_EQ(TuningWord(70'000'000), 250'539'758u);
    // Products that end in exactly one half: the extended-precision steps decide the last bit.
    EXPECT_EQ(TuningWord(27'500'000), 98'426'333u);
    EXPECT_EQ(TuningWord(32'500'000), 116'322'031u);
    EXPECT_EQ(TuningWord(7'500'000), 26'843'546u);
    EXPECT_EQ(TuningWord(47'500'000), 170'009'121u);
}

// Every accepted frequency, against the hardware's own extended arithmetic. Split in two so that
// ctest runs the halves side by side.
class TuningWordRange : public testing::TestWithParam<std::pair<std::int32_t, std::int32_t>>
{
};

TEST_P(TuningWordRange, AgreesWithX87ExtendedPrecision)
{
    if constexpr (std::numeric_limits<long double>::digits != 64) {
        GTEST_SKIP() << "long double is not the 80-bit extended type here";
    } else {
        const auto [first, last] = GetParam();
        int mismatches = 0;
        for (std::int32_t f = first; f <= last; ++f)
            if (TuningWord(f) != ExtendedPrecisionTuningWord(f) && ++mismatches < 5)
                ADD_FAILURE() << "f = " << f << ": " << TuningWord(f) << " against " << ExtendedPrecisionTuningWord(f);
        EXPECT_EQ(mismatches, 0);
    }
}

// A calibrated clock keeps the same rounding steps: every 997th frequency and both ends, for clocks
// a thousand ppm either side of 75 MHz, odd ones included.
TEST(TuningWordTest, CalibratedClocksAgreeWithX87ExtendedPrecision)
{
    if constexpr (std::numeric_limits<long double>::digits != 64) {
        GTEST_SKIP() << "long double is not the 80-bit extended type here";
    } else {
        for (const std::int64_t clock : {74'925'000LL, 74'998'500LL, 74'999'999LL, 75'000'001LL, 75'001'733LL, 75'075'000LL}) {
            int mismatches = 0;
            for (std::int32_t f = 50'000; f <= 70'000'000; f = f == 70'000'000 ? f + 1 : std::min(f + 997, 70'000'000))
                if (TuningWord(f, clock) != ExtendedPrecisionTuningWord(f, clock) && ++mismatches < 5)
                    ADD_FAILURE() << clock << " Hz clock, f = " << f << ": " << TuningWord(f, clock);
            EXPECT_EQ(mismatches, 0) << clock;
        }
        // A clock 20 ppm fast needs a word 20 ppm smaller for the same frequency.
        EXPECT_EQ(TuningWord(30'000'000, 75'001'500), 107'372'035u);
    }
}

INSTANTIATE_TEST_SUITE_P(Accepted, TuningWordRange,
                         testing::Values(std::pair{50'000, 35'000'000}, std::pair{35'000'001, 70'000'000}),
                         [](const auto &info) { return info.index == 0 ? "LowerHalf" : "UpperHalf"; });

TEST(SdrText, IntToBinary)
{
    EXPECT_EQ(Tsdr::IntToBinary(0), QString(32, u'0'));
    EXPECT_EQ(Tsdr::IntToBinary(0x3078263), u"00000011000001111000001001100011"_s);
    EXPECT_EQ(Tsdr::IntToBinary(-1), QString(32, u'1'));
    EXPECT_EQ(Tsdr::IntToBinary(INT32_MIN), u"1"_s + QString(31, u'0'));
}

struct StatusCase
{
    FT_STATUS status;
    const char16_t *text;
};

void PrintTo(const StatusCase &c, std::ostream *out)
{
    *out << "status " << c.status;
}

class SdrStatusTexts : public testing::TestWithParam<StatusCase>
{
};

// A failing open reports the status once and leaves the driver without a device.
TEST_P(SdrStatusTexts, FailedOpenReportsTheTextOnceAndStaysSilent)
{
    const StatusCase c = GetParam();
    DriverRig rig;
    rig.port.Fail(Kind::Open, c.status);
    rig.sdr.Initialize();
    rig.sdr.SetFrequency(14'200'000);

    EXPECT_EQ(rig.messages, QStringList{UsbError(QString::fromUtf16(c.text))});
    EXPECT_EQ(rig.port.Calls().size(), 1u);
    EXPECT_EQ(rig.sdr.DeviceHandle, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SdrStatusTexts,
    testing::Values(StatusCase{1, u"Handle inválido-Invalid handle"},
                    StatusCase{2, u"Dispositivo no encontrado - Device not found"},
                    StatusCase{3, u"Dispositivo no abierto-Devide not openend"},
                    StatusCase{4, u"Error de entrada/salida- In out error"},
                    StatusCase{5, u"Recursos insuficientes-INSUFFICIENT RESOURCES"},
                    StatusCase{6, u"Parametro invalido-INVALID PARAMETER"},
                    StatusCase{7, u"Baud Rate inválido-INVALID BAUD_RATE"},
                    StatusCase{8, u"Dispositivo na abierto para borrar"},
                    StatusCase{9, u"Dispositivo no habierto para escritura"},
                    StatusCase{10, u"Fallo al escribir en el dispositivo"},
                    StatusCase{11, u"EEPROM fallo de lectura"}, StatusCase{12, u"EEPROM fallo de escritura"},
                    StatusCase{13, u"EEPROM fallo de borrado"}, StatusCase{14, u"EEPROM no presente"},
                    StatusCase{15, u"EEPROM no programada"}, StatusCase{16, u"Argumento no válido"},
                    StatusCase{17, u"No soportado-NOT SUPPORTED"},
                    StatusCase{18, u"Error no determinado Nro: 18"},
                    StatusCase{9999, u"Error no determinado Nro: 9999"},
                    StatusCase{-1, u"Error no determinado Nro: -1"}),
    [](const auto &info) {
        const FT_STATUS s = info.param.status;
        return (s < 0 ? "Minus" : "Status") + std::to_string(s < 0 ? -s : s);
    });

TEST(SdrStatusText, AccentedLettersAreRealCharacters)
{
    EXPECT_EQ(Tsdr::StatusText(1).at(10), QChar(0x00E1));
    EXPECT_EQ(Tsdr::StatusText(16).size(), 19);
}

TEST(SdrFailures, NoDeviceMeansNoFurtherCallsNotEvenClose)
{
    RecordingD2xx port;
    {
        Tsdr sdr(nullptr, port);
        QStringList messages;
        sdr.OnMessage = [&](Tsdr *, const QString &text) { messages << text; };
        port.Fail(Kind::Open, FT_DEVICE_NOT_FOUND);
        sdr.Initialize();
        for (std::int32_t f = 7'000'000; f < 7'010'000; f += 1000)
            sdr.SetFrequency(f);
        EXPECT_EQ(messages, QStringList{u"Error USB -Dispositivo no encontrado - Device not found"_s});
        // The state still follows the requests.
        EXPECT_EQ(sdr.BandBits, 64);
        EXPECT_EQ(Tsdr::ControlBits[12], 1);
        EXPECT_EQ(Tsdr::ControlBits[5], 1);
        EXPECT_EQ(Tsdr::ControlBits[8], 0);
    }
    EXPECT_EQ(port.Calls().size(), 1u);
}

TEST(SdrFailures, DestroyingAnOpenDriverClosesOnce)
{
    RecordingD2xx port;
    {
        Tsdr sdr(nullptr, port);
        sdr.Initialize();
        sdr.SetFrequency(14'200'000);
    }
    EXPECT_EQ(port.Count(Kind::Close), 1);
    EXPECT_EQ(port.Calls().back().kind, Kind::Close);
    EXPECT_EQ(port.Calls().back().handle, RecordingD2xx::GivenHandle);
}

TEST(SdrFailures, DestroyedWithItsOwner)
{
    RecordingD2xx port;
    auto *owner = new QObject;
    auto *sdr = new Tsdr(owner, port);
    sdr->Initialize();
    delete owner;
    EXPECT_EQ(port.Count(Kind::Close), 1);
}

TEST(SdrFailures, FailedCloseIsNotReported)
{
    RecordingD2xx port;
    QStringList messages;
    {
        Tsdr sdr(nullptr, port);
        sdr.OnMessage = [&](Tsdr *, const QString &text) { messages << text; };
        port.Fail(Kind::Close, FT_IO_ERROR);
        sdr.Initialize();
    }
    EXPECT_EQ(messages, QStringList{Tsdr::CreditText()});
}

TEST(SdrFailures, FailedModeCallIsHiddenByTheRateCall)
{
    DriverRig rig;
    rig.port.Fail(Kind::SetBitMode, FT_IO_ERROR);
    rig.sdr.Initialize();
    EXPECT_EQ(rig.messages, QStringList{Tsdr::CreditText()});
    EXPECT_EQ(rig.port.Count(Kind::Write), 4);
}

TEST(SdrFailures, FailedRateCallIsReportedForEveryBitOfTheFirstWord)
{
    DriverRig rig;
    rig.port.Fail(Kind::SetBaudRate, FT_INVALID_BAUD_RATE);
    rig.sdr.Initialize();

    QStringList expected{Tsdr::CreditText()};
    for (int bit = 0; bit < 16; ++bit)
        expected << UsbError(u"Baud Rate inválido-INVALID BAUD_RATE"_s);
    EXPECT_EQ(rig.messages, expected);
    EXPECT_EQ(rig.port.Count(Kind::Write), 4);
    EXPECT_EQ(Tsdr::LastStatus, FT_OK);
}

TEST(SdrFailures, FailedWriteIsReportedThenOncePerBitOfTheNextWord)
{
    DriverRig rig;
    rig.sdr.Initialize();
    rig.messages.clear();
    rig.port.ClearCalls();
    rig.port.Fail(Kind::Write, FT_IO_ERROR, 0); // the first word of the change
    rig.sdr.SetFrequency(14'200'000);

    QStringList expected;
    for (int i = 0; i < 17; ++i)
        expected << UsbError(u"Error de entrada/salida- In out error"_s);
    EXPECT_EQ(rig.messages, expected);
    EXPECT_EQ(rig.port.Count(Kind::Write), 4); // the rest of the change is still attempted
    EXPECT_EQ(Tsdr::LastStatus, FT_OK);
}

TEST(SdrFailures, EveryWriteFailingKeepsTuning)
{
    DriverRig rig;
    rig.sdr.Initialize();
    rig.messages.clear();
    rig.port.ClearCalls();
    rig.port.Fail(Kind::Write, 9999);
    rig.sdr.SetFrequency(7'050'000);
    rig.sdr.SetFrequency(7'060'000);
    EXPECT_EQ(rig.port.Count(Kind::Write), 8);
    // One report per write, sixteen more for the bits of every word after a failed one.
    EXPECT_EQ(rig.messages.size(), 8 + 7 * 16);
    EXPECT_THAT(rig.messages.toVector(), Each(UsbError(u"Error no determinado Nro: 9999"_s)));
}

TEST(SdrFailures, UnassignedEventDropsTheTexts)
{
    DriverRig rig(false);
    rig.port.Fail(Kind::Open, FT_DEVICE_NOT_FOUND);
    EXPECT_NO_THROW(rig.sdr.Initialize());
    EXPECT_EQ(Tsdr::LastStatus, FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(rig.port.Calls().size(), 1u);
}

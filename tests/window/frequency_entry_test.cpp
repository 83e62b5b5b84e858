#include "frequency_entry.h"
#include "spoken_words.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Reading
{
    const char16_t *text;
    TEntrySource source;
    std::int32_t hertz; // 0: refused with `refusal`
    const char16_t *refusal;
};

void PrintTo(const Reading &reading, std::ostream *out)
{
    *out << QString::fromUtf16(reading.text).toStdString();
}

class FrequencyReading : public testing::TestWithParam<Reading>
{
};

constexpr auto Typed = TEntrySource::Typed;
constexpr auto Pasted = TEntrySource::Pasted;

} // namespace

TEST_P(FrequencyReading, HertzOrTheReasonWhyNot)
{
    const Reading &expected = GetParam();
    const TFrequencyReading reading = ReadFrequency(QString::fromUtf16(expected.text), expected.source);
    if (expected.hertz != 0) {
        EXPECT_EQ(reading.hertz, expected.hertz);
        EXPECT_TRUE(reading.refusal.isEmpty());
    } else {
        EXPECT_FALSE(reading.hertz.has_value());
        EXPECT_EQ(reading.refusal, QString::fromUtf16(expected.refusal));
    }
}

INSTANTIATE_TEST_SUITE_P(
    TypedAndPasted, FrequencyReading,
    testing::Values(
        // Kilohertz unless a unit says otherwise; either separator.
        Reading{u"7074", Typed, 7'074'000, u""}, Reading{u"14200.5", Typed, 14'200'500, u""},
        Reading{u"14200,5", Typed, 14'200'500, u""}, Reading{u"14.2m", Typed, 14'200'000, u""},
        Reading{u"14.2M", Typed, 14'200'000, u""}, Reading{u"600k", Typed, 600'000, u""},
        Reading{u".5m", Typed, 500'000, u""}, Reading{u"7074.001", Typed, 7'074'001, u""},
        Reading{u"50", Typed, 50'000, u""}, Reading{u"70000", Typed, 70'000'000, u""},
        Reading{u"70000000h", Typed, 70'000'000, u""},
        // Typed, a whole number stays kilohertz however large.
        Reading{u"70001", Typed, 0, u"Out of range: 70001 kHz (50 to 70000 kHz)"},
        Reading{u"80000", Typed, 0, u"Out of range: 80000 kHz (50 to 70000 kHz)"},
        Reading{u"49.999", Typed, 0, u"Out of range: 49.999 kHz (50 to 70000 kHz)"},
        Reading{u"123456789", Typed, 0, u"Too many digits: 123456789 (at most 8)"},
        Reading{u"14.200.5", Typed, 0, u"Two decimal separators: 14.200.5"},
        Reading{u"7074.0005", Typed, 0, u"Finer than 1 Hz: 7074.0005"},
        Reading{u"14.2mz", Typed, 0, u"Unknown unit: 14.2mz (Hz, kHz or MHz)"},
        Reading{u".", Typed, 0, u"Not a frequency: ."},
        // Pasted: what the panel copies comes back as hertz; units may be spelt out.
        Reading{u"7074000", Pasted, 7'074'000, u""}, Reading{u"50000", Pasted, 50'000, u""},
        Reading{u"49999", Pasted, 49'999'000, u""},
        Reading{u"7074", Pasted, 7'074'000, u""}, Reading{u" 6070 kHz ", Pasted, 6'070'000, u""},
        Reading{u"14.2 MHz", Pasted, 14'200'000, u""}, Reading{u"7074000 Hz", Pasted, 7'074'000, u""},
        Reading{u"7074000hz", Pasted, 7'074'000, u""}, Reading{u"14200.5", Pasted, 14'200'500, u""},
        Reading{u"7,074,000", Pasted, 0, u"Two decimal separators: 7,074,000"},
        Reading{u"7 074 000", Pasted, 0, u"Unknown unit: 7 074 000 (Hz, kHz or MHz)"},
        Reading{u"7074000.5 Hz", Pasted, 0, u"Finer than 1 Hz: 7074000.5 Hz"},
        Reading{u"", Pasted, 0, u"Not a frequency: "},
        Reading{u"QSO at\n14074 with an extremely long note attached to it", Pasted, 0,
                u"Not a frequency: QSO at 14074 with an extremely long note..."}));

TEST(TypedReadout, TheNumberAsTypedOrTurnedIntoKilohertz)
{
    EXPECT_EQ(TypedReadout(u"7074"_s), u"7074"_s);
    EXPECT_EQ(TypedReadout(u"14200,5"_s), u"14200,5"_s);
    EXPECT_EQ(TypedReadout(u"600k"_s), u"600"_s);
    EXPECT_EQ(TypedReadout(u"14.2m"_s), u"14200"_s);
    EXPECT_EQ(TypedReadout(u"7074001h"_s), u"7074.001"_s);
    // What cannot be turned shows as typed.
    EXPECT_EQ(TypedReadout(u"1.2345678m"_s), u"1.2345678"_s);
    EXPECT_EQ(TypedReadout(u"14.2x"_s), u"14.2"_s);
    EXPECT_EQ(TypedReadout(u"123456789m"_s), u"123456789"_s);
}

TEST(SpokenReadout, WordsForAssistiveTools)
{
    EXPECT_EQ(SpokenFrequency(14'200'000), u"14,200.000 kHz"_s);
    EXPECT_EQ(SpokenFrequency(70'001), u"70.001 kHz"_s);
    EXPECT_EQ(SpokenTyping(u"7074"_s), u"Typing 7074 kHz"_s);
    EXPECT_EQ(SpokenTyping(u"14.2m"_s), u"Typing 14.2 MHz"_s);
    EXPECT_EQ(SpokenTyping(u"7074000h"_s), u"Typing 7074000 Hz"_s);
}

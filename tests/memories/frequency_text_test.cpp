#include "frequency_text.h"

#include <gtest/gtest.h>

#include <climits>

using namespace Qt::Literals::StringLiterals;

struct TextCase
{
    const char16_t *text;
    std::optional<std::int32_t> value;
};

void PrintTo(const TextCase &c, std::ostream *out)
{
    *out << '"' << QString::fromUtf16(c.text).toStdString() << '"';
}

class FrequencyFromTextTest : public testing::TestWithParam<TextCase>
{
};

TEST_P(FrequencyFromTextTest, ConvertsOrFails)
{
    const TextCase c = GetParam();
    EXPECT_EQ(FrequencyFromText(QString::fromUtf16(c.text)), c.value) << QString::fromUtf16(c.text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    MemoryTexts, FrequencyFromTextTest,
    testing::Values(
        // accepted
        TextCase{u"7050000", 7'050'000}, TextCase{u"  7050000", 7'050'000}, TextCase{u"+7050000", 7'050'000},
        TextCase{u"$6B9310", 7'050'000}, TextCase{u"$6b9310", 7'050'000}, TextCase{u"x6B9310", 7'050'000},
        TextCase{u"X6B9310", 7'050'000}, TextCase{u"0x6B9310", 7'050'000}, TextCase{u"0X6b9310", 7'050'000},
        TextCase{u"0007050000", 7'050'000}, TextCase{u"-14200000", -14'200'000}, TextCase{u"0", 0},
        TextCase{u"100000000", 100'000'000}, TextCase{u"2147483647", INT_MAX}, TextCase{u"-2147483648", INT_MIN},
        TextCase{u"$FFFFFFFF", -1}, TextCase{u"$80000000", INT_MIN}, TextCase{u"$000000006B9310", 7'050'000},
        TextCase{u"  $10", 16},
        // rejected
        TextCase{u"7050000 ", std::nullopt}, TextCase{u"7.05", std::nullopt}, TextCase{u"7,050,000", std::nullopt},
        TextCase{u"", std::nullopt}, TextCase{u"   ", std::nullopt}, TextCase{u"3000000000", std::nullopt},
        TextCase{u"2147483648", std::nullopt}, TextCase{u"-2147483649", std::nullopt},
        TextCase{u"$100000000", std::nullopt}, TextCase{u"-$10", std::nullopt}, TextCase{u"+$10", std::nullopt},
        TextCase{u"$", std::nullopt}, TextCase{u"0x", std::nullopt}, TextCase{u"+", std::nullopt},
        TextCase{u"-", std::nullopt}, TextCase{u"7.050 MHz", std::nullopt}, TextCase{u"\t7050000", std::nullopt},
        TextCase{u"7050000\n", std::nullopt}, TextCase{u"$6G", std::nullopt}, TextCase{u"1e6", std::nullopt},
        TextCase{u"\u0667050000", std::nullopt} /* an Arabic-Indic seven is not a digit here */),
    [](const auto &info) { return "Case" + std::to_string(info.index); });

TEST(CheckedArithmetic, OverflowThrowsIntegerOverflow)
{
    EXPECT_EQ(CheckedAdd(INT_MAX - 10, 10), INT_MAX);
    EXPECT_EQ(CheckedSubtract(INT_MIN + 10, 10), INT_MIN);
    try {
        CheckedAdd(INT_MAX - 9, 10);
        FAIL();
    } catch (const EIntOverflow &error) {
        EXPECT_STREQ(error.what(), "Integer overflow");
    }
    EXPECT_THROW(CheckedSubtract(INT_MIN + 9, 10), EIntOverflow);
}

#include "display_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int Precision = 18;

} // namespace

std::string FormatFixed(double value, int fractionDigits)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    const int decimals = std::clamp(fractionDigits, 0, Precision);

    // The value to 18 significant digits: digits[0] stands for 10^exponent.
    std::array<char, Precision> digits{};
    int exponent = 0;
    if (value != 0) {
        std::array<char, 40> buffer{};
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                          std::chars_format::scientific, Precision - 1);
        digits[0] = buffer[0];
        std::copy(buffer.begin() + 2, buffer.begin() + 1 + Precision, digits.begin() + 1);
        const char *e = std::find(buffer.data(), result.ptr, 'e');
        exponent = std::atoi(e + 1);
    } else {
        digits.fill('0');
    }

    if (exponent + 1 > Precision) {
        std::string text = value < 0 ? "-" : "";
        text += digits[0];
        text += '.';
        text.append(digits.begin() + 1, digits.end());
        text += exponent >= 0 ? "E+" : "E-";
        text += std::to_string(std::abs(exponent));
        return text;
    }

    // Keep the digits down to 10^-decimals, rounding the first dropped digit half up.
    const int kept = exponent + 1 + decimals; // how many of the 18 digits stay
    std::string magnitude(digits.begin(), digits.begin() + std::clamp(kept, 0, Precision));
    int leadingPower = exponent; // the power of ten of magnitude[0]
    if (kept < Precision && kept >= 0 && digits[static_cast<std::size_t>(kept)] >= '5') {
        int i = kept - 1;
        while (i >= 0 && magnitude[static_cast<std::size_t>(i)] == '9')
            magnitude[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++magnitude[static_cast<std::size_t>(i)];
        } else {
            magnitude.insert(magnitude.begin(), '1');
            ++leadingPower;
        }
    }

    // Lay the digits out around the point.
    std::string integerPart;
    std::string fraction(static_cast<std::size_t>(decimals), '0');
    for (std::size_t i = 0; i < magnitude.size(); ++i) {
        const int power = leadingPower - static_cast<int>(i);
        if (power >= 0)
            integerPart += magnitude[i];
        else if (-power <= decimals)
            fraction[static_cast<std::size_t>(-power - 1)] = magnitude[i];
    }
    if (integerPart.empty())
        integerPart = "0";

    const bool allZero = std::all_of(magnitude.begin(), magnitude.end(), [](char c) { return c == '0'; });
    std::string text = value < 0 && !allZero ? "-" : "";
    text += integerPart;
    if (decimals > 0) {
        text += '.';
        text += fraction;
    }
    return text;
}

TDisplayText MakeDisplayText(double value, int fractionDigits, int numDigits)
{
    TDisplayText shown;
    shown.Characters = FormatFixed(value, fractionDigits);
    if (const auto point = shown.Characters.find('.'); point != std::string::npos) {
        shown.Characters.erase(point, 1);
        shown.SeparatorPosition = static_cast<int>(point) + 1;
    }
    const int missing = numDigits - static_cast<int>(shown.Characters.size());
    if (missing > 0) {
        shown.Characters.insert(0, static_cast<std::size_t>(missing), '0');
        if (shown.SeparatorPosition > 0)
            shown.SeparatorPosition += missing;
    }
    return shown;
}

TDisplayText MakeTypedText(const QString &typed, int numDigits)
{
    TDisplayText shown;
    for (const QChar character : typed) {
        if ((character == u'.' || character == u',') && shown.SeparatorPosition == 0)
            shown.SeparatorPosition = static_cast<int>(shown.Characters.size()) + 1;
        else
            shown.Characters += character >= u'0' && character <= u'9' ? static_cast<char>(character.unicode()) : ' ';
    }
    const int extra = static_cast<int>(shown.Characters.size()) - numDigits;
    if (extra > 0) {
        shown.Characters.erase(0, static_cast<std::size_t>(extra));
        shown.SeparatorPosition = std::max(0, shown.SeparatorPosition - extra);
    } else if (extra < 0) {
        shown.Characters.insert(0, static_cast<std::size_t>(-extra), ' ');
        if (shown.SeparatorPosition > 0)
            shown.SeparatorPosition -= extra;
    }
    return shown;
}

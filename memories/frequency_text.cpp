#include "frequency_text.h"

#include <limits>


namespace {

int DigitValue(QChar c, int base)
{
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c.unicode() - u'A' + 10;
    return value < base ? value : -1;
}

// The digits' value in `base`, when every character is a digit and the value stays within `limit`.
std::optional<std::uint64_t> Digits(QStringView digits, int base, std::uint64_t limit)
{
    if (digits.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const QChar c : digits) {
        const int digit = DigitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<std::int32_t> FrequencyFromText(const QString &text)
{
    QStringView rest(text);
    while (rest.startsWith(u' '))
        rest = rest.sliced(1);

    for (const QStringView prefix : {QStringView(u"0x"), QStringView(u"0X"), QStringView(u"$"), QStringView(u"x"), QStringView(u"X")}) {
        if (rest.startsWith(prefix)) {
            const auto pattern = Digits(rest.sliced(prefix.size()), 16, std::numeric_limits<std::uint32_t>::max());
            if (!pattern)
                return std::nullopt;
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(*pattern));
        }
    }

    const bool negative = rest.startsWith(u'-');
    if (negative || rest.startsWith(u'+'))
        rest = rest.sliced(1);
    const std::uint64_t limit = negative ? 2'147'483'648u : 2'147'483'647u;
    const auto magnitude = Digits(rest, 10, limit);
    if (!magnitude)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(*magnitude) : static_cast<std::int64_t>(*magnitude));
}

std::int32_t CheckedAdd(std::int32_t a, std::int32_t b)
{
    std::int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        throw EIntOverflow();
    return sum;
}

std::int32_t CheckedSubtract(std::int32_t a, std::int32_t b)
{
    std::int32_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        throw EIntOverflow();
    return difference;
}

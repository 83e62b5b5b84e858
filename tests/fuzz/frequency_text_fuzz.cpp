#include "frequency_text.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstdlib>

namespace {

// The rules, written out plainly: leading blanks, then a signed decimal number, or hexadecimal
// digits after one of the prefixes; the value checked by comparing digit strings.
std::optional<std::int32_t> ByTheRules(const QString &text)
{
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral(" *(?:([+-]?)([0-9]+)|(?:\\$|x|X|0x|0X)([0-9A-Fa-f]+))")));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    auto significant = [](QString digits) {
        while (digits.size() > 1 && digits.startsWith(u'0'))
            digits.remove(0, 1);
        return digits;
    };
    if (match.capturedLength(3) > 0) {
        const QString hex = significant(match.captured(3)).toLower();
        if (hex.size() > 8)
            return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(hex.toULongLong(nullptr, 16)));
    }
    const bool negative = match.captured(1) == QStringLiteral("-");
    const QString decimal = significant(match.captured(2));
    const QString limit = negative ? QStringLiteral("2147483648") : QStringLiteral("2147483647");
    if (decimal.size() > limit.size() || (decimal.size() == limit.size() && decimal > limit))
        return std::nullopt;
    const long long magnitude = decimal.toLongLong();
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace

// Any text either converts or fails, exactly as the rules say.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (FrequencyFromText(text) != ByTheRules(text))
        std::abort();
    return 0;
}

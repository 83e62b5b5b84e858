#include "frequency_entry.h"

#include "receiver_range.h"
#include "spoken_words.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int MaxDigits = 8;
// A pasted whole number that is a frequency the receiver tunes in hertz is taken as hertz.
constexpr std::int64_t HertzWholeNumberFloor = ReceiverRange::Lowest;

// The parts of a text: the number's digits, where its separator stood, and the unit.
struct TNumber
{
    QString digits;
    int fractionDigits = 0;
    int separators = 0;
    QString unit;
};

TNumber Split(const QString &text)
{
    TNumber number;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            number.digits += c;
            if (number.separators > 0)
                ++number.fractionDigits;
        } else if (c == u'.' || c == u',') {
            ++number.separators;
        } else {
            break;
        }
    }
    number.unit = text.mid(i).trimmed().toLower();
    return number;
}

// The power of ten a unit stands for; nothing for a unit that is not one.
std::optional<int> UnitPower(const QString &unit)
{
    if (unit == u"h"_s || unit == u"hz"_s)
        return 0;
    if (unit.isEmpty() || unit == u"k"_s || unit == u"khz"_s)
        return 3;
    if (unit == u"m"_s || unit == u"mhz"_s)
        return 6;
    return std::nullopt;
}

// The number in hertz when it is a whole number of them.
std::optional<std::int64_t> Hertz(const TNumber &number, int power)
{
    std::int64_t mantissa = number.digits.toLongLong();
    int exponent = power - number.fractionDigits;
    for (; exponent > 0; --exponent)
        mantissa *= 10;
    for (; exponent < 0; ++exponent) {
        if (mantissa % 10 != 0)
            return std::nullopt;
        mantissa /= 10;
    }
    return mantissa;
}

// A text as the status line can show it: one line, not too long.
QString Quoted(const QString &text)
{
    constexpr qsizetype Longest = 40;
    const QString line = text.simplified();
    return line.size() > Longest ? line.left(Longest) + u"..."_s : line;
}

TFrequencyReading Refused(const QString &why)
{
    return {std::nullopt, why};
}

} // namespace

TFrequencyReading ReadFrequency(const QString &text, TEntrySource source)
{
    const QString trimmed = text.trimmed();
    const TNumber number = Split(trimmed);
    if (number.digits.isEmpty())
        return Refused(u"Not a frequency: "_s + Quoted(trimmed));
    if (number.separators > 1)
        return Refused(u"Two decimal separators: "_s + Quoted(trimmed));
    if (number.digits.size() > MaxDigits)
        return Refused(u"Too many digits: "_s + Quoted(trimmed) + u" (at most 8)"_s);
    std::optional<int> power = UnitPower(number.unit);
    if (!power)
        return Refused(u"Unknown unit: "_s + Quoted(trimmed) + u" (Hz, kHz or MHz)"_s);
    if (source == TEntrySource::Pasted && number.unit.isEmpty() && number.separators == 0 &&
        number.digits.toLongLong() >= HertzWholeNumberFloor)
        power = 0;
    const std::optional<std::int64_t> hertz = Hertz(number, *power);
    if (!hertz)
        return Refused(u"Finer than 1 Hz: "_s + Quoted(trimmed));
    if (!ReceiverRange::Holds(*hertz))
        return Refused(u"Out of range: %1 kHz (%2 to %3 kHz)"_s.arg(Kilohertz(*hertz)).arg(ReceiverRange::Lowest / 1000).arg(ReceiverRange::Highest / 1000));
    return {static_cast<std::int32_t>(*hertz), QString()};
}

QString TypedReadout(const QString &typed)
{
    const TNumber number = Split(typed);
    const QString asTyped = typed.left(number.digits.size() + number.separators);
    const std::optional<int> power = UnitPower(number.unit);
    if (!power || *power == 3 || number.digits.isEmpty() || number.separators > 1 || number.digits.size() > MaxDigits)
        return asTyped;
    // Hertz or megahertz: the same number in kilohertz, when it is a whole number of hertz.
    const std::optional<std::int64_t> hertz = Hertz(number, *power);
    return hertz ? Kilohertz(*hertz) : asTyped;
}

QString SpokenTyping(const QString &typed)
{
    const TNumber number = Split(typed);
    const std::optional<int> power = UnitPower(number.unit);
    const QString unit = !power ? number.unit : *power == 0 ? u"Hz"_s : *power == 6 ? u"MHz"_s : u"kHz"_s;
    return u"Typing "_s + typed.left(number.digits.size() + number.separators) + u' ' + unit;
}

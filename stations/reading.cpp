#include "reading.h"

#include "csv_rows.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

THertz HertzFromDecimal(QByteArrayView text, int unitDigits)
{
    text = text.trimmed();
    if (text.isEmpty())
        return {0, u"no frequency"_s};
    qsizetype at = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '-' || text[0] == '+')
        ++at;
    qint64 hertz = 0;
    bool tooLarge = false;
    const auto take = [&](int digit) {
        if (hertz > MaxFrequencyHz)
            tooLarge = true;
        else
            hertz = hertz * 10 + digit;
    };
    int digits = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at, ++digits)
        take(text[at] - '0');
    int fractionDigits = 0;
    bool roundUp = false;
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && IsDigit(text[at]); ++at, ++digits) {
            if (fractionDigits < unitDigits)
                take(text[at] - '0');
            else if (fractionDigits == unitDigits)
                roundUp = text[at] >= '5';
            ++fractionDigits;
        }
    }
    if (at != text.size() || digits == 0)
        return {0, u"invalid frequency %1"_s.arg(Shown(text))};
    for (; fractionDigits < unitDigits; ++fractionDigits)
        take(0);
    if (roundUp)
        ++hertz;
    if (negative || hertz == 0)
        return {0, u"frequency not above zero"_s};
    if (tooLarge || hertz > MaxFrequencyHz)
        return {0, u"frequency out of range"_s};
    return {hertz, {}};
}

THertz HertzFromNumber(double hertz)
{
    if (!(std::abs(hertz) <= static_cast<double>(MaxFrequencyHz)))
        return {0, u"frequency out of range"_s};
    const qint64 whole = qRound64(hertz);
    if (whole <= 0)
        return {0, u"frequency not above zero"_s};
    return {whole, {}};
}

int MinutesFromHhmm(QByteArrayView text, bool asStop)
{
    if (text.size() != 4 || !std::all_of(text.begin(), text.end(), IsDigit))
        return -1;
    const int hours = (text[0] - '0') * 10 + (text[1] - '0');
    const int minutes = (text[2] - '0') * 10 + (text[3] - '0');
    if (asStop && hours == 24 && minutes == 0)
        return 24 * 60;
    return hours < 24 && minutes < 60 ? hours * 60 + minutes : -1;
}

QString BandwidthNote(qint64 hertz)
{
    return hertz > 0 ? u"Bandwidth: %1 Hz"_s.arg(hertz) : QString();
}

QString JoinedNotes(std::initializer_list<QString> parts)
{
    QStringList saying;
    for (const QString &part : parts)
        if (!part.isEmpty())
            saying.append(part);
    return saying.join(u"; "_s);
}

QString Utf8Text(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QString Shown(QByteArrayView text)
{
    constexpr qsizetype Longest = 24;
    // Enough bytes for Longest characters of any width, and one more to tell it was cut.
    QString shown = QString::fromUtf8(text.first(std::min(text.size(), 4 * Longest + 1)));
    for (QChar &c : shown)
        if (c.unicode() < 0x20)
            c = u' ';
    if (shown.size() > Longest)
        shown = shown.first(Longest) + u'…';
    return u'"' + shown + u'"';
}

void ReserveStationALine(TStationRead &read, QByteArrayView content)
{
    // Growing to 100,000 stations one by one copies the list over and over; the cap keeps a file of
    // blank lines from asking for gigabytes.
    constexpr qsizetype MostReserved = 1 << 20;
    read.stations.reserve(std::min(content.count('\n') + 1, MostReserved));
}

void Skip(TStationRead &read, int line, const QString &reason)
{
    if (NamesNextSkip(read))
        read.firstSkipped.append(u"line %1: %2"_s.arg(line).arg(reason));
    ++read.skipped;
}

bool NamesNextSkip(const TStationRead &read)
{
    return read.firstSkipped.size() < TStationRead::MaxNamedSkips;
}

bool HasHeaderFieldCount(const TCsvRow &row, qsizetype headerFields, TStationRead &read)
{
    if (row.size() == headerFields)
        return true;
    Skip(read, row.line, u"%1 fields where the header has %2"_s.arg(row.size()).arg(headerFields));
    return false;
}

void ReadNamedColumns(QByteArrayView content, std::initializer_list<QByteArrayView> names, int power,
                      const QString &missing, TStationRead &read,
                      const std::function<void(const TCsvRow &, const TCsvColumns &, TStation &)> &describe)
{
    ReserveStationALine(read, content);
    qsizetype headerFields = 0;
    TCsvColumns columns;
    const QString failure = ForEachCsvRow(content, {}, [&](const TCsvRow &row) {
        if (headerFields == 0) {
            headerFields = row.size();
            for (QByteArrayView name : names)
                columns.push_back(row.ColumnNamed(name));
            return;
        }
        if (columns.front() < 0 || !HasHeaderFieldCount(row, headerFields, read))
            return;
        const THertz frequency = HertzFromDecimal(row.Field(columns.front()), power);
        if (!frequency.problem.isEmpty()) {
            Skip(read, row.line, frequency.problem);
            return;
        }
        TStation station;
        station.frequency = frequency.hertz;
        describe(row, columns, station);
        read.stations.append(std::move(station));
    });
    if (!failure.isEmpty())
        read.error = failure;
    else if (columns.empty() || columns.front() < 0)
        read.error = missing;
}

QString UnknownFormatError()
{
    return u"Not a station list of a known format (gqrx, SDR++, CHIRP, SDR#, EiBi or this program's CSV)"_s;
}

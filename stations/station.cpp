#include "station.h"

#include <QStringList>

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int MinutesPerDay = 24 * 60;
constexpr unsigned EveryDay = 0b1111'1110; // bits 1 (Monday) to 7 (Sunday)

bool IsDayDigit(QChar c)
{
    return c >= u'1' && c <= u'7';
}

// 1 (Monday) to 7 (Sunday) for a two-letter English name or a digit; 0 for anything else.
int DayNumber(QStringView day)
{
    static const QStringView Names[] = {u"Mo", u"Tu", u"We", u"Th", u"Fr", u"Sa", u"Su"};
    if (day.size() == 1 && IsDayDigit(day[0]))
        return day[0].unicode() - u'0';
    for (int index = 0; index < 7; ++index)
        if (day.compare(Names[index], Qt::CaseInsensitive) == 0)
            return index + 1;
    return 0;
}

// Bit d set for each day d the text names: "" and "irr" every day, else days, ranges (which wrap
// round the week: "Sa-Mo") and digit strings ("1245", "234 6") separated by commas. Nothing for text
// that cannot be read, such as EiBi's "alt" or "2.Sa".
std::optional<unsigned> ListedDays(QStringView days)
{
    days = days.trimmed();
    if (days.isEmpty() || days.compare(u"irr", Qt::CaseInsensitive) == 0)
        return EveryDay;
    unsigned listed = 0;
    for (QStringView part : days.split(u',')) {
        part = part.trimmed();
        if (const qsizetype dash = part.indexOf(u'-'); dash >= 0) {
            const int first = DayNumber(part.first(dash).trimmed());
            const int last = DayNumber(part.sliced(dash + 1).trimmed());
            if (first == 0 || last == 0)
                return std::nullopt;
            for (int day = first;; day = day % 7 + 1) {
                listed |= 1u << day;
                if (day == last)
                    break;
            }
        } else if (const int day = DayNumber(part)) {
            listed |= 1u << day;
        } else if (part.size() > 1 &&
                   std::all_of(part.begin(), part.end(), [](QChar c) { return IsDayDigit(c) || c == u' '; })) {
            // EiBi may pad the digits to their places: " 234 6".
            for (QChar digit : part)
                if (digit != u' ')
                    listed |= 1u << (digit.unicode() - u'0');
        } else {
            return std::nullopt;
        }
    }
    return listed;
}

} // namespace

// Days that cannot be read count as no day at all: better to leave a station out of what is on
// the air now than to list it at an hour it may well be silent.
bool OnAirAt(const TStation &station, const QDateTime &utc)
{
    const int start = station.startUtc;
    const int stop = station.stopUtc;
    if (!station.HasTimes() || start >= MinutesPerDay || stop > MinutesPerDay || !utc.isValid())
        return false;
    const std::optional<unsigned> days = ListedDays(station.days);
    if (!days)
        return false;
    const QDateTime at = utc.toUTC();
    const int day = at.date().dayOfWeek();
    const int minute = at.time().hour() * 60 + at.time().minute();
    const auto listed = [&](int weekday) { return (*days >> weekday & 1u) != 0; };
    if (start == stop)
        return listed(day);
    if (start < stop)
        return listed(day) && minute >= start && minute < stop;
    // Across midnight: the evening of a listed day, and the small hours of the day after one.
    const int dayBefore = day == 1 ? 7 : day - 1;
    return (listed(day) && minute >= start) || (listed(dayBefore) && minute < stop);
}

QString Hhmm(int minutes)
{
    if (minutes < 0 || minutes > 24 * 60)
        return {};
    return u"%1%2"_s.arg(minutes / 60, 2, 10, QChar(u'0')).arg(minutes % 60, 2, 10, QChar(u'0'));
}

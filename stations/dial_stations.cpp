#include "dial_stations.h"

#include "spoken_words.h"

#include <algorithm>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

QString Described(const TStation &station)
{
    QStringList parts;
    if (!station.name.isEmpty())
        parts << station.name;
    const QString hours = station.HasTimes() ? Hhmm(station.startUtc) + u'-' + Hhmm(station.stopUtc) : QString();
    if (const QString source = (station.list + u' ' + hours).trimmed(); !source.isEmpty())
        parts << source;
    if (!station.language.isEmpty())
        parts << station.language;
    return Kilohertz(station.frequency, true) + u" kHz: "_s + parts.join(u", "_s);
}

} // namespace

void TDialStations::SetStations(const QList<TStation> &stations)
{
    byFrequency.assign(stations.begin(), stations.end());
    std::stable_sort(byFrequency.begin(), byFrequency.end(),
                     [](const TStation &a, const TStation &b) { return a.frequency < b.frequency; });
}

QStringList TDialStations::OnAirNear(qint64 hertz, const QDateTime &utc) const
{
    auto first = std::lower_bound(byFrequency.begin(), byFrequency.end(), hertz - Span,
                                  [](const TStation &station, qint64 lowest) { return station.frequency < lowest; });
    std::vector<const TStation *> near;
    for (auto station = first; station != byFrequency.end() && station->frequency <= hertz + Span; ++station)
        if (!station->HasTimes() || OnAirAt(*station, utc))
            near.push_back(&*station);
    std::stable_sort(near.begin(), near.end(), [hertz](const TStation *a, const TStation *b) {
        return std::abs(a->frequency - hertz) < std::abs(b->frequency - hertz);
    });
    QStringList named;
    for (const TStation *station : near) {
        if (named.size() == Named)
            break;
        named << Described(*station);
    }
    return named;
}

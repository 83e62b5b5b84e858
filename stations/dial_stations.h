#pragma once

#include "station.h"

#include <QDateTime>
#include <QStringList>

#include <vector>

// The imported stations by frequency, to say what is on the air at the dial.
class TDialStations
{
public:
    // Within this many hertz of the dial; at most Named of them are named.
    static constexpr qint64 Span = 2'500;
    static constexpr qsizetype Named = 3;

    void SetStations(const QList<TStation> &stations);
    bool IsEmpty() const { return byFrequency.empty(); }
    // Those on the air at `utc` (a station without times always is) within Span of `hertz`,
    // nearest first: "7,325 kHz: BBC World Service, EiBi 1900-2000, English".
    QStringList OnAirNear(qint64 hertz, const QDateTime &utc) const;

private:
    std::vector<TStation> byFrequency;
};

#pragma once

#include "qt_printers.h"
#include "station.h"

#include <ostream>

// A station in one line, each text quoted, for failures that show which field differs.
inline void PrintTo(const TStation &station, std::ostream *out)
{
    *out << '{' << station.frequency << " Hz";
    for (const QString &text : {station.name, station.list, station.mode, station.days, station.language,
                                station.target, station.notes}) {
        *out << ", ";
        PrintTo(text, out);
    }
    *out << ", " << station.startUtc << '-' << station.stopUtc << '}';
}

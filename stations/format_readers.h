#pragma once

#include "station_reader.h"

#include <QByteArrayView>

// One reader per format, for content already told to be of it (any UTF-8 byte order mark gone).
// Each sets the format once the content shows itself to be one, and `error` where it turns out to
// be no list of the kind after all; ReadStations adds what holds for every format.
TStationRead ReadGqrxBookmarks(QByteArrayView content);
TStationRead ReadSdrPlusPlusFrequencies(QByteArrayView content);
TStationRead ReadChirpCsv(QByteArrayView content);
TStationRead ReadSdrSharpFrequencies(QByteArrayView content);
TStationRead ReadEibiSchedule(QByteArrayView content);
TStationRead ReadStationCsv(QByteArrayView content);

// gqrx's file opens with its tags, one "name; #rrggbb" a line, then "# Frequency; Name; ...".
bool LooksLikeGqrxBookmarks(QByteArrayView content);

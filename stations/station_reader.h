#pragma once

#include "station.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

// The station lists the program reads, told apart by their content, never by the file's name.
enum class TStationFormat {
    Gqrx,        // gqrx's bookmarks.csv
    SdrPlusPlus, // SDR++'s frequency manager JSON
    Chirp,       // CHIRP's generic CSV
    SdrSharp,    // SDR#'s Frequencies.xml
    Eibi,        // the EiBi shortwave schedule, sked-<season>.csv
    StationCsv,  // this program's own station export
};

// The format's name for people: "gqrx bookmarks", "EiBi schedule" ...
QString FormatName(TStationFormat format);

// What reading a list gave. Lines that cannot be read are skipped and counted, the first few
// named with their line numbers; `error` is set, in one line, when the content is no station list
// at all (empty, another format, not text) or the file could not be read.
struct TStationRead
{
    std::optional<TStationFormat> format;
    QList<TStation> stations;
    int skipped = 0;
    QStringList firstSkipped; // "line 12: no frequency", at most MaxNamedSkips
    QString error;

    static constexpr int MaxNamedSkips = 5;
};

TStationRead ReadStations(const QByteArray &content);

// Reads a file: larger than MaxStationFileSize is refused without reading it, and a file that
// cannot be opened or read to its end (gone meanwhile) is an error naming it.
TStationRead ReadStationFile(const QString &path);
constexpr qint64 MaxStationFileSize = 64 * 1024 * 1024;

// The stations as RFC 4180 CSV, with the header
// frequency_hz,name,list,mode,start_utc,stop_utc,days,language,target,notes
// (times as HHMM, empty where unknown); ReadStations reads it back as StationCsv.
QByteArray StationsCsv(const QList<TStation> &stations);

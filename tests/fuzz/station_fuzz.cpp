#include "format_readers.h"
#include "reading.h"

#include <QTimeZone>

#include <cstdint>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

// "line N: ..." with N on a line the content has.
void CheckSkipLine(const QString &skip, const QByteArray &content)
{
    Check(skip.startsWith(u"line "_s));
    bool number = false;
    const qsizetype line = skip.sliced(5, skip.indexOf(u':') - 5).toLongLong(&number);
    const qsizetype lines = content.count('\n') + content.count('\r') + 1;
    Check(number && line >= 1 && line <= lines);
}

void CheckStation(const TStation &station)
{
    Check(station.frequency > 0 && station.frequency <= MaxFrequencyHz);
    Check(station.startUtc >= -1 && station.startUtc < 24 * 60);
    Check(station.stopUtc >= -1 && station.stopUtc <= 24 * 60);
    const QDateTime sundayNight(QDate(2024, 1, 7), QTime(23, 30), QTimeZone::utc());
    Check(!OnAirAt(station, sundayNight) || station.HasTimes());
}

} // namespace

// Built once per reader, STATION_READER naming it: each format's reader gets any bytes as they
// come, ReadStations tells the format first. Whatever is read is consistent, and the program's
// own CSV of it reads back the same.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (bytes.contains('\0')) {
        Check(ReadStations(bytes).error == u"Not a station list: not text"_s);
        return 0;
    }
    const TStationRead read = STATION_READER(bytes);
    Check(!read.error.contains(u'\n'));
    Check(read.error.isEmpty() ? read.format.has_value() : read.stations.isEmpty());
    Check(read.firstSkipped.size() == std::min<qsizetype>(read.skipped, TStationRead::MaxNamedSkips));
    for (const QString &skip : read.firstSkipped)
        CheckSkipLine(skip, bytes);
    for (const TStation &station : read.stations)
        CheckStation(station);

    const TStationRead again = ReadStations(StationsCsv(read.stations));
    Check(again.error.isEmpty() && again.skipped == 0);
    Check(again.format == TStationFormat::StationCsv);
    Check(again.stations == read.stations);
    return 0;
}

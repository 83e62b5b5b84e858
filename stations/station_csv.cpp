#include "csv_rows.h"
#include "format_readers.h"
#include "reading.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char Header[] = "frequency_hz,name,list,mode,start_utc,stop_utc,days,language,target,notes";

} // namespace

QByteArray StationsCsv(const QList<TStation> &stations)
{
    QByteArray csv = QByteArray(Header) + "\r\n";
    for (const TStation &station : stations)
        csv += CsvRecord({QString::number(station.frequency), station.name, station.list, station.mode,
                          Hhmm(station.startUtc), Hhmm(station.stopUtc), station.days, station.language,
                          station.target, station.notes});
    return csv;
}

// Columns are found by name, as in the other CSV lists, and every field is kept as written:
// spaces are part of a name here.
TStationRead ReadStationCsv(QByteArrayView content)
{
    TStationRead read;
    read.format = TStationFormat::StationCsv;
    enum { Frequency, Name, List, Mode, Start, Stop, Days, Language, Target, Notes };
    ReadNamedColumns(content,
                     {"frequency_hz", "name", "list", "mode", "start_utc", "stop_utc", "days", "language", "target",
                      "notes"},
                     0, u"A station list without a frequency_hz column"_s, read,
                     [](const TCsvRow &row, const TCsvColumns &column, TStation &station) {
                         station.name = row.Text(column[Name]);
                         station.list = row.Text(column[List]);
                         station.mode = row.Text(column[Mode]);
                         station.startUtc = MinutesFromHhmm(row.Field(column[Start]), false);
                         station.stopUtc = MinutesFromHhmm(row.Field(column[Stop]), true);
                         station.days = row.Text(column[Days]);
                         station.language = row.Text(column[Language]);
                         station.target = row.Text(column[Target]);
                         station.notes = row.Text(column[Notes]);
                     });
    return read;
}

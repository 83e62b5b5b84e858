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
    ReserveStationALine(read, content);
    qsizetype headerFields = 0;
    qsizetype frequencyColumn = -1, nameColumn = -1, listColumn = -1, modeColumn = -1, startColumn = -1,
              stopColumn = -1, daysColumn = -1, languageColumn = -1, targetColumn = -1, notesColumn = -1;
    const QString failure = ForEachCsvRow(content, {}, [&](const TCsvRow &row) {
        if (headerFields == 0) {
            headerFields = row.size();
            frequencyColumn = row.ColumnNamed("frequency_hz");
            nameColumn = row.ColumnNamed("name");
            listColumn = row.ColumnNamed("list");
            modeColumn = row.ColumnNamed("mode");
            startColumn = row.ColumnNamed("start_utc");
            stopColumn = row.ColumnNamed("stop_utc");
            daysColumn = row.ColumnNamed("days");
            languageColumn = row.ColumnNamed("language");
            targetColumn = row.ColumnNamed("target");
            notesColumn = row.ColumnNamed("notes");
            return;
        }
        if (frequencyColumn < 0 || !HasHeaderFieldCount(row, headerFields, read))
            return;
        const THertz frequency = HertzFromDecimal(row.Field(frequencyColumn), 0);
        if (!frequency.problem.isEmpty()) {
            Skip(read, row.line, frequency.problem);
            return;
        }
        TStation station;
        station.frequency = frequency.hertz;
        station.name = row.Text(nameColumn);
        station.list = row.Text(listColumn);
        station.mode = row.Text(modeColumn);
        station.startUtc = MinutesFromHhmm(row.Field(startColumn), false);
        station.stopUtc = MinutesFromHhmm(row.Field(stopColumn), true);
        station.days = row.Text(daysColumn);
        station.language = row.Text(languageColumn);
        station.target = row.Text(targetColumn);
        station.notes = row.Text(notesColumn);
        read.stations.append(std::move(station));
    });
    if (!failure.isEmpty())
        read.error = failure;
    else if (frequencyColumn < 0)
        read.error = u"A station list without a frequency_hz column"_s;
    return read;
}

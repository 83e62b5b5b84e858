#include "csv_rows.h"
#include "format_readers.h"
#include "reading.h"

using namespace Qt::Literals::StringLiterals;

// CHIRP has added columns over the years; they are found by their names.
TStationRead ReadChirpCsv(QByteArrayView content)
{
    TStationRead read;
    read.format = TStationFormat::Chirp;
    ReserveStationALine(read, content);
    qsizetype headerFields = 0;
    qsizetype nameColumn = -1, frequencyColumn = -1, modeColumn = -1, commentColumn = -1;
    const QString failure = ForEachCsvRow(content, {}, [&](const TCsvRow &row) {
        if (headerFields == 0) {
            headerFields = row.size();
            nameColumn = row.ColumnNamed("Name");
            frequencyColumn = row.ColumnNamed("Frequency");
            modeColumn = row.ColumnNamed("Mode");
            commentColumn = row.ColumnNamed("Comment");
            return;
        }
        if (frequencyColumn < 0 || !HasHeaderFieldCount(row, headerFields, read))
            return;
        const THertz frequency = HertzFromDecimal(row.Field(frequencyColumn), 6);
        if (!frequency.problem.isEmpty()) {
            Skip(read, row.line, frequency.problem);
            return;
        }
        TStation station;
        station.frequency = frequency.hertz;
        station.name = row.Text(nameColumn);
        station.mode = row.Text(modeColumn);
        station.notes = row.Text(commentColumn);
        read.stations.append(std::move(station));
    });
    if (!failure.isEmpty())
        read.error = failure;
    else if (frequencyColumn < 0)
        read.error = u"A CHIRP list without a Frequency column"_s;
    return read;
}

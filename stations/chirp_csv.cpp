#include "csv_rows.h"
#include "format_readers.h"
#include "reading.h"

using namespace Qt::Literals::StringLiterals;

// CHIRP has added columns over the years; they are found by their names.
TStationRead ReadChirpCsv(QByteArrayView content)
{
    TStationRead read;
    read.format = TStationFormat::Chirp;
    enum { Frequency, Name, Mode, Comment };
    ReadNamedColumns(content, {"Frequency", "Name", "Mode", "Comment"}, 6, u"A CHIRP list without a Frequency column"_s,
                     read, [](const TCsvRow &row, const TCsvColumns &column, TStation &station) {
                         station.name = row.Text(column[Name]);
                         station.mode = row.Text(column[Mode]);
                         station.notes = row.Text(column[Comment]);
                     });
    return read;
}

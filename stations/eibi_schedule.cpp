#include "csv_rows.h"
#include "format_readers.h"
#include "reading.h"
#include "windows_1252.h"

#include <QStringList>

#include <optional>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

struct TEibiColumns
{
    qsizetype kilohertz, time, days, itu, station, language, target, remarks, persistence, start, stop;
    // The header's fields before any trailing empty ones: real schedules end it with a ';'.
    qsizetype count;

    explicit TEibiColumns(const TCsvRow &header)
        : kilohertz(header.ColumnNamed("kHz")), time(header.ColumnNamed("Time(UTC)")),
          days(header.ColumnNamed("Days")), itu(header.ColumnNamed("ITU")), station(header.ColumnNamed("Station")),
          language(header.ColumnNamed("Lng")), target(header.ColumnNamed("Target")),
          remarks(header.ColumnNamed("Remarks")), persistence(header.ColumnNamed("P")),
          start(header.ColumnNamed("Start")), stop(header.ColumnNamed("Stop")), count(header.size())
    {
        while (count > 0 && header.Field(count - 1).isEmpty())
            --count;
    }

    // The columns a schedule cannot do without that this header lacks, joined by ", ".
    QString Missing() const
    {
        QStringList missing;
        for (const auto &[column, name] : {std::pair(kilohertz, "kHz"), std::pair(time, "Time(UTC)"),
                                           std::pair(days, "Days"), std::pair(station, "Station")})
            if (column < 0)
                missing << QString::fromLatin1(name);
        return missing.join(u", "_s);
    }
};

// A labelled note, or nothing where the field is empty.
QString Labelled(const QString &label, const TCsvRow &row, qsizetype column)
{
    const QString text = row.Text(column);
    return text.isEmpty() ? QString() : label + text;
}

} // namespace

// EiBi names no mode. Remarks open the notes, followed by the country (ITU), persistence (P) and
// the dates the entry is valid from and to (Start, Stop), as far as given. Times that cannot be
// read leave the station without times rather than skip it.
TStationRead ReadEibiSchedule(QByteArrayView content)
{
    TStationRead read;
    read.format = TStationFormat::Eibi;
    const QByteArray text = FromWindows1252(content).toUtf8();
    ReserveStationALine(read, text);
    std::optional<TEibiColumns> columns;
    QString unknownHeader;
    const QString failure = ForEachCsvRow(text, {';', false, true}, [&](const TCsvRow &row) {
        if (!columns) {
            columns.emplace(row);
            if (const QString missing = columns->Missing(); !missing.isEmpty())
                unknownHeader = u"Not an EiBi schedule this program reads: its header lacks %1 (expected "
                                "kHz;Time(UTC);Days;ITU;Station;Lng;Target;Remarks;P;Start;Stop)"_s.arg(missing);
            return;
        }
        if (!unknownHeader.isEmpty())
            return;
        // A row may end with a ';' of its own, as the header does.
        const bool ownSemicolon = row.size() == columns->count + 1 && row.Field(columns->count).isEmpty();
        if (!ownSemicolon && !HasHeaderFieldCount(row, columns->count, read))
            return;
        const THertz frequency = HertzFromDecimal(row.Field(columns->kilohertz), 3);
        if (!frequency.problem.isEmpty()) {
            Skip(read, row.line, frequency.problem);
            return;
        }
        TStation station;
        station.frequency = frequency.hertz;
        const QByteArrayView time = row.Field(columns->time);
        const qsizetype dash = time.indexOf('-');
        const int start = dash < 0 ? -1 : MinutesFromHhmm(time.first(dash), false);
        const int stop = dash < 0 ? -1 : MinutesFromHhmm(time.sliced(dash + 1), true);
        if (start >= 0 && stop >= 0) {
            station.startUtc = start;
            station.stopUtc = stop;
        }
        station.name = row.Text(columns->station);
        station.list = u"EiBi"_s;
        station.days = row.Text(columns->days);
        station.language = row.Text(columns->language);
        station.target = row.Text(columns->target);
        station.notes = JoinedNotes({row.Text(columns->remarks), Labelled(u"ITU: "_s, row, columns->itu),
                                     Labelled(u"P: "_s, row, columns->persistence),
                                     Labelled(u"Start: "_s, row, columns->start),
                                     Labelled(u"Stop: "_s, row, columns->stop)});
        read.stations.append(std::move(station));
    });
    if (!failure.isEmpty())
        read.error = failure;
    else if (!unknownHeader.isEmpty())
        read.error = unknownHeader;
    return read;
}

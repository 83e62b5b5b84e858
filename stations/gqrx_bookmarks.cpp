#include "csv_rows.h"
#include "format_readers.h"
#include "reading.h"

#include <QStringList>

#include <algorithm>
#include <cctype>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype BookmarkFields = 5; // frequency, name, modulation, bandwidth, tags

// "# Frequency ; Name ; ..." heads the bookmarks; "# Tag name ; color" heads the tags.
bool IsBookmarksHeader(QByteArrayView firstField)
{
    return firstField.startsWith('#') && firstField.sliced(1).trimmed().startsWith("Frequency");
}

bool IsTagLine(QByteArrayView line)
{
    const qsizetype semicolon = line.lastIndexOf(';');
    if (semicolon < 0)
        return false;
    const QByteArrayView colour = line.sliced(semicolon + 1).trimmed();
    const auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    return colour.size() == 7 && colour[0] == '#' && std::all_of(colour.begin() + 1, colour.end(), isHex);
}

} // namespace

bool LooksLikeGqrxBookmarks(QByteArrayView content)
{
    while (!content.isEmpty()) {
        const qsizetype end = content.indexOf('\n');
        const QByteArrayView line = (end < 0 ? content : content.first(end)).trimmed();
        content = end < 0 ? QByteArrayView() : content.sliced(end + 1);
        if (IsBookmarksHeader(line))
            return line.contains(';');
        if (!line.isEmpty() && !line.startsWith('#') && !IsTagLine(line))
            return false;
    }
    return false;
}

// gqrx writes no quotes, so a name can hold anything but ';' and a line break. Of a bookmark's
// tags the first is its list; one with several names them all in its notes, after its bandwidth.
TStationRead ReadGqrxBookmarks(QByteArrayView content)
{
    TStationRead read;
    read.format = TStationFormat::Gqrx;
    ReserveStationALine(read, content);
    bool inBookmarks = false;
    read.error = ForEachCsvRow(content, {';', false, true}, [&](const TCsvRow &row) {
        if (row.Field(0).startsWith('#')) {
            inBookmarks = inBookmarks || IsBookmarksHeader(row.Field(0));
            return;
        }
        if (!inBookmarks)
            return;
        if (row.size() != BookmarkFields) {
            Skip(read, row.line, u"%1 fields expected, found %2"_s.arg(BookmarkFields).arg(row.size()));
            return;
        }
        const THertz frequency = HertzFromDecimal(row.Field(0), 0);
        if (!frequency.problem.isEmpty()) {
            Skip(read, row.line, frequency.problem);
            return;
        }
        QStringList tags = row.Text(4).split(u',', Qt::SkipEmptyParts);
        for (QString &tag : tags)
            tag = tag.trimmed();
        tags.removeAll(QString());
        TStation station;
        station.frequency = frequency.hertz;
        station.name = row.Text(1);
        station.mode = row.Text(2);
        station.list = tags.value(0);
        station.notes = JoinedNotes({BandwidthNote(HertzFromDecimal(row.Field(3), 0).hertz),
                                     tags.size() > 1 ? u"Tags: "_s + tags.join(u", "_s) : QString()});
        read.stations.append(std::move(station));
    });
    return read;
}

#include "station_reader.h"

#include "format_readers.h"
#include "reading.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArrayView FirstNonBlankLine(QByteArrayView text)
{
    while (!text.isEmpty()) {
        const qsizetype end = text.indexOf('\n');
        const QByteArrayView line = (end < 0 ? text : text.first(end)).trimmed();
        if (!line.isEmpty())
            return line;
        text = end < 0 ? QByteArrayView() : text.sliced(end + 1);
    }
    return {};
}

using TReader = TStationRead (*)(QByteArrayView);

TReader ReaderFor(QByteArrayView text)
{
    const QByteArrayView first = FirstNonBlankLine(text);
    if (first.startsWith('{'))
        return ReadSdrPlusPlusFrequencies;
    if (first.startsWith('<'))
        return ReadSdrSharpFrequencies;
    if (first.startsWith("frequency_hz,"))
        return ReadStationCsv;
    if (first.startsWith("Location,"))
        return ReadChirpCsv;
    if (first.startsWith("kHz;") || first.startsWith("kHz:"))
        return ReadEibiSchedule;
    if (LooksLikeGqrxBookmarks(text))
        return ReadGqrxBookmarks;
    return nullptr;
}

QString TooLarge(const QString &path, qint64 size)
{
    return u"%1: too large for a station list (%2 bytes; at most %3 MiB)"_s.arg(path).arg(size).arg(
        MaxStationFileSize / (1024 * 1024));
}

} // namespace

QString FormatName(TStationFormat format)
{
    switch (format) {
    case TStationFormat::Gqrx:
        return u"gqrx bookmarks"_s;
    case TStationFormat::SdrPlusPlus:
        return u"SDR++ frequency list"_s;
    case TStationFormat::Chirp:
        return u"CHIRP memory list"_s;
    case TStationFormat::SdrSharp:
        return u"SDR# frequency list"_s;
    case TStationFormat::Eibi:
        return u"EiBi schedule"_s;
    case TStationFormat::StationCsv:
        return u"station CSV"_s;
    }
    return {};
}

TStationRead ReadStations(const QByteArray &content)
{
    QByteArrayView text(content);
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    TStationRead read;
    if (text.trimmed().isEmpty()) {
        read.error = u"The file is empty"_s;
        return read;
    }
    // Every list is text; a NUL byte marks anything from UTF-16 to an image.
    if (text.contains('\0')) {
        read.error = u"Not a station list: not text"_s;
        return read;
    }
    const TReader reader = ReaderFor(text);
    if (!reader) {
        read.error = UnknownFormatError();
        return read;
    }
    read = reader(text);
    if (read.error.isEmpty() && read.stations.isEmpty() && read.skipped > 0)
        read.error =
            u"No station could be read from the %1 (%2)"_s.arg(FormatName(*read.format), read.firstSkipped.value(0));
    return read;
}

TStationRead ReadStationFile(const QString &path)
{
    TStationRead read;
    if (const qint64 size = QFileInfo(path).size(); size > MaxStationFileSize) {
        read.error = TooLarge(path, size);
        return read;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.error = u"Cannot read %1: %2"_s.arg(path, file.errorString());
        return read;
    }
    // Asked again of the open file, which may have been replaced since.
    const qint64 size = file.size();
    if (size > MaxStationFileSize) {
        read.error = TooLarge(path, size);
        return read;
    }
    const QByteArray content = file.read(size);
    if (file.error() != QFileDevice::NoError) {
        read.error = u"Cannot read %1: %2"_s.arg(path, file.errorString());
        return read;
    }
    if (content.size() < size) {
        read.error = u"Cannot read %1: it ended after %2 of its %3 bytes"_s.arg(path).arg(content.size()).arg(size);
        return read;
    }
    return ReadStations(content);
}

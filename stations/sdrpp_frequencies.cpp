#include "format_readers.h"
#include "reading.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace {

// SDR++'s demodulators by their number in its files.
const QStringList Modes = {u"NFM"_s, u"WFM"_s, u"AM"_s, u"DSB"_s, u"USB"_s, u"CW"_s, u"LSB"_s, u"RAW"_s};

// JSON escapes can carry NUL and unpaired surrogates, which no text file can: they go here, NUL
// dropped and surrogates as UTF-8 writes them, so that the station's CSV reads back the same.
QString AsFileText(const QString &text)
{
    return Utf8Text(text.toUtf8()).remove(QChar(0));
}

// The line of the last of `keys`, each looked for after the one before; QJsonDocument tells no
// positions. Only skipped bookmarks need it.
int LineOfKeys(QByteArrayView content, const QStringList &keys)
{
    qsizetype found = 0;
    for (const QString &key : keys) {
        const QByteArray array = QJsonDocument(QJsonArray{key}).toJson(QJsonDocument::Compact);
        const QByteArrayView quoted = QByteArrayView(array).sliced(1, array.size() - 2);
        for (qsizetype at = content.indexOf(quoted, found); at >= 0; at = content.indexOf(quoted, at + 1)) {
            const QByteArrayView after = content.sliced(at + quoted.size()).trimmed();
            if (after.startsWith(':')) {
                found = at;
                break;
            }
        }
    }
    return 1 + static_cast<int>(content.first(found).count('\n'));
}

void ReadBookmarks(QByteArrayView content, const QString &list, const QJsonObject &bookmarks, TStationRead &read)
{
    for (auto bookmark = bookmarks.begin(); bookmark != bookmarks.end(); ++bookmark) {
        const QJsonObject entry = bookmark.value().toObject();
        const QJsonValue frequencyValue = entry.value(u"frequency"_s);
        const THertz frequency = frequencyValue.isDouble() ? HertzFromNumber(frequencyValue.toDouble())
            : THertz{0, frequencyValue.isUndefined() ? u"no frequency"_s : u"invalid frequency"_s};
        if (!frequency.problem.isEmpty()) {
            const QStringList keys = list.isEmpty() ? QStringList{bookmark.key()} : QStringList{list, bookmark.key()};
            Skip(read, NamesNextSkip(read) ? LineOfKeys(content, keys) : 0, frequency.problem);
            continue;
        }
        TStation station;
        station.frequency = frequency.hertz;
        station.name = AsFileText(bookmark.key());
        station.list = AsFileText(list);
        station.mode = Modes.value(entry.value(u"mode"_s).toInt(-1));
        station.notes = BandwidthNote(HertzFromNumber(entry.value(u"bandwidth"_s).toDouble()).hertz);
        read.stations.append(std::move(station));
    }
}

} // namespace

// The frequency manager's own file keeps bookmarks in named lists; its export, one list's
// bookmarks with no name.
TStationRead ReadSdrPlusPlusFrequencies(QByteArrayView content)
{
    TStationRead read;
    QJsonParseError problem;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(content.data(), content.size()), &problem);
    if (problem.error != QJsonParseError::NoError) {
        read.error =
            u"Not a station list: damaged JSON (%1 at byte %2)"_s.arg(problem.errorString()).arg(problem.offset);
        return read;
    }
    const QJsonValue lists = document.object().value(u"lists"_s);
    const QJsonValue bookmarks = document.object().value(u"bookmarks"_s);
    if (lists.isObject()) {
        read.format = TStationFormat::SdrPlusPlus;
        const QJsonObject named = lists.toObject();
        for (auto list = named.begin(); list != named.end(); ++list)
            ReadBookmarks(content, list.key(), list.value().toObject().value(u"bookmarks"_s).toObject(), read);
    } else if (bookmarks.isObject()) {
        read.format = TStationFormat::SdrPlusPlus;
        ReadBookmarks(content, {}, bookmarks.toObject(), read);
    } else {
        read.error = UnknownFormatError();
    }
    return read;
}

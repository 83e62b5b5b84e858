#include "station_store.h"

#include "receiver_range.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

QString Grouped(qsizetype count)
{
    return QLocale(QLocale::English).toString(count);
}

QString Counted(qsizetype count, const QString &noun)
{
    return Grouped(count) + u' ' + noun + (count == 1 ? QString() : u"s"_s);
}

TStationStore::TStationStore(QString folder)
    : folder(std::move(folder))
{
}

QString TStationStore::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/stations"_s;
}

QString TStationStore::PathOf(const QString &name) const
{
    return QDir(folder).filePath(name);
}

TStationRead TStationStore::Import(const QString &path, QString &summary)
{
    const QString name = QFileInfo(path).fileName();
    TStationRead read = ReadStationFile(path);
    if (!read.error.isEmpty()) {
        summary = read.error;
        return read;
    }
    // The copy is what was read: a file changing meanwhile cannot leave another list kept.
    QFile source(path);
    QSaveFile copy(PathOf(name));
    const bool kept = QDir().mkpath(folder) && source.open(QIODevice::ReadOnly) &&
                      copy.open(QIODevice::WriteOnly) && copy.write(source.readAll()) >= 0 && copy.commit();
    if (!kept) {
        read.error = u"Cannot keep a copy of %1 in %2"_s.arg(name, QDir::toNativeSeparators(folder));
        summary = read.error;
        return read;
    }
    summary = Summary(name, read);
    return read;
}

QList<TStationStore::TList> TStationStore::Lists() const
{
    QList<TList> lists;
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name))
        lists.append({name, ReadStationFile(PathOf(name))});
    return lists;
}

TStationRead TStationStore::Reload(const QString &name) const
{
    return ReadStationFile(PathOf(name));
}

bool TStationStore::Remove(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/') && QFile::remove(PathOf(name));
}

QString TStationStore::Summary(const QString &name, const TStationRead &read)
{
    QString line = u"Imported %1 from %2 (%3)"_s.arg(Counted(read.stations.size(), u"station"_s), name,
                                                     read.format ? FormatName(*read.format) : QString());
    const auto outside = std::count_if(read.stations.begin(), read.stations.end(),
                                       [](const TStation &station) { return !ReceiverRange::Holds(station.frequency); });
    if (outside > 0)
        line += u", %1 of them outside the receiver's %2"_s.arg(Grouped(outside), ReceiverRange::Text());
    if (read.skipped > 0)
        line += u"; %1 skipped: %2"_s.arg(Counted(read.skipped, u"line"_s), read.firstSkipped.join(u"; "_s));
    return line;
}

#include "ftdi_census.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <optional>
#include <utility>

#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString FtdiVendor = u"0403"_s;
const QStringList FtdiProducts{u"6001"_s, u"6010"_s, u"6011"_s, u"6014"_s, u"6015"_s};

// Dangling links (a by-id link in a copied tree, an fd on a socket) are only listed with System.
constexpr QDir::Filters AnyEntry = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;

QString ReadTrimmed(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

// The link's own text: QFileInfo would make it absolute, and an fd link must compare as written.
QString LinkText(const QString &path)
{
    char buffer[4096];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    return length <= 0 ? QString() : QFile::decodeName(QByteArray(buffer, static_cast<qsizetype>(length)));
}

QString LinkTargetName(const QString &path)
{
    const QString text = LinkText(path);
    return text.isEmpty() ? QString() : QFileInfo(text).fileName();
}

// "1-1.2" as {1, 1, 2}; nothing for root hubs ("usb1") and interfaces ("1-1.2:1.0").
std::optional<QList<int>> PortNumbers(const QString &name)
{
    const qsizetype dash = name.indexOf(u'-');
    if (dash <= 0)
        return std::nullopt;
    QList<int> numbers;
    const QStringList parts = QStringList{name.left(dash)} + name.mid(dash + 1).split(u'.');
    for (const QString &part : parts) {
        bool ok = false;
        const int number = part.toInt(&ok);
        if (!ok || number < 0)
            return std::nullopt;
        numbers.append(number);
    }
    return numbers;
}

// tty name -> its /dev/serial/by-id link, the first in name order.
QHash<QString, QString> SerialLinks(const QString &devRoot)
{
    QHash<QString, QString> links;
    const QDir byId(devRoot + u"/serial/by-id"_s);
    for (const QString &link : byId.entryList(AnyEntry, QDir::Name)) {
        const QString path = byId.filePath(link);
        const QString tty = LinkTargetName(path);
        if (!tty.isEmpty() && !links.contains(tty))
            links.insert(tty, path);
    }
    return links;
}

// Gives each chip the lowest pid under procRoot holding /dev/<its tty> open.
void FindHolders(const QString &procRoot, QList<TFtdiChip> &chips)
{
    QHash<QString, TFtdiChip *> byDevice;
    for (TFtdiChip &chip : chips) {
        if (!chip.tty.isEmpty())
            byDevice.insert(u"/dev/"_s + chip.tty, &chip);
    }
    if (byDevice.isEmpty())
        return;
    QList<qint64> pids;
    for (const QString &name : QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const qint64 pid = name.toLongLong(&ok);
        if (ok && pid > 0)
            pids.append(pid);
    }
    std::sort(pids.begin(), pids.end());
    for (const qint64 pid : std::as_const(pids)) {
        const QString process = procRoot + u'/' + QString::number(pid);
        const QDir fds(process + u"/fd"_s);
        for (const QString &fd : fds.entryList(AnyEntry)) {
            TFtdiChip *chip = byDevice.value(LinkText(fds.filePath(fd)));
            if (chip == nullptr || chip->Held())
                continue;
            chip->holderPid = pid;
            chip->holderProgram = ReadTrimmed(process + u"/comm"_s);
        }
    }
}

} // namespace

TSystemFtdiCensus::TSystemFtdiCensus(QString sysfsRoot, QString procRoot, QString devRoot)
    : sysfsRoot(std::move(sysfsRoot)), procRoot(std::move(procRoot)), devRoot(std::move(devRoot))
{
}

QList<TFtdiChip> TSystemFtdiCensus::Chips() const
{
    const QDir devices(sysfsRoot + u"/bus/usb/devices"_s);
    const QHash<QString, QString> serialLinks = SerialLinks(devRoot);
    QList<std::pair<QList<int>, TFtdiChip>> found;
    for (const QString &name : devices.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const std::optional<QList<int>> ports = PortNumbers(name);
        const QString device = devices.filePath(name) + u'/';
        if (!ports || ReadTrimmed(device + u"idVendor"_s) != FtdiVendor
            || !FtdiProducts.contains(ReadTrimmed(device + u"idProduct"_s)))
            continue;
        TFtdiChip chip;
        chip.manufacturer = ReadTrimmed(device + u"manufacturer"_s);
        chip.product = ReadTrimmed(device + u"product"_s);
        chip.serial = ReadTrimmed(device + u"serial"_s);
        chip.portPath = name;
        const QDir firstInterface(devices.filePath(name + u":1.0"_s));
        chip.serialDriverBound = LinkTargetName(firstInterface.filePath(u"driver"_s)) == u"ftdi_sio"_s;
        const QStringList ttys = firstInterface.entryList({u"ttyUSB*"_s}, AnyEntry, QDir::Name);
        if (!ttys.isEmpty()) {
            chip.tty = ttys.first();
            chip.serialById = serialLinks.value(chip.tty);
        }
        found.append({*ports, chip});
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<TFtdiChip> chips;
    for (auto &[ports, chip] : found)
        chips.append(std::move(chip));
    FindHolders(procRoot, chips);
    return chips;
}

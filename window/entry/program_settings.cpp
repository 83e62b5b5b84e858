#include "program_settings.h"

#include "memory_store.h"
#include "reference_clock.h"

#include <QStandardPaths>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString AlwaysOnTopKey = u"window/alwaysOnTop"_s;
const QString NetworkControlKey = u"network/rigctld"_s;
const QString ReceiverSerialKey = u"receiver/serial"_s;
const QString ReceiverPortKey = u"receiver/port"_s;
const QString ReconnectKey = u"receiver/reconnectAutomatically"_s;
const QString MediumWaveKey = u"tuning/mediumWave10kHz"_s;

// Serials are the chip's own strings: encoded so that none reads as a group ("/") or is empty.
QString ReferenceClockKey(const QString &serial)
{
    return u"referenceClock/serial-"_s + QString::fromLatin1(QUrl::toPercentEncoding(serial));
}

} // namespace

TProgramSettings::TProgramSettings(const QString &path)
    : settings(path, QSettings::IniFormat)
{
}

QString TProgramSettings::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u"/settings.ini"_s;
}

bool TProgramSettings::AlwaysOnTop() const
{
    return settings.value(AlwaysOnTopKey, true).toBool();
}

void TProgramSettings::SetAlwaysOnTop(bool on)
{
    Store(AlwaysOnTopKey, on);
}

bool TProgramSettings::NetworkControl() const
{
    return settings.value(NetworkControlKey, false).toBool();
}

void TProgramSettings::SetNetworkControl(bool on)
{
    Store(NetworkControlKey, on);
}

TReceiverIdentity TProgramSettings::Receiver() const
{
    return {settings.value(ReceiverSerialKey).toString(), settings.value(ReceiverPortKey).toString()};
}

void TProgramSettings::SetReceiver(const TReceiverIdentity &receiver)
{
    if (Receiver().serial == receiver.serial && Receiver().portPath == receiver.portPath)
        return;
    Store(ReceiverSerialKey, receiver.serial);
    Store(ReceiverPortKey, receiver.portPath);
}

bool TProgramSettings::TenKilohertzMediumWave() const
{
    return settings.value(MediumWaveKey, false).toBool();
}

void TProgramSettings::SetTenKilohertzMediumWave(bool on)
{
    Store(MediumWaveKey, on);
}

bool TProgramSettings::ReconnectAutomatically() const
{
    return settings.value(ReconnectKey, false).toBool();
}

void TProgramSettings::SetReconnectAutomatically(bool on)
{
    Store(ReconnectKey, on);
}

std::int64_t TProgramSettings::ReferenceClock(const QString &serial) const
{
    bool number = false;
    const qint64 hertz = settings.value(ReferenceClockKey(serial)).toLongLong(&number);
    return number && ReferenceClock::Holds(hertz) ? hertz : ReferenceClock::Nominal;
}

void TProgramSettings::SetReferenceClock(const QString &serial, std::int64_t hertz)
{
    Store(ReferenceClockKey(serial), QVariant::fromValue<qint64>(hertz));
}

void TProgramSettings::Store(const QString &key, const QVariant &value)
{
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw EIniFileException(settings.fileName());
}

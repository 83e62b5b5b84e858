#include "program_settings.h"

#include "memory_store.h"

#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString AlwaysOnTopKey = u"window/alwaysOnTop"_s;
const QString NetworkControlKey = u"network/rigctld"_s;

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

void TProgramSettings::Store(const QString &key, bool value)
{
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw EIniFileException(settings.fileName());
}

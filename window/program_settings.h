#pragma once

#include <QSettings>
#include <QString>

// The choices made in the main window's menu, kept between runs in the user's configuration
// folder (never in the memory file).
class TProgramSettings
{
public:
    explicit TProgramSettings(const QString &path);

    // settings.ini in the user's configuration folder for this program.
    static QString DefaultPath();

    QString Path() const { return settings.fileName(); }

    bool AlwaysOnTop() const;
    void SetAlwaysOnTop(bool on);
    bool NetworkControl() const;
    void SetNetworkControl(bool on);

private:
    // Stores at once, so a choice survives a crash; throws "Unable to write to" and the path when
    // the file cannot be written.
    void Store(const QString &key, bool value);

    QSettings settings;
};

#pragma once

#include "receiver_choice.h"

#include <QSettings>
#include <QString>
#include <QVariant>

#include <cstdint>

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
    // The receiver's chip, once one was opened or chosen.
    TReceiverIdentity Receiver() const;
    void SetReceiver(const TReceiverIdentity &receiver);
    bool ReconnectAutomatically() const;
    void SetReconnectAutomatically(bool on);
    // The synthesizer clock of the receiver with `serial`, in hertz: NominalClock until calibrated,
    // and where the file holds a value outside the calibration's range.
    std::int64_t ReferenceClock(const QString &serial) const;
    void SetReferenceClock(const QString &serial, std::int64_t hertz);

    static constexpr std::int64_t NominalClock = 75'000'000;
    // A thousand ppm either way: far beyond any crystal's error, and a word always within range.
    static constexpr std::int64_t LowestClock = 74'925'000;
    static constexpr std::int64_t HighestClock = 75'075'000;

private:
    // Stores at once, so a choice survives a crash; throws "Unable to write to" and the path when
    // the file cannot be written.
    void Store(const QString &key, const QVariant &value);

    QSettings settings;
};

#pragma once

#include "remembered_receiver.h"

#include <QSettings>
#include <QString>
#include <QVariant>

#include <cstdint>

// The choices made in the main window's menu, kept between runs in the user's configuration
// folder (never in the memory file).
class TProgramSettings final : public TRememberedReceiver
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
    TReceiverIdentity Receiver() const override;
    void SetReceiver(const TReceiverIdentity &receiver) override;
    // The medium-wave channels every 10 kHz (ITU Region 2) rather than every 9 kHz.
    bool TenKilohertzMediumWave() const;
    void SetTenKilohertzMediumWave(bool on);
    bool ReconnectAutomatically() const override;
    void SetReconnectAutomatically(bool on) override;
    // The synthesizer clock of the receiver with `serial`, in hertz: the nominal clock until
    // calibrated, and where the file holds a value outside the calibration's range.
    std::int64_t ReferenceClock(const QString &serial) const override;
    void SetReferenceClock(const QString &serial, std::int64_t hertz) override;

private:
    // Stores at once, so a choice survives a crash; throws "Unable to write to" and the path when
    // the file cannot be written.
    void Store(const QString &key, const QVariant &value);

    QSettings settings;
};

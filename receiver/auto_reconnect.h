#pragma once

#include "ftdi_census.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class TReceiverLink;
class TReceiverSelection;
class TUsbHotplug;

// When switched on, opens the receiver again once it is back after going away (a failed write, or
// the chip unplugged), and sends it the initialisation words and the current frequency. It notices
// chips coming and going through USB hot-plug where libusb offers it, otherwise by listing them
// every PollPeriod. A chip that has just arrived may not open yet (udev still setting its
// permissions, the kernel's serial driver binding): it is tried every RetryPeriod for RetryTime.
// A chip that comes but is not the receiver (another in its port) is named on the status line.
class TAutoReconnect : public QObject
{
public:
    // `hotplug`: whether to listen for libusb's hot-plug events (tests list the chips instead).
    TAutoReconnect(TReceiverLink &receiver, TReceiverSelection &selection, QObject *parent, bool hotplug = true);
    ~TAutoReconnect() override;

    void SetEnabled(bool on);
    bool Enabled() const { return enabled; }
    // A write to the receiver failed: from inside the driver, so handled once the event loop turns.
    void WriteFailed();
    // Chips came or went.
    void UsbChanged();

    static constexpr std::chrono::milliseconds PollPeriod{1000};
    static constexpr std::chrono::milliseconds SettleTime{300};
    static constexpr std::chrono::milliseconds RetryPeriod{300};
    static constexpr std::chrono::milliseconds RetryTime{2100};
    static inline const QString WaitingText = QStringLiteral("Receiver unplugged - waiting");

private:
    bool Connected() const;
    void Lost();
    void Wait();
    void Poll();
    void Attempt();

    TReceiverLink &receiver;
    TReceiverSelection &selection;
    bool listenForHotplug;
    TUsbHotplug *hotplug = nullptr; // while enabled, where libusb offers hot-plug
    bool enabled = false;
    bool waiting = false;
    int attemptsLeft = 0;
    QList<TFtdiChip> lastSeen;
    QTimer poll;
    QTimer attempt;
};

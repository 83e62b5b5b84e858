#include "auto_reconnect.h"

#include "error_report.h"
#include "receiver_link.h"
#include "receiver_selection.h"
#include "usb_hotplug.h"

#include <algorithm>
#include <utility>

TAutoReconnect::TAutoReconnect(TReceiverLink &receiver, TReceiverSelection &selection, QObject *parent,
                               bool listenForHotplug)
    : QObject(parent)
    , receiver(receiver)
    , selection(selection)
    , listenForHotplug(listenForHotplug)
{
    poll.setInterval(PollPeriod);
    connect(&poll, &QTimer::timeout, this, [this] { RunGuarded([this] { Poll(); }); });
    attempt.setSingleShot(true);
    connect(&attempt, &QTimer::timeout, this, [this] { RunGuarded([this] { Attempt(); }); });
}

TAutoReconnect::~TAutoReconnect() = default;

void TAutoReconnect::SetEnabled(bool on)
{
    if (enabled == on)
        return;
    enabled = on;
    waiting = false;
    poll.stop();
    attempt.stop();
    // Switched off, the program has no libusb context of its own, as before the choice existed.
    delete std::exchange(hotplug, nullptr);
    if (on && listenForHotplug) {
        hotplug = new TUsbHotplug([this] { RunGuarded([this] { UsbChanged(); }); }, this);
        if (!hotplug->Available()) // libusb offers none here: the chips are listed instead
            delete std::exchange(hotplug, nullptr);
    }
    // A receiver missing when the choice is made is waited for without a word: the status line
    // already says why it is not open.
    if (on && !Connected())
        Wait();
}

bool TAutoReconnect::Connected() const
{
    return receiver.ReceiverOpen();
}

void TAutoReconnect::WriteFailed()
{
    // Waiting ends when the receiver is open, however it was opened ("Reconnect receiver").
    if (enabled && (!waiting || Connected()))
        QTimer::singleShot(0, this, [this] { RunGuarded([this] { Lost(); }); });
}

void TAutoReconnect::UsbChanged()
{
    if (!enabled)
        return;
    if (waiting) {
        attemptsLeft = RetryTime / RetryPeriod;
        attempt.start(SettleTime);
        return;
    }
    const std::optional<TFtdiChip> &opened = selection.OpenedChip();
    if (!Connected() || !opened)
        return;
    const QList<TFtdiChip> chips = selection.Chips();
    const bool present = std::any_of(chips.begin(), chips.end(), [&opened](const TFtdiChip &chip) {
        return chip.portPath == opened->portPath && chip.serial == opened->serial;
    });
    if (!present)
        Lost();
}

void TAutoReconnect::Lost()
{
    if (!enabled || (waiting && !Connected()))
        return;
    receiver.CloseReceiver();
    receiver.ShowStatus(WaitingText, {});
    Wait();
    // The chip may still be there (a passing error): tried at once, as after an arrival.
    UsbChanged();
}

void TAutoReconnect::Wait()
{
    waiting = true;
    lastSeen = selection.Chips();
    if (!hotplug)
        poll.start();
}

void TAutoReconnect::Poll()
{
    QList<TFtdiChip> chips = selection.Chips();
    if (chips == lastSeen)
        return;
    lastSeen = std::move(chips);
    UsbChanged();
}

void TAutoReconnect::Attempt()
{
    // The user may have reconnected it meanwhile.
    if (waiting && !Connected()) {
        if (selection.Pick())
            receiver.ReopenReceiver();
        else if (const TReceiverPick refused = selection.Refusal(); !refused.refusal.isEmpty())
            receiver.ShowStatus(refused.refusal, refused.detail); // another chip came, not the receiver
    }
    if (Connected()) {
        waiting = false;
        poll.stop();
        return;
    }
    if (waiting && --attemptsLeft > 0)
        attempt.start(RetryPeriod);
}

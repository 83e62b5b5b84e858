#pragma once

#include <QString>

#include <cstdint>

// What the receiver's selection, reconnection and menu ask of the one who drives the synthesizer
// (the main window, over its driver).
class TReceiverLink
{
public:
    virtual ~TReceiverLink() = default;

    // Whether the receiver's chip is open.
    virtual bool ReceiverOpen() const = 0;
    virtual void CloseReceiver() = 0;
    // Opens it again at once, as at start-up, and sends it the current frequency.
    virtual void ReopenReceiver() = 0;
    // The same after saying so and a pause long enough to read that; the outcome then replaces
    // the status line.
    virtual void ReconnectReceiver() = 0;
    // The synthesizer's clock, in hertz, applied at once: the frequency is sent again with it.
    virtual void SetReferenceClock(std::int64_t hertz) = 0;
    // Replaces the status line's lasting text; `detail`, when given, is the whole of a text that
    // the line shows in short.
    virtual void ShowStatus(const QString &text, const QString &detail) = 0;
};

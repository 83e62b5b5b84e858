#pragma once

#include "receiver_choice.h"

#include <cstdint>

// What is kept between runs about the receiver: which chip it is, each one's calibrated clock,
// and whether it is opened again by itself when it comes back. Writing throws when the choice
// cannot be kept.
class TRememberedReceiver
{
public:
    virtual ~TRememberedReceiver() = default;

    // The receiver's chip, once one was opened or chosen.
    virtual TReceiverIdentity Receiver() const = 0;
    virtual void SetReceiver(const TReceiverIdentity &receiver) = 0;
    // The synthesizer clock of the receiver with `serial`, in hertz: the nominal clock until
    // calibrated.
    virtual std::int64_t ReferenceClock(const QString &serial) const = 0;
    virtual void SetReferenceClock(const QString &serial, std::int64_t hertz) = 0;
    virtual bool ReconnectAutomatically() const = 0;
    virtual void SetReconnectAutomatically(bool on) = 0;
};

#pragma once

#include <QString>

#include <cstdint>

// What a remote client may read and change of the receiver: the frequency the readout shows, and
// the mode label and passband that clients keep here (the receiver has no demodulator).
class TRemoteTuning
{
public:
    virtual ~TRemoteTuning() = default;

    // Hertz, as the readout shows them.
    virtual std::int32_t Frequency() const = 0;
    // Tunes as the user's own tuning does; only called with frequencies the receiver accepts.
    virtual void TuneTo(std::int32_t hertz) = 0;
    virtual QString ModeLabel() const = 0;
    virtual int Passband() const = 0;
    virtual void SetMode(const QString &label, int passband) = 0;
};

#pragma once

#include "remote_tuning.h"

#include <stdexcept>
#include <vector>

// The tuning a session works on, without a window: it keeps what it is told and records every
// frequency it is tuned to.
class FakeTuning : public TRemoteTuning
{
public:
    std::int32_t Frequency() const override { return frequency; }
    void TuneTo(std::int32_t hertz) override
    {
        tunedTo.push_back(hertz);
        frequency = hertz;
    }
    QString ModeLabel() const override { return mode; }
    int Passband() const override { return passband; }
    void SetMode(const QString &label, int hertz) override
    {
        mode = label;
        passband = hertz;
    }

    std::int32_t frequency = 14'200'000;
    QString mode = QStringLiteral("USB");
    int passband = 2400;
    std::vector<std::int32_t> tunedTo;
};

// A tuning whose every change fails, as a window handler that throws would.
class FailingTuning : public FakeTuning
{
public:
    void TuneTo(std::int32_t) override { throw std::runtime_error("Integer overflow"); }
};

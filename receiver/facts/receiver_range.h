#pragma once

#include <QString>

#include <cstdint>

// What the receiver tunes: its synthesizer and band filters cover 50 kHz to 70 MHz, to the hertz.
namespace ReceiverRange {

constexpr std::int32_t Lowest = 50'000;
constexpr std::int32_t Highest = 70'000'000;

constexpr bool Holds(std::int64_t hertz)
{
    return hertz >= Lowest && hertz <= Highest;
}

// "50 kHz to 70 MHz"
inline QString Text()
{
    return QString::number(Lowest / 1000) + QStringLiteral(" kHz to ") + QString::number(Highest / 1'000'000) +
           QStringLiteral(" MHz");
}

} // namespace ReceiverRange

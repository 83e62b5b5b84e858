#pragma once

#include <cstdint>

// The synthesizer's reference clock, in hertz: 75 MHz as built, calibrated within a thousand ppm
// either way (far beyond any crystal's error, and a tuning word always within range).
namespace ReferenceClock {

constexpr std::int64_t Nominal = 75'000'000;
constexpr std::int64_t Lowest = 74'925'000;
constexpr std::int64_t Highest = 75'075'000;

constexpr bool Holds(std::int64_t hertz)
{
    return hertz >= Lowest && hertz <= Highest;
}

} // namespace ReferenceClock

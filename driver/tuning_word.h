#pragma once

#include "reference_clock.h"

#include <cstdint>

// The synthesizer's 28-bit tuning word for f hertz: round(f / clock x (2^28 - 1)), computed the way
// an x87 program computes it: the quotient rounded to a 64-bit mantissa, stored as a double, the
// product rounded to a 64-bit mantissa, then to an integer, every step to nearest with ties to even.
// Exact integer arithmetic reproduces those steps on any compiler. Valid for 1 <= f <= 70,000,000
// and clocks from 70 to 80 MHz (the nominal 75 MHz, calibrated).
std::uint32_t TuningWord(std::int32_t frequency, std::int64_t clock = ReferenceClock::Nominal);

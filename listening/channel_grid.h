#pragma once

#include <cstdint>

// Where broadcasters sit on the dial. Medium wave: every 9 kHz from 531 to 1,602 kHz in ITU
// Regions 1 and 3, every 10 kHz from 530 to 1,700 kHz in Region 2; shortwave: every 5 kHz in the
// ITU broadcasting bands from 120 m to 11 m.
enum class TMediumWaveGrid { NineKilohertz, TenKilohertz };

// The next channel above (`up`) or below a frequency, in hertz, on the grid of the band that holds
// it: from a frequency off the grid, the nearest channel that way. Outside the bands, and past a
// band's last channel that way, the frequency moved by `step`.
std::int64_t NextChannel(std::int32_t hertz, bool up, TMediumWaveGrid mediumWave, std::int32_t step);

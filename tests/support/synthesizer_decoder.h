#pragma once

#include <cstdint>
#include <vector>

// Reads a port byte stream the way the synthesizer does: while frame sync (bit 2) is low, the
// data line (bit 1) is sampled on every falling edge of the clock (bit 0); each frame carries one
// 16-bit word, most significant bit first. A frame of any other length is reported as such.
struct DecodedFrame
{
    std::uint16_t word = 0;
    int bitCount = 0;
};

std::vector<DecodedFrame> DecodeFrames(const std::vector<std::uint8_t> &portBytes);

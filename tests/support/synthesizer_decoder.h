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

// The words of every frame in a series of writes, in order.
std::vector<std::uint16_t> DecodeWords(const std::vector<std::vector<std::uint8_t>> &writes);

// The tuning word for f hertz worked out apart from the driver: f x (2^28 - 1) / 75,000,000 rounded
// to the nearest integer in exact arithmetic. Where that quotient ends in exactly one half
// (f = 2,500,000 + n x 5,000,000) the driver's extended-precision steps decide the last bit, so
// those frequencies are checked against their listed words instead.
std::uint32_t ExactTuningWord(std::int32_t frequency);

// The words the driver sends: its initialisation, and a change to `frequency` (a control word
// before each half of the tuning word, the low half first).
std::vector<std::uint16_t> InitialisationWords();
std::vector<std::uint16_t> ChangeWords(std::int32_t frequency);

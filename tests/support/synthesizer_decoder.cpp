#include "synthesizer_decoder.h"

std::vector<DecodedFrame> DecodeFrames(const std::vector<std::uint8_t> &portBytes)
{
    std::vector<DecodedFrame> frames;
    bool clock = true;
    bool sync = true;
    DecodedFrame current;
    for (const std::uint8_t byte : portBytes) {
        const bool newClock = (byte & 1) != 0;
        const bool newSync = (byte & 4) != 0;
        if (!sync && newSync) {
            frames.push_back(current);
            current = {};
        }
        if (!newSync && clock && !newClock) {
            current.word = static_cast<std::uint16_t>((current.word << 1) | ((byte >> 1) & 1));
            ++current.bitCount;
        }
        clock = newClock;
        sync = newSync;
    }
    return frames;
}

std::uint32_t ExactTuningWord(std::int32_t frequency)
{
    return static_cast<std::uint32_t>((std::int64_t{frequency} * 268'435'455 + 37'500'000) / 75'000'000);
}

std::vector<std::uint16_t> DecodeWords(const std::vector<std::vector<std::uint8_t>> &writes)
{
    std::vector<std::uint16_t> words;
    for (const auto &block : writes)
        for (const DecodedFrame &frame : DecodeFrames(block))
            words.push_back(frame.word);
    return words;
}

std::vector<std::uint16_t> InitialisationWords()
{
    return {0x0120, 0xC000, 0xE000, 0x0020};
}

std::vector<std::uint16_t> ChangeWords(std::int32_t frequency)
{
    const std::uint32_t word = ExactTuningWord(frequency);
    return {0x0020, std::uint16_t(0x4000 | (word & 0x3FFF)), 0x1020, std::uint16_t(0x4000 | (word >> 14))};
}

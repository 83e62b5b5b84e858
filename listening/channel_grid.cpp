#include "channel_grid.h"

#include <array>

namespace {

struct TBand
{
    std::int32_t lowest; // the band's first and last channel, in hertz
    std::int32_t highest;
    std::int32_t spacing;
};

constexpr TBand MediumWave9{531'000, 1'602'000, 9'000};
constexpr TBand MediumWave10{530'000, 1'700'000, 10'000};

// The ITU's HF broadcasting bands, 120 m to 11 m.
constexpr std::int32_t ShortwaveSpacing = 5'000;
constexpr auto ShortwaveBands = std::to_array<TBand>({
    {2'300'000, 2'495'000, ShortwaveSpacing},   // 120 m
    {3'200'000, 3'400'000, ShortwaveSpacing},   // 90 m
    {3'900'000, 4'000'000, ShortwaveSpacing},   // 75 m
    {4'750'000, 5'060'000, ShortwaveSpacing},   // 60 m
    {5'900'000, 6'200'000, ShortwaveSpacing},   // 49 m
    {7'200'000, 7'450'000, ShortwaveSpacing},   // 41 m
    {9'400'000, 9'900'000, ShortwaveSpacing},   // 31 m
    {11'600'000, 12'100'000, ShortwaveSpacing}, // 25 m
    {13'570'000, 13'870'000, ShortwaveSpacing}, // 22 m
    {15'100'000, 15'800'000, ShortwaveSpacing}, // 19 m
    {17'480'000, 17'900'000, ShortwaveSpacing}, // 16 m
    {18'900'000, 19'020'000, ShortwaveSpacing}, // 15 m
    {21'450'000, 21'850'000, ShortwaveSpacing}, // 13 m
    {25'670'000, 26'100'000, ShortwaveSpacing}, // 11 m
});

const TBand *BandHolding(std::int32_t hertz, TMediumWaveGrid mediumWave)
{
    const TBand &medium = mediumWave == TMediumWaveGrid::NineKilohertz ? MediumWave9 : MediumWave10;
    if (hertz >= medium.lowest && hertz <= medium.highest)
        return &medium;
    for (const TBand &band : ShortwaveBands)
        if (hertz >= band.lowest && hertz <= band.highest)
            return &band;
    return nullptr;
}

} // namespace

std::int64_t NextChannel(std::int32_t hertz, bool up, TMediumWaveGrid mediumWave, std::int32_t step)
{
    const std::int64_t stepped = up ? std::int64_t{hertz} + step : std::int64_t{hertz} - step;
    const TBand *band = BandHolding(hertz, mediumWave);
    if (band == nullptr)
        return stepped;
    // Channels are counted from the band's first one, which lies on its grid.
    const std::int32_t offset = hertz - band->lowest;
    const std::int32_t below = offset / band->spacing * band->spacing;
    const std::int64_t channel = band->lowest + (up ? below + band->spacing : offset == below ? below - band->spacing : below);
    return channel >= band->lowest && channel <= band->highest ? channel : stepped;
}

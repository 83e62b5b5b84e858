#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

// The frequencies a listener stayed on, to go back and forward through as a browser does: a
// frequency counts once it has stayed on the dial for Dwell, the last Longest of them are kept,
// and tuning somewhere new after going back drops the ones ahead.
class TTuningHistory
{
public:
    using TTime = std::chrono::steady_clock::time_point;
    static constexpr std::chrono::seconds Dwell{2};
    static constexpr std::size_t Longest = 50;

    // The dial shows `hertz` from `now`, however it was tuned.
    void Tuned(std::int32_t hertz, TTime now);
    // The frequency to tune to, if there is one that way; the history then stands there.
    std::optional<std::int32_t> Back(TTime now);
    std::optional<std::int32_t> Forward(TTime now);

private:
    // Keeps the dial's frequency once it has stayed long enough.
    void Settle(TTime now);
    std::optional<std::int32_t> GoTo(std::size_t index, TTime now);

    std::vector<std::int32_t> kept;
    std::size_t at = 0; // where in `kept` the listener is, or was last
    std::optional<std::int32_t> dial;
    TTime since;
    bool dialKept = false; // the dial's frequency is kept[at]
};

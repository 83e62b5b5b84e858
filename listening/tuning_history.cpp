#include "tuning_history.h"

void TTuningHistory::Tuned(std::int32_t hertz, TTime now)
{
    if (dial == hertz)
        return;
    Settle(now);
    dial = hertz;
    since = now;
    dialKept = false;
}

void TTuningHistory::Settle(TTime now)
{
    if (!dial || dialKept || now - since < Dwell)
        return;
    if (!kept.empty())
        kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(at) + 1, kept.end());
    kept.push_back(*dial);
    if (kept.size() > Longest)
        kept.erase(kept.begin());
    at = kept.size() - 1;
    dialKept = true;
}

std::optional<std::int32_t> TTuningHistory::Back(TTime now)
{
    Settle(now);
    // A frequency that did not stay goes back to the last one that did.
    if (!dialKept)
        return kept.empty() ? std::nullopt : GoTo(at, now);
    return at == 0 ? std::nullopt : GoTo(at - 1, now);
}

std::optional<std::int32_t> TTuningHistory::Forward(TTime now)
{
    Settle(now);
    return at + 1 < kept.size() ? GoTo(at + 1, now) : std::nullopt;
}

std::optional<std::int32_t> TTuningHistory::GoTo(std::size_t index, TTime now)
{
    at = index;
    dial = kept[at];
    since = now;
    dialKept = true;
    return dial;
}

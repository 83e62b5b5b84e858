#include "tuning_history.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

// Only the last 50 frequencies that stayed are kept; going back past them gives nothing.
TEST(TuningHistory, KeepsTheLastFiftyThatStayed)
{
    TTuningHistory history;
    TTuningHistory::TTime now{};
    for (std::int32_t n = 1; n <= 60; ++n) {
        history.Tuned(n * 1'000'000, now);
        now += TTuningHistory::Dwell;
    }
    std::vector<std::int32_t> back;
    while (const std::optional<std::int32_t> hertz = history.Back(now))
        back.push_back(*hertz);
    ASSERT_EQ(back.size(), TTuningHistory::Longest - 1);
    EXPECT_EQ(back.front(), 59'000'000);
    EXPECT_EQ(back.back(), 11'000'000);
    EXPECT_EQ(history.Forward(now), 12'000'000);
}

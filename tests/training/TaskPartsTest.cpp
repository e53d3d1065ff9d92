// The parts the training run is made of, where the run's own tables do not
// reach them: the real collections behind the loader and the timer
// arithmetic at its limits.
#include "TaskClock.h"
#include "TaskRecord.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(TaskParts, LoaderGivesTheRecordsOfTheChosenCollection)
{
    EXPECT_EQ(LoadFromCollections(kTacticsBase, 1)->solution, "f5-h6 g7:h6 g5:f6");
    EXPECT_EQ(LoadFromCollections(kStrategyBase, 1)->solution, "f4-f5");
    EXPECT_EQ(LoadFromCollections(kTacticsBase, 225)->marker, 1);
    EXPECT_EQ(LoadFromCollections(kStrategyBase, 189)->marker, 1);
    for (auto [base, number] : {std::pair{1, 0}, {1, 226}, {2, 190}})
        EXPECT_EQ(LoadFromCollections(base, number)->marker, 0) << base << " " << number;
    EXPECT_FALSE(LoadFromCollections(0, 1).has_value());
    EXPECT_FALSE(LoadFromCollections(3, 1).has_value());
    EXPECT_EQ(CollectionOf(1), (CollectionLimits{200, 225}));
    EXPECT_EQ(CollectionOf(2), (CollectionLimits{189, 189}));
    EXPECT_FALSE(CollectionOf(0).has_value());
}

TEST(TaskParts, TimerArithmeticAtItsLimits)
{
    EXPECT_EQ(FullTime(-61), (ClockDisplay{-1, -1}));
    EXPECT_EQ(CountDown({0, 1}), (ClockStep{{0, 0}, true}));
    EXPECT_EQ(CountDown({1, 0}), (ClockStep{{0, 59}, false}));
    EXPECT_EQ(CountDown({0, -1}), (ClockStep{{0, 0}, true}));
    EXPECT_EQ(PlaybackIntervalMs(2147483), 2147483000);
    EXPECT_EQ(PlaybackIntervalMs(2147484), std::numeric_limits<int>::max());
    EXPECT_EQ(PlaybackIntervalMs(std::numeric_limits<int32_t>::max()), std::numeric_limits<int>::max());
}

} // namespace

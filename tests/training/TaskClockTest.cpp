#include "TaskClock.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

struct ClockCase {
    const char* name;
    int32_t setting;
    ClockDisplay start;
    std::vector<ClockDisplay> firstTicks; // the displays after tick 1, 2, ...
};

void PrintTo(const ClockCase& row, std::ostream* os)
{
    *os << row.name;
}

class ClockTable : public ::testing::TestWithParam<ClockCase> {};

// Runs the clock from the full time until it reports the time-out and checks
// the start, the first displays and the tick on which the time runs out.
TEST_P(ClockTable, CountsDownAndRunsOutAfterTheSettingInSeconds)
{
    const ClockCase& c = GetParam();
    ClockDisplay shown = FullTime(c.setting);
    EXPECT_EQ(shown, c.start);

    int ticks = 0;
    ClockStep step;
    do {
        step = CountDown(shown);
        ++ticks;
        if (static_cast<std::size_t>(ticks) <= c.firstTicks.size()) {
            EXPECT_EQ(step.Display, c.firstTicks[static_cast<std::size_t>(ticks) - 1]) << "tick " << ticks;
        }
        if (!step.TimedOut) {
            EXPECT_FALSE(step.Display.Minutes == 0 && step.Display.Seconds == 0) << "0 0 shown without time-out";
            EXPECT_GE(step.Display.Seconds, 0);
            EXPECT_LE(step.Display.Seconds, 59);
        }
        shown = step.Display;
    } while (!step.TimedOut && ticks < 100000);

    EXPECT_EQ(ticks, c.setting);
    EXPECT_EQ(step.Display, (ClockDisplay{0, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ClockTable,
    ::testing::Values(ClockCase{"Default180", 180, {3, 0}, {{2, 59}, {2, 58}}},
                      ClockCase{"Seconds61", 61, {1, 1}, {{1, 0}, {0, 59}, {0, 58}}},
                      ClockCase{"Seconds60", 60, {1, 0}, {{0, 59}}},
                      ClockCase{"Seconds59", 59, {0, 59}, {{0, 58}}},
                      ClockCase{"OneSecond", 1, {0, 1}, {{0, 0}}},
                      ClockCase{"Seconds90", 90, {1, 30}, {{1, 29}}},
                      ClockCase{"Seconds75", 75, {1, 15}, {{1, 14}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClockTest, LastSecondsBeforeTheTimeOut)
{
    EXPECT_EQ(CountDown({0, 2}), (ClockStep{{0, 1}, false}));
    EXPECT_EQ(CountDown({0, 1}), (ClockStep{{0, 0}, true}));
    EXPECT_EQ(CountDown({1, 0}), (ClockStep{{0, 59}, false}));
}

struct NoTimeCase {
    const char* name;
    int32_t setting;
};

void PrintTo(const NoTimeCase& row, std::ostream* os)
{
    *os << row.name;
}

class NoTimeLeftTable : public ::testing::TestWithParam<NoTimeCase> {};

// A time setting of 0 or less ends the attempt at the first tick instead of
// counting on into negative numbers.
TEST_P(NoTimeLeftTable, FirstTickRunsTheTimeOutAndShowsZero)
{
    const ClockStep step = CountDown(FullTime(GetParam().setting));
    EXPECT_TRUE(step.TimedOut);
    EXPECT_EQ(step.Display, (ClockDisplay{0, 0}));
}

INSTANTIATE_TEST_SUITE_P(Rows, NoTimeLeftTable,
                         ::testing::Values(NoTimeCase{"Zero", 0}, NoTimeCase{"MinusOne", -1},
                                           NoTimeCase{"MinusNinety", -90},
                                           NoTimeCase{"Lowest", std::numeric_limits<int32_t>::min()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClockTest, FullTimeTruncatesNegativeSettingsTowardZero)
{
    EXPECT_EQ(FullTime(-90), (ClockDisplay{-1, -30}));
    EXPECT_EQ(FullTime(0), (ClockDisplay{0, 0}));
    EXPECT_EQ(FullTime(std::numeric_limits<int32_t>::max()), (ClockDisplay{35791394, 7}));
}

struct IntervalCase {
    const char* name;
    int32_t setting;
    int expectedMs;
};

void PrintTo(const IntervalCase& row, std::ostream* os)
{
    *os << row.name;
}

class PlaybackIntervalTable : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(PlaybackIntervalTable, SecondsBecomeMillisecondsWithASafeFallback)
{
    EXPECT_EQ(PlaybackIntervalMs(GetParam().setting), GetParam().expectedMs);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlaybackIntervalTable,
    ::testing::Values(IntervalCase{"Default", 1, 1000}, IntervalCase{"ThreeSeconds", 3, 3000},
                      IntervalCase{"ZeroPlaysAtOneASecond", 0, 1000},
                      IntervalCase{"NegativePlaysAtOneASecond", -2, 1000},
                      IntervalCase{"LargestThatFits", 2147483, 2147483000},
                      IntervalCase{"TooLargeIsCapped", 2147484, std::numeric_limits<int>::max()},
                      IntervalCase{"HighestSetting", std::numeric_limits<int32_t>::max(),
                                   std::numeric_limits<int>::max()}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

#include "ScriptedRandom.h"
#include "TaskDraw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

std::vector<int32_t> Range(int32_t from, int32_t to)
{
    std::vector<int32_t> v(static_cast<std::size_t>(to - from + 1));
    std::iota(v.begin(), v.end(), from);
    return v;
}

TEST(CollectionLimitsTest, TacticsDrawTwoHundredOfTwoHundredTwentyFiveStrategyAll)
{
    EXPECT_EQ(CollectionOf(1), (CollectionLimits{200, 225}));
    EXPECT_EQ(CollectionOf(2), (CollectionLimits{189, 189}));
    for (int32_t base : {0, 3, -1, 10000})
        EXPECT_FALSE(CollectionOf(base).has_value()) << "base " << base;
}

struct DrawCase {
    const char* name;
    std::vector<int32_t> used;
    int32_t base;
    std::deque<int32_t> script; // values of Below(), 0-based
    int32_t expected;
    std::size_t drawsMade;
};

void PrintTo(const DrawCase& row, std::ostream* os)
{
    *os << row.name;
}

class TaskDrawTable : public ::testing::TestWithParam<DrawCase> {};

TEST_P(TaskDrawTable, DrawsAFreeNumberOrOneAtTheLimit)
{
    const DrawCase& c = GetParam();
    ScriptedRandom random(c.script);
    EXPECT_EQ(DrawTaskNumber(c.used, *CollectionOf(c.base), random), c.expected);
    EXPECT_EQ(random.Bounds.size(), c.drawsMade);
    for (int32_t bound : random.Bounds)
        EXPECT_EQ(bound, CollectionOf(c.base)->Range);
}

std::vector<int32_t> Repeated(int32_t value, std::size_t times)
{
    return std::vector<int32_t>(times, value);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TaskDrawTable,
    ::testing::Values(
        DrawCase{"FirstDrawLowestNumber", {}, 1, {0}, 1, 1},
        DrawCase{"FirstDrawHighestTactics", {}, 1, {224}, 225, 1},
        DrawCase{"FirstDrawHighestStrategy", {}, 2, {188}, 189, 1},
        DrawCase{"UsedNumbersAreDrawnAgain", {5, 7, 9}, 1, {4, 6, 8, 4, 9}, 10, 5},
        DrawCase{"TacticsJustBelowLimitStillDraws", Range(1, 199), 1, {0, 198, 199}, 200, 3},
        DrawCase{"TacticsAtLimitGivesOneWithoutDrawing", Range(1, 200), 1, {}, 1, 0},
        DrawCase{"TacticsLimitCountsRepeats", Repeated(17, 200), 1, {}, 1, 0},
        DrawCase{"TacticsAboveLimitGivesOne", Repeated(1, 250), 1, {}, 1, 0},
        DrawCase{"StrategyLastFreeNumberIsFound", Range(2, 189), 2, {5, 188, 0}, 1, 3},
        DrawCase{"StrategyAtLimitGivesOne", Range(1, 189), 2, {}, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TaskDrawTest, RealSourceFindsTheOnlyFreeStrategyNumber)
{
    // 188 of 189 numbers used, the free one in the middle of the range.
    std::vector<int32_t> used = Range(1, 189);
    used.erase(used.begin() + 93); // number 94 is free
    ClockRandomSource random;
    random.Reseed();
    EXPECT_EQ(DrawTaskNumber(used, *CollectionOf(2), random), 94);
}

TEST(TaskDrawTest, RealSourceNeverRepeatsBelowTheLimit)
{
    ClockRandomSource random;
    std::vector<int32_t> used;
    while (used.size() < 200) {
        random.Reseed();
        const int32_t n = DrawTaskNumber(used, *CollectionOf(1), random);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 225);
        ASSERT_EQ(std::count(used.begin(), used.end(), n), 0) << "repeated " << n << " after " << used.size();
        used.push_back(n);
    }
    EXPECT_EQ(DrawTaskNumber(used, *CollectionOf(1), random), 1);
}

} // namespace

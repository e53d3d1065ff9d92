#include "TaskClock.h"

#include <cstdint>
#include <limits>

ClockDisplay FullTime(int32_t moveTimeSetting)
{
    // C++ division truncates toward zero, as the display wants.
    return {moveTimeSetting / 60, moveTimeSetting % 60};
}

ClockStep CountDown(ClockDisplay shown)
{
    const int64_t left = int64_t{shown.Minutes} * 60 + shown.Seconds;
    if (left <= 0)
        return {{0, 0}, true};

    ClockDisplay next = shown;
    if (next.Seconds == 0) {
        --next.Minutes;
        next.Seconds = 59;
    } else {
        --next.Seconds;
    }
    return {next, next.Minutes == 0 && next.Seconds == 0};
}

int PlaybackIntervalMs(int32_t moveIntervalSetting)
{
    constexpr int kDefaultMs = 1000;
    if (moveIntervalSetting <= 0)
        return kDefaultMs;
    const int64_t ms = int64_t{moveIntervalSetting} * 1000;
    return ms > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(ms);
}

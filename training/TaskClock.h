#pragma once
// The countdown arithmetic of the task clock and the timer intervals.
//
// The clock's state is its display, whole minutes and seconds; every tick
// counts down from the two numbers the labels show, so whatever the labels
// show is what the clock counts down from. Nothing here knows the labels or
// the timer.
#include <cstdint>

struct ClockDisplay {
    int32_t Minutes;
    int32_t Seconds;
    friend bool operator==(const ClockDisplay&, const ClockDisplay&) = default;
};

// The display of the full time: `moveTimeSetting` div 60 minutes and mod 60
// seconds, with truncating division (180 -> 3 0, 75 -> 1 15, 59 -> 0 59).
ClockDisplay FullTime(int32_t moveTimeSetting);

struct ClockStep {
    ClockDisplay Display; // what the labels show after the tick
    bool TimedOut;        // this tick ran the time out
    friend bool operator==(const ClockStep&, const ClockStep&) = default;
};

// One second of the countdown from the display `shown`: at 0 seconds the
// minutes drop by one and the seconds become 59, otherwise the seconds drop
// by one; the time is out when 0 0 is reached. A display that shows no time
// left at all (0 0, or a negative time, as a time setting of 0 or less gives)
// runs out at once: the tick shows 0 0 and reports the time-out, instead of
// counting on into negative numbers where 0 0 would never come again.
ClockStep CountDown(ClockDisplay shown);

// The clock ticks once a second.
inline constexpr int kClockIntervalMs = 1000;

// The playback timer's interval for `moveIntervalSetting` seconds. A value of
// 0 or less would give a timer that never fires, so it plays at the default
// of one move a second instead; a value too large for a timer is capped at
// the longest interval a timer takes.
int PlaybackIntervalMs(int32_t moveIntervalSetting);

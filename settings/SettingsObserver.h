#pragma once
// What the code that changes a setting tells the one who shows that
// setting: the time per task and the base. An editor of the settings knows
// no more of the screen than this.
#include <cstdint>

class SettingsObserver {
public:
    virtual ~SettingsObserver() = default;
    // The time per task is now `seconds`: the clock display shows it in full
    // (a running clock counts on from there).
    virtual void MoveTimeChanged(int32_t seconds) = 0;
    // The base is now `base` (1 tactics, 2 strategy): the caption follows.
    virtual void BaseChanged(int32_t base) = 0;
};

#pragma once
// What the settings dialogs tell the main window when they change a setting
// it shows. The main window implements it; the dialogs know no more of it.
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

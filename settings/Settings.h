#pragma once
// The five settings of the program and the settings file "opt.ini".
//
// Each setting has a section of its own in the file holding one key. The
// five in-memory copies below are unit-level variables shared by the whole
// program; they are zero until first read and are never cached beyond them:
// every read opens the file anew.
//
// Where the file lives: $XDG_CONFIG_HOME/tresolvin/opt.ini when
// XDG_CONFIG_HOME is set to an absolute path, else
// $HOME/.config/tresolvin/opt.ini (the home directory from the password
// database when HOME is unset). The same for every reader and writer.
#include "IniFile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

extern int32_t MoveTimeSetting;     // seconds allowed for one task
extern int32_t MoveIntervalSetting; // seconds between two playback moves
extern int32_t MoveLineSetting;     // 1: program moves are drawn as a line
extern int32_t HintSetting;         // 1: the task's hint is shown
extern int32_t TaskBaseSetting;     // 1: tactics, 2: strategy, other: none

enum class SettingId { MoveTime, MoveInterval, MoveLine, Hint, TaskBase };

struct SettingInfo {
    SettingId Id;
    const char* Section;
    const char* Key;
    int32_t Default;
    int32_t* Variable; // the in-memory copy
    // Only values above 0 make sense (a time, an interval): a stored value of
    // 0 or less reads as the default.
    bool Positive = false;
};

// The five settings, in the order above.
extern const std::array<SettingInfo, 5> kSettings;

const SettingInfo& InfoOf(SettingId id);

// The settings file's location (see above). Does not create anything.
std::filesystem::path SettingsFilePath();

// The value `file` holds for one setting: the key's text given to
// ReadInteger; std::nullopt for a missing file, section or key, a text the
// reader refuses, or a value of 0 or less for a Positive setting. Never
// throws.
std::optional<int32_t> StoredSettingValue(const std::filesystem::path& file, SettingId id);
std::optional<int32_t> StoredSettingValue(SettingId id); // from SettingsFilePath()

// The value of one setting in `file`: the stored value, else the setting's
// default. Never throws.
int32_t ReadSettingValue(const std::filesystem::path& file, SettingId id);
int32_t ReadSettingValue(SettingId id); // from SettingsFilePath()

// Reads one setting into its in-memory variable and returns the value.
int32_t LoadSetting(SettingId id);

// Stores `value` as decimal text under the setting's section and key,
// creating the directory, file and section when missing and keeping every
// other line. Does not change the in-memory variable.
IniWriteResult WriteSettingValue(const std::filesystem::path& file, SettingId id, int32_t value);
IniWriteResult WriteSettingValue(SettingId id, int32_t value); // to SettingsFilePath()

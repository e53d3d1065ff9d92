#include "Settings.h"

#include "IntegerReader.h"

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

int32_t MoveTimeSetting; // zero until first read
int32_t MoveIntervalSetting; // zero until first read
int32_t MoveLineSetting; // zero until first read
int32_t HintSetting; // zero until first read
int32_t TaskBaseSetting; // zero until first read

const std::array<SettingInfo, 5> kSettings{{
    {SettingId::MoveTime, "VREMYA", "vremya", 180, &MoveTimeSetting, true},
    {SettingId::MoveInterval, "SECNAHOD", "secnahod", 1, &MoveIntervalSetting, true},
    {SettingId::MoveLine, "otobragenie_hoda", "otobragenie_hoda", 0, &MoveLineSetting},
    {SettingId::Hint, "otobragenie_podskazki", "otobragenie_podskazki", 0, &HintSetting},
    {SettingId::TaskBase, "BAZA1", "baza1", 1, &TaskBaseSetting},
}};

const SettingInfo& InfoOf(SettingId id)
{
    return kSettings[static_cast<std::size_t>(id)];
}

fs::path SettingsFilePath()
{
    // The desktop's convention for per-user configuration: an absolute
    // $XDG_CONFIG_HOME, else ~/.config. A relative XDG_CONFIG_HOME is invalid
    // by that convention and is ignored.
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        fs::path home;
        if (const char* h = std::getenv("HOME"); h != nullptr && h[0] != '\0') {
            home = h;
        } else if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
            home = pw->pw_dir;
        }
        base = home / ".config";
    }
    return base / "tresolvin" / "opt.ini";
}

std::optional<int32_t> StoredSettingValue(const fs::path& file, SettingId id)
{
    const SettingInfo& info = InfoOf(id);
    const std::optional<std::string> text = ReadIniValue(file, info.Section, info.Key);
    if (!text)
        return std::nullopt;
    const std::optional<int32_t> value = ReadInteger(*text);
    // A time of 0 would end every task at once, a negative one never; the
    // dialog no longer writes either, but older files may hold them.
    if (value && info.Positive && *value <= 0)
        return std::nullopt;
    return value;
}

std::optional<int32_t> StoredSettingValue(SettingId id)
{
    return StoredSettingValue(SettingsFilePath(), id);
}

int32_t ReadSettingValue(const fs::path& file, SettingId id)
{
    return StoredSettingValue(file, id).value_or(InfoOf(id).Default);
}

int32_t ReadSettingValue(SettingId id)
{
    return ReadSettingValue(SettingsFilePath(), id);
}

int32_t LoadSetting(SettingId id)
{
    const int32_t value = ReadSettingValue(id);
    *InfoOf(id).Variable = value;
    return value;
}

IniWriteResult WriteSettingValue(const fs::path& file, SettingId id, int32_t value)
{
    const SettingInfo& info = InfoOf(id);
    return WriteIniValue(file, info.Section, info.Key, std::to_string(value));
}

IniWriteResult WriteSettingValue(SettingId id, int32_t value)
{
    return WriteSettingValue(SettingsFilePath(), id, value);
}

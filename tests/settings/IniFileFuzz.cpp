// Fuzz target of the settings file: any file, one write, read back. Aborts
// when a successful write does not read back, changes another key or makes
// the file unreadable; when a refused write changed the file, or a setting
// was refused with room left; and, written to a real file, when the file
// differs from the text or a temporary file is left behind.
//
// Input: byte 0 picks the key: bits 0-2 one of the five settings (value: the
// 32-bit integer in bytes 1-4), or 5-7 section, key and value up to NUL
// bytes; bits 3-5 all clear also write a real file; all five top bits set
// pad the file to just under the size limit. The rest is the file.
#include "IniFile.h"
#include "Settings.h"
#include "TempDir.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace fs = std::filesystem;

namespace {

// A directory of this process's own, removed at exit.
const fs::path& Dir()
{
    static const TempDir dir;
    return dir.Path();
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "settings fuzz: %s\n", what.c_str());
    std::abort();
}

std::string Lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return s;
}

using Visible = std::map<std::pair<std::string, std::string>, std::string>;

// What a read of each key gives, by lower-case names; the first entries are
// checked against single reads.
Visible VisibleIn(std::string_view content)
{
    Visible visible;
    for (const IniEntry& entry : IniEntries(content)) {
        if (visible.size() < 8 && IniLookup(content, entry.Section, entry.Key) != entry.Value)
            Fail("[" + entry.Section + "] " + entry.Key + " reads otherwise alone");
        visible.emplace(std::pair(Lowered(entry.Section), Lowered(entry.Key)), entry.Value);
    }
    return visible;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5)
        return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const unsigned mode = data[0];
    const bool setting = (mode & 7) < kSettings.size();
    std::string section, key, value;
    if (setting) {
        section = kSettings[mode & 7].Section;
        key = kSettings[mode & 7].Key;
        int32_t number = 0;
        std::memcpy(&number, data + 1, sizeof number);
        value = std::to_string(number);
        input.remove_prefix(5);
    } else {
        input.remove_prefix(1);
        for (std::string* part : {&section, &key, &value}) {
            const std::size_t nul = std::min(input.find('\0'), input.size());
            *part = input.substr(0, nul);
            input.remove_prefix(std::min(nul + 1, input.size()));
        }
    }
    std::string before(input);
    if ((mode & 0xF8) == 0xF8 && before.size() + 66 < kMaxIniFileBytes)
        before += "\n;" + std::string(kMaxIniFileBytes - before.size() - 2 - size % 64, '.');

    std::string after = before;
    const IniWriteResult result = IniUpdate(after, section, key, value);
    if (!result) {
        if (after != before)
            Fail("a refused write changed the text");
        if (setting && before.size() + section.size() + key.size() + value.size() + 16 <= kMaxIniFileBytes)
            Fail("refused: " + result.Error);
    } else {
        if (after.size() > kMaxIniFileBytes || IniLookup(after, section, key) != value)
            Fail("[" + section + "] " + key + "=" + value + " does not read back");
        // Every other key reads as before.
        Visible expected = VisibleIn(before);
        expected[std::pair(Lowered(section), Lowered(key))] = value;
        if (VisibleIn(after) != expected)
            Fail("another key changed");
    }
    if ((mode & 0x38) != 0)
        return 0;

    // The same write through a file: the same outcome, nothing left behind.
    const fs::path file = Dir() / "opt.ini";
    Spill(file, before);
    const IniWriteResult written = WriteIniValue(file, section, key, value);
    if (bool(written) != bool(result) || Slurp(file) != after)
        Fail("the file differs from the text: " + written.Error);
    if (written && ReadIniValue(file, section, key) != value)
        Fail("the file does not read back");
    for (const auto& entry : fs::directory_iterator(Dir())) {
        if (entry.path() != file)
            Fail("left behind: " + entry.path().string());
    }
    return 0;
}

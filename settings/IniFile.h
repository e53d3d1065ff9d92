#pragma once
// A small INI file reader and writer with the behaviour of the classic
// private-profile interface, on which "opt.ini" is built.
//
// Format: a line "[name]" opens a section; a line "key=value" holds one
// value of the section above it. Section and key names match whatever their
// case; blanks around names and values are ignored, and a value wrapped in
// one pair of double or single quotes loses them. Lines starting with ";"
// or "#" and any other line that is neither a section nor a key line are
// kept untouched by writes. The first matching section and the first
// matching key in it win.
//
// Reading never fails for a missing file, section or key: it gives
// std::nullopt. A file larger than kMaxIniFileBytes, or one that cannot be
// read, is treated as missing. A write rewrites only the line of its own key
// (or adds the key at the end of its section, or adds the section at the end
// of the file) and keeps every other byte; it replaces the file atomically.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Longest value text handed out by a read (longer values are cut).
inline constexpr std::size_t kMaxIniValueChars = 2047;
// Largest file that is read or rewritten.
inline constexpr std::uintmax_t kMaxIniFileBytes = 1024 * 1024;

// Outcome of a write: Ok, or an error text naming the path and the reason.
struct IniWriteResult {
    bool Ok = true;
    std::string Error;

    explicit operator bool() const { return Ok; }
    static IniWriteResult Success() { return {}; }
    static IniWriteResult Failure(std::string error) { return {false, std::move(error)}; }
};

// --- on text (the whole file's contents) ---

// The value text of `key` in `section`, or std::nullopt when there is none.
std::optional<std::string> IniLookup(std::string_view content, std::string_view section, std::string_view key);

// `content` with `key` of `section` set to `value`: the first matching key
// line of the first matching section is replaced by "key=value" (keeping the
// key's spelling from the file); a missing key is added after the last key
// line of the section; a missing section is appended at the end as
// "[section]" and "key=value". Lines end as the file's first line does
// ("\r\n" or "\n").
std::string IniReplace(std::string_view content, std::string_view section, std::string_view key, std::string_view value);

// --- on a file ---

// Reads the value of `key` in `section` from `file`; std::nullopt for a
// missing or unreadable file, section or key. Never throws.
std::optional<std::string> ReadIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key);

// Writes `value` under `section`/`key` of `file`, creating the file's
// directory, the file and the section when missing. The new contents go to a
// temporary file in the same directory that is flushed to disk and then
// renamed over `file`, so the old file stays whole if anything fails; two
// processes writing at once are serialised. Refused without touching the
// file: a section or key that is empty, has blanks at its ends, contains a
// line break or could not be read back as such (a "]" in the section; an
// "=" in the key, or a key starting with ";", "#" or "["), and a value with a
// line break. Never throws.
IniWriteResult WriteIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key, std::string_view value);

#pragma once
// A small INI file reader and writer with the behaviour of the classic
// private-profile interface, on which "opt.ini" is built.
//
// Format: a line "[name]" opens a section; a line "key=value" holds one
// value of the section above it. Lines end with LF, CR LF or a lone CR, in
// any mix; the last line needs no line end, and a UTF-8 byte order mark at
// the start of the file is not part of the first line. Section and key
// names match whatever their case; blanks around names and values are
// ignored, and a value wrapped in one pair of double or single quotes loses
// them. Lines starting with ";" or "#" and any other line that is neither a
// section nor a key line are kept untouched by writes. The first matching
// section and the first matching key in it win.
//
// Reading never fails for a missing file, section or key: it gives
// std::nullopt. A file larger than kMaxIniFileBytes, or one that cannot be
// read, is treated as missing. A write rewrites only the line of its own key
// (or adds the key at the end of its section, or adds the section at the end
// of the file) and keeps every other byte, line ends included; it replaces
// the file atomically. A write whose result would not read back as written
// is refused before anything is written.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Longest value text handed out by a read (longer values are cut).
inline constexpr std::size_t kMaxIniValueChars = 2047;
// Largest file that is read or written: a larger file reads as missing, and
// a write that would make the file larger is refused.
inline constexpr std::uintmax_t kMaxIniFileBytes = 1024 * 1024;
// Longest wait for another process's write to the same directory; after it
// the write is refused.
inline constexpr std::chrono::milliseconds kIniLockWait{1500};

// Outcome of a write: Ok, or an error text naming the path and the reason
// (in Russian, as the user reads it; a system error the program does not
// name keeps the system's own text).
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

// One key line of a section, as the reader sees it.
struct IniEntry {
    std::string Section;
    std::string Key;
    std::string Value; // cut like a read

    bool operator==(const IniEntry&) const = default;
};

// Every value a read can see, in file order: the first line of each key in
// the first section of each name.
std::vector<IniEntry> IniEntries(std::string_view content);

// `content` with `key` of `section` set to `value`: the first matching key
// line of the first matching section is replaced by "key=value" (keeping the
// key's spelling from the file and the line's own line end); a missing key
// is added after the last key line of the section; a missing section is
// appended at the end as "[section]" and "key=value". New lines end like the
// file's first line ("\n" in a file without line ends); an unterminated last
// line gets that end before anything is added after it.
std::string IniReplace(std::string_view content, std::string_view section, std::string_view key, std::string_view value);

// Applies a write of `value` under `section`/`key` to `content`, the whole
// file's text, as IniReplace does. Refused, leaving `content` as it is: a
// section, key or value that would not read back as itself (see
// WriteIniValue) and a result larger than kMaxIniFileBytes. The error is the
// reason alone.
IniWriteResult IniUpdate(std::string& content, std::string_view section, std::string_view key, std::string_view value);

// --- on a file ---

// Reads the value of `key` in `section` from `file`; std::nullopt for a
// missing or unreadable file, section or key. Never throws.
std::optional<std::string> ReadIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key);

// Writes `value` under `section`/`key` of `file`, creating the file's
// directory, the file and the section when missing. The new contents go to a
// temporary file in the same directory that is flushed to disk and then
// renamed over `file`, so the old file stays whole if anything fails. Two
// processes writing at once are serialised by a lock on the directory; the
// temporary files that writers killed midway left there are removed under
// it. A file that is replaced passes its owner, group and mode on to the
// new one. A symbolic link is written through to the file it names, which is
// created when missing. Refused without touching the file:
// - a section, key or value that would not read back as itself (empty
//   names, blanks at the ends, line breaks, a "]" in the section, an "=" in
//   the key or a key starting with ";", "#" or "[", a quoted value or one
//   longer than kMaxIniValueChars);
// - a file that cannot be read whole, that this process may not write, that
//   belongs to a user or group this process may not give the new file to,
//   or that the write would make larger than kMaxIniFileBytes;
// - a lock that another process holds for longer than kIniLockWait.
// Never throws.
IniWriteResult WriteIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key, std::string_view value);

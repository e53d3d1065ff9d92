#include "IniFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// ------------------------------------------------------------- line model
//
// The file is split into lines, each keeping its own terminator, so that a
// rewrite can put back every untouched line byte for byte. A line is a
// section header when, after leading blanks, it starts with "["; the name
// runs to the next "]" (or the end of the line). A line is a key line when it
// is not a header, not a comment (";" or "#") and holds an "=": the key is
// the blank-trimmed text before the first "=", the value the trimmed text
// after it. Anything else is kept and otherwise ignored.

struct Line {
    std::string_view text; // without the terminator
    std::string_view whole; // with the terminator
};

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    std::string_view name; // section name or key
    std::string_view value;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names are compared without regard to (ASCII) case, as the profile-file
// interface does; the five keys are plain ASCII.
bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

std::vector<Line> SplitLines(std::string_view content)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t nl = content.find('\n', start);
        const std::size_t end = nl == std::string_view::npos ? content.size() : nl + 1;
        std::string_view whole = content.substr(start, end - start);
        std::string_view text = whole;
        if (!text.empty() && text.back() == '\n')
            text.remove_suffix(1);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        lines.push_back({text, whole});
        start = end;
    }
    return lines;
}

Parsed ParseLine(std::string_view text)
{
    const std::string_view t = Trim(text);
    if (t.empty() || t.front() == ';' || t.front() == '#')
        return {};
    if (t.front() == '[') {
        std::string_view name = t.substr(1);
        const std::size_t close = name.find(']');
        if (close != std::string_view::npos)
            name = name.substr(0, close);
        return {Kind::Section, Trim(name), {}};
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return {};
    std::string_view value = Trim(t.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return {Kind::Key, Trim(t.substr(0, eq)), value};
}

std::string LineEndingOf(std::string_view content)
{
    const std::size_t nl = content.find('\n');
    if (nl != std::string_view::npos && nl > 0 && content[nl - 1] == '\r')
        return "\r\n";
    return "\n";
}

bool EndsWithNewline(std::string_view s)
{
    return !s.empty() && s.back() == '\n';
}

// ------------------------------------------------------------------- files

std::string ErrorText(const fs::path& path, int error)
{
    return path.string() + ": " + std::system_category().message(error);
}

std::string ErrorText(const fs::path& path, const std::string& reason)
{
    return path.string() + ": " + reason;
}

enum class ReadStatus { Ok, Missing, Failed };

// Reads the whole file into `content`. Missing: no such file. Failed: the
// file is there but could not be read whole (or is too large to be a
// settings file); `error` then says why.
ReadStatus ReadWholeFile(const fs::path& file, std::string& content, std::string& error)
{
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec || status.type() == fs::file_type::not_found) {
        if (status.type() == fs::file_type::not_found)
            return ReadStatus::Missing;
        error = ErrorText(file, ec.value());
        return ReadStatus::Failed;
    }
    if (status.type() != fs::file_type::regular) {
        error = ErrorText(file, "not a regular file");
        return ReadStatus::Failed;
    }
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        error = ErrorText(file, ec.value());
        return ReadStatus::Failed;
    }
    if (size > kMaxIniFileBytes) {
        error = ErrorText(file, "file too large for a settings file");
        return ReadStatus::Failed;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = ErrorText(file, errno != 0 ? errno : EIO);
        return ReadStatus::Failed;
    }
    // Read at most one byte more than the limit: the file may have grown
    // since its size was taken.
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = ErrorText(file, EIO);
        return ReadStatus::Failed;
    }
    if (content.size() > kMaxIniFileBytes) {
        error = ErrorText(file, "file too large for a settings file");
        return ReadStatus::Failed;
    }
    return ReadStatus::Ok;
}

// Holds an exclusive advisory lock on a directory for as long as it lives,
// so that two instances of the program do not interleave their
// read-modify-write cycles on the same file. Best effort: where locking is
// not possible the write still goes ahead, and the rename keeps the file
// whole in any case.
class DirectoryLock {
public:
    explicit DirectoryLock(const fs::path& dir)
        : m_fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd >= 0) {
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~DirectoryLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

    int Fd() const { return m_fd; }

private:
    int m_fd;
};

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Puts `content` in place of `file` atomically: a temporary file next to it
// is written and flushed, then renamed over it.
IniWriteResult ReplaceFile(const fs::path& file, const std::string& content, mode_t mode, int dirFd)
{
    std::string tempName = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0)
        return IniWriteResult::Failure(ErrorText(file.parent_path(), errno));

    int error = 0;
    if (!WriteAll(fd, content))
        error = errno;
    else if (::fchmod(fd, mode) != 0)
        error = errno;
    else if (::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(tempName.c_str(), file.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(tempName.c_str());
        return IniWriteResult::Failure(ErrorText(file, error));
    }
    // Make the rename itself durable; a failure here loses nothing.
    if (dirFd >= 0)
        ::fsync(dirFd);
    return IniWriteResult::Success();
}

} // namespace

std::optional<std::string> IniLookup(std::string_view content, std::string_view section, std::string_view key)
{
    bool inSection = false;
    bool sectionSeen = false;
    for (const Line& line : SplitLines(content)) {
        const Parsed parsed = ParseLine(line.text);
        if (parsed.kind == Kind::Section) {
            if (sectionSeen && inSection)
                break; // only the first matching section counts
            inSection = SameName(parsed.name, section);
            sectionSeen = sectionSeen || inSection;
        } else if (parsed.kind == Kind::Key && inSection && SameName(parsed.name, key)) {
            return std::string(parsed.value.substr(0, kMaxIniValueChars));
        }
    }
    return std::nullopt;
}

std::string IniReplace(std::string_view content, std::string_view section, std::string_view key, std::string_view value)
{
    const std::vector<Line> lines = SplitLines(content);
    const std::string eol = LineEndingOf(content);

    // Find the first matching section, its first matching key line and the
    // line after which a new key would go (its last key line, or the header).
    std::size_t header = lines.size();
    std::size_t keyLine = lines.size();
    std::size_t insertAfter = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed parsed = ParseLine(lines[i].text);
        if (parsed.kind == Kind::Section) {
            if (header != lines.size())
                break;
            if (SameName(parsed.name, section))
                header = insertAfter = i;
        } else if (parsed.kind == Kind::Key && header != lines.size()) {
            insertAfter = i;
            if (SameName(parsed.name, key)) {
                keyLine = i;
                break;
            }
        }
    }

    std::string out;
    out.reserve(content.size() + section.size() + key.size() + value.size() + 8);
    if (header == lines.size()) {
        out.append(content);
        if (!out.empty() && !EndsWithNewline(out))
            out += eol;
        out.append("[").append(section).append("]").append(eol);
        out.append(key).append("=").append(value).append(eol);
        return out;
    }

    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == keyLine) {
            const Parsed parsed = ParseLine(lines[i].text);
            out.append(parsed.name).append("=").append(value);
            // Keep the line's own terminator (none on an unterminated last line).
            out.append(lines[i].whole.substr(lines[i].text.size()));
            continue;
        }
        out.append(lines[i].whole);
        if (keyLine == lines.size() && i == insertAfter) {
            if (!EndsWithNewline(lines[i].whole))
                out += eol;
            out.append(key).append("=").append(value).append(eol);
        }
    }
    return out;
}

std::optional<std::string> ReadIniValue(const fs::path& file, std::string_view section, std::string_view key)
{
    try {
        std::string content;
        std::string error;
        if (ReadWholeFile(file, content, error) != ReadStatus::Ok)
            return std::nullopt;
        return IniLookup(content, section, key);
    } catch (...) {
        // Out of memory or a library error: a read never fails, the caller
        // falls back to its default.
        return std::nullopt;
    }
}

IniWriteResult WriteIniValue(const fs::path& file, std::string_view section, std::string_view key, std::string_view value)
{
    // A line break in a name or value would write lines of its own into the
    // file, and a name that the reader cannot find again would be written
    // anew with every write.
    const auto hasBreak = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    if (hasBreak(section) || hasBreak(key) || hasBreak(value) || Trim(section).empty() || Trim(key).empty() ||
        section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
        Trim(section) != section || Trim(key) != key || key.front() == ';' || key.front() == '#' ||
        key.front() == '[')
        return IniWriteResult::Failure(ErrorText(file, "invalid section or key name, or a line break in the value"));
    try {
        // Write through a symbolic link to the file it names, rather than
        // replacing the link with a plain file.
        fs::path target = file;
        std::error_code ec;
        if (fs::is_symlink(file, ec)) {
            const fs::path resolved = fs::weakly_canonical(file, ec);
            if (!ec)
                target = resolved;
        }

        const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
        fs::create_directories(dir, ec);
        if (ec)
            return IniWriteResult::Failure(ErrorText(dir, ec.value()));

        DirectoryLock lock(dir);

        std::string content;
        std::string error;
        mode_t mode = 0644;
        switch (ReadWholeFile(target, content, error)) {
        case ReadStatus::Missing:
            content.clear();
            break;
        case ReadStatus::Ok: {
            struct stat st {};
            if (::stat(target.c_str(), &st) == 0)
                mode = st.st_mode & 07777;
            break;
        }
        case ReadStatus::Failed:
            // Never rewrite a file whose contents could not be read: that
            // would throw away whatever else it holds.
            return IniWriteResult::Failure(error);
        }

        return ReplaceFile(dir / target.filename(), IniReplace(content, section, key, value), mode, lock.Fd());
    } catch (const std::exception& e) {
        return IniWriteResult::Failure(ErrorText(file, e.what()));
    }
}

#include "IniFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <new>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// ------------------------------------------------------------- line model
//
// The file is walked line by line, each line keeping its own line end, so
// that a rewrite can put back every untouched line byte for byte. A line is
// a section header when, after leading blanks, it starts with "["; the name
// runs to the next "]" (or the end of the line). A line is a key line when
// it is not a header, not a comment (";" or "#") and holds an "=": the key is
// the blank-trimmed text before the first "=", the value the trimmed text
// after it. Anything else is kept and otherwise ignored.

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Line {
    std::size_t begin = 0; // offset of the line in the file
    std::string_view lead; // the byte order mark, on the first line only
    std::string_view text; // without lead and line end
    std::string_view end; // "\n", "\r\n", "\r" or "" (last line)

    std::size_t Size() const { return lead.size() + text.size() + end.size(); }
};

// The line starting at `pos`, or false at the end of `content`.
bool NextLine(std::string_view content, std::size_t pos, Line& line)
{
    if (pos >= content.size())
        return false;
    line.begin = pos;
    line.lead = {};
    if (pos == 0 && content.starts_with(kByteOrderMark)) {
        line.lead = content.substr(0, kByteOrderMark.size());
        pos += kByteOrderMark.size();
    }
    const std::size_t stop = std::min(content.find_first_of("\r\n", pos), content.size());
    line.text = content.substr(pos, stop - pos);
    std::size_t endSize = 0;
    if (stop < content.size())
        endSize = content.compare(stop, 2, "\r\n") == 0 ? 2 : 1;
    line.end = content.substr(stop, endSize);
    return true;
}

// Calls fn(line) for every line of `content` until fn returns false.
template <typename Fn>
void ForEachLine(std::string_view content, Fn fn)
{
    Line line;
    for (std::size_t pos = 0; NextLine(content, pos, line); pos += line.Size()) {
        if (!fn(line))
            return;
    }
}

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

std::string Lowered(std::string_view s)
{
    std::string lowered(s);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), Lower);
    return lowered;
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

std::string_view ValueOf(std::string_view raw)
{
    std::string_view value = Trim(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
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
    return {Kind::Key, Trim(t.substr(0, eq)), ValueOf(t.substr(eq + 1))};
}

// Where a key stands in a file: the first section of that name, the first
// line of the key in it, and the line after which a missing key goes (the
// section's last key line, or its header).
struct Spot {
    std::optional<Line> header;
    std::optional<Line> key;
    Line insertAfter;
    Line last; // the file's last line
    std::string_view firstEnd; // the first line end of the file
};

// The walk stops at the key or at the end of its section; the last line and
// the first line end are needed only when the walk reaches the end.
Spot Locate(std::string_view content, std::string_view section, std::string_view key)
{
    Spot spot;
    ForEachLine(content, [&](const Line& line) {
        spot.last = line;
        if (spot.firstEnd.empty())
            spot.firstEnd = line.end;
        const Parsed parsed = ParseLine(line.text);
        if (parsed.kind == Kind::Section) {
            if (spot.header)
                return false; // only the first matching section counts
            if (SameName(parsed.name, section))
                spot.header = spot.insertAfter = line;
        } else if (parsed.kind == Kind::Key && spot.header) {
            spot.insertAfter = line;
            if (SameName(parsed.name, key)) {
                spot.key = line;
                return false;
            }
        }
        return true;
    });
    return spot;
}

// ------------------------------------------------------------------- files

// The reason for a system error as the user reads it, in the program's
// language; an error not named here keeps the system's own text.
std::string Reason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM: return "нет прав на запись";
    case ENOSPC: return "нет места на диске";
    case EDQUOT: return "превышена дисковая квота";
    case EROFS: return "файловая система доступна только для чтения";
    case ENOENT: return "нет такого файла или каталога";
    case ENOTDIR: return "часть пути не является каталогом";
    case EISDIR: return "на месте файла стоит каталог";
    case ELOOP: return "слишком много символических ссылок";
    case ENAMETOOLONG: return "слишком длинное имя файла";
    case EIO: return "ошибка ввода-вывода";
    case ENOMEM: return "недостаточно памяти";
    case EMFILE:
    case ENFILE: return "слишком много открытых файлов";
    case EBUSY:
    case ETXTBSY: return "файл занят";
    case EFBIG: return "файл слишком велик";
    default: return std::strerror(error);
    }
}

std::string ErrorText(const fs::path& path, int error)
{
    return path.string() + ": " + Reason(error);
}

std::string ErrorText(const fs::path& path, const std::string& reason)
{
    return path.string() + ": " + reason;
}

constexpr const char* kTooLarge = "файл настроек слишком велик";

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
        error = ErrorText(file, "это не обычный файл");
        return ReadStatus::Failed;
    }
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        error = ErrorText(file, ec.value());
        return ReadStatus::Failed;
    }
    if (size > kMaxIniFileBytes) {
        error = ErrorText(file, kTooLarge);
        return ReadStatus::Failed;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int code = errno; // 0 when the stream failed without saying why
        error = code == EACCES ? ErrorText(file, "нет прав на чтение") : ErrorText(file, code ? code : EIO);
        return ReadStatus::Failed;
    }
    // Stop soon after the limit: the file may have grown since its size was
    // taken.
    content.clear();
    content.reserve(static_cast<std::size_t>(size));
    char buffer[16384];
    while (content.size() <= kMaxIniFileBytes && (in.read(buffer, sizeof buffer) || in.gcount() > 0))
        content.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        error = ErrorText(file, EIO);
        return ReadStatus::Failed;
    }
    if (content.size() > kMaxIniFileBytes) {
        error = ErrorText(file, kTooLarge);
        return ReadStatus::Failed;
    }
    return ReadStatus::Ok;
}

// Holds an exclusive advisory lock on a directory for as long as it lives,
// so that two instances of the program do not interleave their
// read-modify-write cycles on the same file. The wait is bounded: the
// program must not hang on another process, so after kIniLockWait the lock
// counts as busy. Where locking is not possible at all the write still goes
// ahead (the rename keeps the file whole in any case).
class DirectoryLock {
public:
    explicit DirectoryLock(const fs::path& dir)
        : m_fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd < 0)
            return;
        const auto deadline = std::chrono::steady_clock::now() + kIniLockWait;
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK)
                return; // no locking here
            if (std::chrono::steady_clock::now() >= deadline) {
                m_busy = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        m_held = true;
    }
    ~DirectoryLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

    int Fd() const { return m_fd; }
    bool Held() const { return m_held; }
    bool Busy() const { return m_busy; }

private:
    int m_fd;
    bool m_held = false;
    bool m_busy = false;
};

// Temporary files are named ".opt.ini.XXXXXX" (mkostemp's six letters and
// digits) next to the file.
std::string TempPrefix(const fs::path& file)
{
    return "." + file.filename().string() + ".";
}

// Removes the temporary files that a writer killed between creating and
// renaming one left next to `file`. Only called under the directory lock,
// which every writer holds from before it creates its temporary file until
// after the rename, so none of them is in use. Only this user's regular
// files of exactly that name pattern are touched.
void RemoveLeftovers(const fs::path& file)
{
    const std::string prefix = TempPrefix(file);
    const fs::path dir = file.parent_path();
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix) ||
            !std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
            continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(it->path().c_str());
    }
}

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

// What the new file takes over from the one it replaces.
struct FileOwner {
    uid_t Uid;
    gid_t Gid;
    mode_t Mode;
};

constexpr const char* kOwnerNotKept = "файл принадлежит другому пользователю или группе, а передать им новый файл "
                                      "нет прав; файл оставлен как был";

// Gives the open temporary file `fd` the owner and group of the file it is
// to replace, where they differ from its own. A process running with
// another user's file (a root run in a user's home) must not leave a file
// behind that the user can no longer write. False with errno set when the
// process may not.
bool TakeOwner(int fd, const FileOwner& owner)
{
    struct stat own {};
    if (::fstat(fd, &own) != 0)
        return false;
    if (own.st_uid == owner.Uid && own.st_gid == owner.Gid)
        return true;
    return ::fchown(fd, owner.Uid, owner.Gid) == 0;
}

// Puts `content` in place of `file` atomically: a temporary file next to it
// is written, given the old file's owner, group and mode (or `owner`'s mode
// alone for a new file), flushed, then renamed over it.
IniWriteResult ReplaceFile(const fs::path& file, const std::string& content, const FileOwner& owner, bool replacing,
                           int dirFd)
{
    std::string tempName = (file.parent_path() / (TempPrefix(file) + "XXXXXX")).string();
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0)
        return IniWriteResult::Failure(ErrorText(file.parent_path(), errno));

    int error = 0;
    bool ownerRefused = false;
    if (!WriteAll(fd, content))
        error = errno;
    else if (replacing && !TakeOwner(fd, owner))
        error = errno, ownerRefused = error == EPERM;
    // After the owner: a change of owner clears the set-user and set-group
    // bits.
    else if (::fchmod(fd, owner.Mode) != 0)
        error = errno;
    else if (::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(tempName.c_str(), file.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(tempName.c_str());
        return IniWriteResult::Failure(ownerRefused ? ErrorText(file, kOwnerNotKept) : ErrorText(file, error));
    }
    // Make the rename itself durable; a failure here loses nothing.
    if (dirFd >= 0)
        ::fsync(dirFd);
    return IniWriteResult::Success();
}

// The file that a write to `file` must change: `file` itself, or the end of
// its chain of symbolic links, which need not exist yet (writing a link's
// name would replace the link). Relative links count from their own
// directory.
std::optional<fs::path> LinkTarget(const fs::path& file, std::error_code& ec)
{
    fs::path target = file;
    for (int hops = 0; hops < 40; ++hops) {
        const fs::file_type type = fs::symlink_status(target, ec).type();
        if (type == fs::file_type::not_found)
            ec.clear();
        if (ec)
            return std::nullopt;
        if (type != fs::file_type::symlink)
            return target;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec)
            return std::nullopt;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return std::nullopt;
}

constexpr const char* kWouldNotReadBack = "недопустимое имя раздела или ключа либо значение, которое не прочитать обратно";

// Whether a line written as "[section]" and "key=value" reads back as
// exactly these names and this value.
bool ReadsBack(std::string_view section, std::string_view key, std::string_view value)
{
    const auto hasBreak = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    if (section.empty() || key.empty() || hasBreak(section) || hasBreak(key) || hasBreak(value) ||
        value.size() > kMaxIniValueChars)
        return false;
    const std::string header = "[" + std::string(section) + "]";
    const std::string line = std::string(key) + "=" + std::string(value);
    const Parsed parsedHeader = ParseLine(header);
    const Parsed parsedLine = ParseLine(line);
    return parsedHeader.kind == Kind::Section && parsedHeader.name == section && parsedLine.kind == Kind::Key &&
           parsedLine.name == key && parsedLine.value == value;
}

} // namespace

std::optional<std::string> IniLookup(std::string_view content, std::string_view section, std::string_view key)
{
    const Spot spot = Locate(content, section, key);
    if (!spot.key)
        return std::nullopt;
    return std::string(ParseLine(spot.key->text).value.substr(0, kMaxIniValueChars));
}

std::vector<IniEntry> IniEntries(std::string_view content)
{
    // Walked in one pass, apart from IniLookup: later sections of a name
    // already seen and later lines of a key already seen are hidden.
    std::vector<IniEntry> entries;
    std::set<std::string> sections;
    std::set<std::string> keys; // of the current section
    std::string_view section; // the current one
    bool visible = false; // whether it is the first of its name
    ForEachLine(content, [&](const Line& line) {
        const Parsed parsed = ParseLine(line.text);
        if (parsed.kind == Kind::Section) {
            keys.clear();
            section = parsed.name;
            visible = sections.insert(Lowered(section)).second;
        } else if (parsed.kind == Kind::Key && visible && keys.insert(Lowered(parsed.name)).second) {
            entries.push_back({std::string(section), std::string(parsed.name),
                               std::string(parsed.value.substr(0, kMaxIniValueChars))});
        }
        return true;
    });
    return entries;
}

std::string IniReplace(std::string_view content, std::string_view section, std::string_view key, std::string_view value)
{
    const Spot spot = Locate(content, section, key);

    std::string out;
    out.reserve(content.size() + section.size() + key.size() + value.size() + 16);
    if (spot.key) {
        // The line keeps its byte order mark, the key's spelling and its end.
        const Line& line = *spot.key;
        out.append(content.substr(0, line.begin)).append(line.lead);
        out.append(ParseLine(line.text).name).append("=").append(value).append(line.end);
        out.append(content.substr(line.begin + line.Size()));
        return out;
    }

    // New lines end like the file's first line. A new line ending in a lone
    // CR before an LF would take that LF (and the empty line it ends) as its
    // own end, so there it ends in CR LF.
    const Line& after = spot.header ? spot.insertAfter : spot.last;
    const std::size_t at = spot.header ? after.begin + after.Size() : content.size();
    std::string_view end = spot.firstEnd.empty() ? std::string_view("\n") : spot.firstEnd;
    if (end == "\r" && at < content.size() && content[at] == '\n')
        end = "\r\n";
    out.append(content.substr(0, at));
    if (!content.empty() && after.end.empty())
        out.append(end);
    if (!spot.header)
        out.append("[").append(section).append("]").append(end);
    out.append(key).append("=").append(value).append(end);
    out.append(content.substr(at));
    return out;
}

IniWriteResult IniUpdate(std::string& content, std::string_view section, std::string_view key, std::string_view value)
{
    // A line break in a name or value would write lines of its own into the
    // file, and a name or value that the reader cannot find again as such
    // would be written anew with every write.
    if (!ReadsBack(section, key, value))
        return IniWriteResult::Failure(kWouldNotReadBack);
    std::string updated = IniReplace(content, section, key, value);
    // A file the reader would refuse would lose every setting at once.
    if (updated.size() > kMaxIniFileBytes)
        return IniWriteResult::Failure("файл настроек стал бы слишком велик");
    content = std::move(updated);
    return IniWriteResult::Success();
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
    // Names and value are checked before anything is touched.
    if (!ReadsBack(section, key, value))
        return IniWriteResult::Failure(ErrorText(file, kWouldNotReadBack));
    try {
        std::error_code ec;
        const fs::path ownDir = file.parent_path().empty() ? fs::path(".") : file.parent_path();
        fs::create_directories(ownDir, ec);
        if (ec)
            return IniWriteResult::Failure(ErrorText(ownDir, ec.value()));

        const std::optional<fs::path> target = LinkTarget(file, ec);
        if (!target)
            return IniWriteResult::Failure(ErrorText(file, ec.value()));
        const fs::path dir = target->parent_path().empty() ? fs::path(".") : target->parent_path();

        DirectoryLock lock(dir);
        if (lock.Busy())
            return IniWriteResult::Failure(ErrorText(*target, "файл занят другой копией программы, попробуйте ещё раз"));
        if (lock.Held())
            RemoveLeftovers(dir / target->filename());

        std::string content;
        std::string error;
        FileOwner owner{0, 0, 0644};
        bool replacing = false;
        switch (ReadWholeFile(*target, content, error)) {
        case ReadStatus::Missing:
            content.clear();
            break;
        case ReadStatus::Ok: {
            // A file that may not be written (made read-only by its owner)
            // is kept, not replaced by the rename.
            if (::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0)
                return IniWriteResult::Failure(ErrorText(*target, errno));
            struct stat st {};
            if (::stat(target->c_str(), &st) != 0)
                return IniWriteResult::Failure(ErrorText(*target, errno));
            owner = {st.st_uid, st.st_gid, static_cast<mode_t>(st.st_mode & 07777)};
            replacing = true;
            break;
        }
        case ReadStatus::Failed:
            // Never rewrite a file whose contents could not be read: that
            // would throw away whatever else it holds.
            return IniWriteResult::Failure(error);
        }

        if (const IniWriteResult refused = IniUpdate(content, section, key, value); !refused)
            return IniWriteResult::Failure(ErrorText(*target, refused.Error));
        return ReplaceFile(dir / target->filename(), content, owner, replacing, lock.Fd());
    } catch (const std::system_error& e) {
        return IniWriteResult::Failure(ErrorText(file, e.code().value()));
    } catch (const std::bad_alloc&) {
        return IniWriteResult::Failure(ErrorText(file, ENOMEM));
    } catch (const std::exception&) {
        return IniWriteResult::Failure(ErrorText(file, "внутренняя ошибка программы"));
    }
}

// The INI reader and writer: name matching, what a write keeps, and how
// the file is replaced (and when it is not); and the five settings in
// "opt.ini": where the file is, how a number is read, what a read gives and
// what a write leaves.
#include "IniFile.h"
#include "IntegerReader.h"
#include "Settings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>
#include <tuple>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

TEST(IniFile, LookupFindsTheFirstMatchOfTheNamesInAnyCaseAndLineEnd)
{
    const std::pair<std::string, std::optional<std::string>> rows[] = {
        {"[VREMYA]\nvremya=180\n", "180"},         {"[vReMyA]\nVREMYA=90\n", "90"},
        {"  [ VREMYA ]  \n\t vremya \t=  75  \n", "75"}, {"[VREMYA]\r\nvremya=60\r\n", "60"},
        {"[A]\rk=1\r[VREMYA]\rvremya=60\r", "60"},    {"[A]\rk=1\n\r[VREMYA]\r\nvremya=5", "5"},
        {"\xEF\xBB\xBF[VREMYA]\nvremya=75\n", "75"}, {"[VREMYA]\nvremya=\"60\"\n", "60"},
        {"[VREMYA]\nvremya='60'\n", "60"},         {"[VREMYA]\nvremya=\"60\n", "\"60"},
        {"[VREMYA]\nvremya=\n", ""},               {"[VREMYA]\nvremya=a=b\n", "a=b"},
        {"[VREMYA]\nvremya=1\nvremya=2\n", "1"},    {"[VREMYA]\nvremya=1\n[B]\nvremya=3\n[vremya]\nvremya=2\n", "1"},
        {"[SECNAHOD]\nvremya=5\n[VREMYA]\nx=1\n", std::nullopt}, {"vremya=5\n[VREMYA]\n", std::nullopt},
        {"[VREMYA]\n;vremya=1\n#vremya=2\n", std::nullopt},   {"[VREMYA1]\nvremya=3\n", std::nullopt},
        {"[VREMYA\nvremya=5\n", "5"},
    };
    for (const auto& [content, expected] : rows)
        EXPECT_EQ(IniLookup(content, "VREMYA", "vremya"), expected) << content;
    const auto value = IniLookup("[A]\nk=" + std::string(5000, '7') + "\n", "A", "k");
    EXPECT_EQ(value.value_or("").size(), kMaxIniValueChars); // long values are cut
}

TEST(IniFile, ReplaceKeepsEveryOtherLineAndTheFilesLineEnds)
{
    const std::pair<std::string, std::string> rows[] = {
        {"", "[VREMYA]\nvremya=60\n"},
        {"; my notes\n[other]\nfoo = bar\n\n[VREMYA]\nvremya=180\n# after\n[BAZA1]\nbaza1=2\n",
         "; my notes\n[other]\nfoo = bar\n\n[VREMYA]\nvremya=60\n# after\n[BAZA1]\nbaza1=2\n"},
        {"[vremya]\n  Vremya = 180\n", "[vremya]\nVremya=60\n"},
        {"[VREMYA]\nother=1\n\n[BAZA1]\nbaza1=1\n", "[VREMYA]\nother=1\nvremya=60\n\n[BAZA1]\nbaza1=1\n"},
        {"[VREMYA]\n[BAZA1]\nbaza1=1\n", "[VREMYA]\nvremya=60\n[BAZA1]\nbaza1=1\n"},
        {"[BAZA1]\nbaza1=2\n", "[BAZA1]\nbaza1=2\n[VREMYA]\nvremya=60\n"}, {"[VREMYA]\nother=1", "[VREMYA]\nother=1\nvremya=60\n"},
        {"[BAZA1]\r\nbaza1=2\r\n", "[BAZA1]\r\nbaza1=2\r\n[VREMYA]\r\nvremya=60\r\n"},
        {"[BAZA1]\nvremya=5\n", "[BAZA1]\nvremya=5\n[VREMYA]\nvremya=60\n"},
        {"[VREMYA]\n;vremya=1\n", "[VREMYA]\nvremya=60\n;vremya=1\n"}, {"[VREMYA]\r\nvremya=75\r", "[VREMYA]\r\nvremya=60\r"},
        {"[VREMYA]\nvremya=1\nvremya=2\n", "[VREMYA]\nvremya=60\nvremya=2\n"},
        {"[BAZA1]\r\nbaza1=2\r", "[BAZA1]\r\nbaza1=2\r[VREMYA]\r\nvremya=60\r\n"},
        {"[BAZA1]\rbaza1=2", "[BAZA1]\rbaza1=2\r[VREMYA]\rvremya=60\r"},
        {"[VREMYA]\rother=1\n\n", "[VREMYA]\rother=1\nvremya=60\r\n\n"},
        {"\xEF\xBB\xBF[VREMYA]\nvremya=75\n", "\xEF\xBB\xBF[VREMYA]\nvremya=60\n"},
        {std::string("\xff\xfe\0junk\n[VREMYA]\nvremya=1\n\x01\x02", 28),
         std::string("\xff\xfe\0junk\n[VREMYA]\nvremya=60\n\x01\x02", 29)},
    };
    for (const auto& [before, after] : rows) {
        const std::string out = IniReplace(before, "VREMYA", "vremya", "60");
        EXPECT_EQ(out, after) << before;
        EXPECT_EQ(IniLookup(out, "VREMYA", "vremya"), "60") << before;
    }
}

// Root may write into read-only directories and read unreadable files, so
// under root the write runs with the unprivileged "nobody" ids as the
// effective ones (the test tree is handed to them first), and root's are
// taken back after it. `rootsOwn`, when given, stays root's.
IniWriteResult WriteUnprivileged(const fs::path& tree, const std::function<IniWriteResult()>& write,
                                 const fs::path& rootsOwn = {})
{
    if (::geteuid() != 0)
        return write();
    constexpr uid_t kNobody = 65534;
    for (const auto& entry : fs::recursive_directory_iterator(tree))
        EXPECT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(::chown(tree.c_str(), kNobody, kNobody), 0);
    EXPECT_TRUE(rootsOwn.empty() || ::lchown(rootsOwn.c_str(), 0, 0) == 0);
    EXPECT_TRUE(::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0) << "could not give up root";
    const IniWriteResult result = write();
    EXPECT_TRUE(::seteuid(0) == 0 && ::setegid(0) == 0) << "could not take root back";
    return result;
}

class IniFileOnDisk : public testing::Test {
protected:
    TempDir dir;
    fs::path File() const { return dir.Path() / "cfg" / "opt.ini"; }
    // The names in the file's directory, sorted.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(File().parent_path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(IniFileOnDisk, WritesCreateKeepAndGoThroughLinksLeavingNoTemporaryFile)
{
    ASSERT_TRUE(WriteIniValue(File(), "VREMYA", "vremya", "60"));
    EXPECT_EQ(Slurp(File()), "[VREMYA]\nvremya=60\n");
    Spill(File(), "; written by hand\n[Window]\nx = 10\n\n[VREMYA]\nvremya=180\n");
    ::chmod(File().c_str(), 0600);
    ASSERT_TRUE(WriteIniValue(File(), "vremya", "Vremya", "90"));
    ASSERT_TRUE(WriteIniValue(File(), "BAZA1", "baza1", "2"));
    EXPECT_EQ(Slurp(File()), "; written by hand\n[Window]\nx = 10\n\n[VREMYA]\nvremya=90\n[BAZA1]\nbaza1=2\n");
    // The file's permissions stay; no temporary file is left.
    EXPECT_EQ(std::tuple(ReadIniValue(File(), "vremya", "VREMYA"), Entries(), fs::status(File()).permissions()),
              std::tuple("90", std::vector<std::string>{"opt.ini"}, fs::perms::owner_read | fs::perms::owner_write));
}

// A failed write is reported with the path and the reason, in the program's
// language, and changes nothing (run as "nobody" under root, where root would get past).
TEST_F(IniFileOnDisk, FailedWritesAreReportedWithThePathAndChangeNothing)
{
    const auto locked = [](mode_t fileMode, bool readOnlyDirectory) {
        return [=](const fs::path& cfg) {
            Spill(cfg / "opt.ini", "[VREMYA]\nvremya=180\n");
            ::chmod((cfg / "opt.ini").c_str(), fileMode);
            if (readOnlyDirectory)
                fs::permissions(cfg, fs::perms::owner_read | fs::perms::owner_exec);
        };
    };
    const std::pair<std::function<void(const fs::path&)>, const char*> rows[] = {
        {[](const fs::path& cfg) { Spill(cfg, "not a directory"); }, "часть пути не является каталогом"},
        {[](const fs::path& cfg) { fs::create_directories(cfg / "opt.ini"); }, "это не обычный файл"},
        {[](const fs::path& cfg) { Spill(cfg / "opt.ini", std::string(kMaxIniFileBytes + 1, 'x') + "\n[VREMYA]\nvremya=1\n"); },
         "файл настроек слишком велик"},
        {locked(0600, true), "нет прав на запись"},
        {locked(0, false), "нет прав на чтение"},
        {locked(0444, false), "нет прав на запись"},
    };
    for (const auto& [prepare, reason] : rows) {
        TempDir fresh;
        const fs::path cfg = fresh.Path() / "cfg", file = cfg / "opt.ini";
        prepare(cfg);
        const auto before = std::pair(fs::status(file).permissions(), Slurp(file));
        const auto result = WriteUnprivileged(fresh.Path(), [&] { return WriteIniValue(file, "VREMYA", "vremya", "60"); });
        EXPECT_FALSE(result);
        EXPECT_TRUE(result.Error.find(cfg.string()) != std::string::npos &&
                    result.Error.find(reason) != std::string::npos)
            << result.Error;
        EXPECT_EQ(std::pair(fs::status(file).permissions(), Slurp(file)), before) << result.Error;
    }
}

// A write by root into a user's file leaves the file the user's: owner,
// group and mode go over to the new file. A process that may not give the
// new file to the old one's owner keeps the old file and says why.
TEST_F(IniFileOnDisk, AReplacedFileKeepsItsOwnerGroupAndMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can hand a file to another user";
    constexpr uid_t kOther = 65534;
    Spill(File(), "[VREMYA]\nvremya=180\n");
    ASSERT_EQ(::chown(File().c_str(), kOther, kOther), 0);
    ASSERT_EQ(::chmod(File().c_str(), 0640), 0);
    ASSERT_TRUE(WriteIniValue(File(), "VREMYA", "vremya", "60"));
    const auto owner = [&] {
        struct stat st {};
        EXPECT_EQ(::stat(File().c_str(), &st), 0);
        return std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777, Slurp(File()));
    };
    EXPECT_EQ(owner(), std::tuple(kOther, kOther, 0640u, "[VREMYA]\nvremya=60\n"));

    // "nobody" may write root's file (mode 0666, in nobody's directory) but
    // may not give a new file to root.
    ASSERT_EQ(::chmod(File().c_str(), 0666), 0);
    const auto refused =
        WriteUnprivileged(dir.Path(), [&] { return WriteIniValue(File(), "VREMYA", "vremya", "90"); }, File());
    EXPECT_NE(refused.Error.find("файл принадлежит другому пользователю"), std::string::npos) << refused.Error;
    EXPECT_EQ(std::tuple(refused.Ok, owner(), Entries()),
              std::tuple(false, std::tuple(0u, 0u, 0666u, "[VREMYA]\nvremya=60\n"), std::vector<std::string>{"opt.ini"}));
}

TEST_F(IniFileOnDisk, NamesAndValuesThatWouldBreakTheFileAreRefused)
{
    const std::string before = "[VREMYA]\nvremya=180\n";
    Spill(File(), before);
    const std::tuple<std::string, std::string, std::string> rows[] = { // section, key, value
        {"VREMYA", "vremya", "60\n[BAZA1]"}, {"VREMYA", "vremya", "60\r"}, {"VRE\nMYA", "vremya", "1"},
        {"VREMYA", "vrem\nya", "1"}, {"", "vremya", "1"}, {"VREMYA", "", "1"}, {"A]B", "k", "1"},
        {"VREMYA", "a=b", "1"}, {"VREMYA", ";vremya", "1"}, {" VREMYA", "vremya", "1"}, {"VREMYA", "vremya ", "1"},
        {"VREMYA", "vremya", " 60"}, {"VREMYA", "vremya", "\"60\""}, {"VREMYA", "vremya", "60\t"},
        {"VREMYA", "vremya", std::string(kMaxIniValueChars + 1, '1')}};
    for (const auto& [section, key, value] : rows) {
        const auto result = WriteIniValue(File(), section, key, value);
        EXPECT_TRUE(!result && result.Error.find(File().string()) != std::string::npos) << section << "/" << key << "/" << value;
    }
    EXPECT_EQ(Slurp(File()), before);
    const std::string longest(kMaxIniValueChars, '1'); // the longest value that reads back
    ASSERT_TRUE(WriteIniValue(File(), "VREMYA", "vremya", longest));
    EXPECT_EQ(ReadIniValue(File(), "VREMYA", "vremya"), longest);
}

// The file is read in chunks of 16 KiB (a last chunk of one byte counts
// too); a write that would make it larger than may be read is refused, one
// that makes it exactly as large goes in and reads back.
TEST_F(IniFileOnDisk, AWriteThatWouldPassTheReadLimitIsRefused)
{
    const std::string tail = "[VREMYA]\nvremya=12";
    Spill(File(), std::string(16384 - tail.size(), ';') + "\n" + tail);
    EXPECT_EQ(ReadIniValue(File(), "VREMYA", "vremya"), "12");
    std::string full = "[VREMYA]\nvremya=180\n";
    full += std::string(kMaxIniFileBytes - full.size() - 2, '#') + "\n";
    Spill(File(), full);
    const auto refused = WriteIniValue(File(), "SECNAHOD", "secnahod", "1");
    EXPECT_NE(refused.Error.find("файл настроек стал бы слишком велик"), std::string::npos) << refused.Error;
    EXPECT_EQ(Slurp(File()), full);
    ASSERT_TRUE(WriteIniValue(File(), "VREMYA", "vremya", "1800"));
    EXPECT_EQ(std::pair(fs::file_size(File()), ReadIniValue(File(), "VREMYA", "vremya")),
              std::pair(kMaxIniFileBytes, std::optional<std::string>("1800")));
}

// A link is written through to the file at the end of its chain, which a
// write creates when missing; a link that leads nowhere is refused. The link
// itself is never replaced.
TEST_F(IniFileOnDisk, SymbolicLinksAreNeverReplaced)
{
    const fs::path elsewhere = dir.Path() / "elsewhere";
    fs::create_directories(elsewhere);
    fs::create_directories(File().parent_path());
    const struct {
        fs::path link;
        std::optional<fs::path> written; // nullopt: refused
    } rows[] = {{elsewhere / "real.ini", elsewhere / "real.ini"},
                {"../elsewhere/relative.ini", elsewhere / "relative.ini"},
                {File(), std::nullopt},
                {dir.Path() / "nowhere" / "x.ini", std::nullopt}};
    for (const auto& row : rows) {
        fs::remove(File());
        fs::create_symlink(row.link, File());
        const auto result = WriteIniValue(File(), "A", "k", "2");
        EXPECT_EQ(std::tuple(bool(result), fs::is_symlink(File()), row.written ? Slurp(*row.written) : ""),
                  std::tuple(row.written.has_value(), true, row.written ? "[A]\nk=2\n" : "")) << row.link << ": " << result.Error;
    }
}

TEST_F(IniFileOnDisk, TemporaryFilesOfKilledWritersAreRemovedByTheNextWrite)
{
    const fs::path cfg = File().parent_path();
    fs::create_directories(cfg / ".opt.ini.Dir123");
    for (const char* name : {".opt.ini.aB3xYz", ".opt.ini.012345", ".opt.ini.abc", ".opt.ini.abcdefg", "x.opt.ini.abcdef",
                             ".opt.ini.ab-def", ".other.ini.abcdef", ".opt.ini.nobody"})
        Spill(cfg / name, "[VREMYA]\nvremya=1\n");
    // Another user's file of the pattern stays (only root can make one here).
    const bool asRoot = ::geteuid() == 0;
    if (asRoot)
        ASSERT_EQ(::chown((cfg / ".opt.ini.nobody").c_str(), 65534, 65534), 0);
    else
        fs::remove(cfg / ".opt.ini.nobody");
    ASSERT_TRUE(WriteIniValue(File(), "VREMYA", "vremya", "60"));
    std::vector<std::string> kept{".opt.ini.Dir123", ".opt.ini.ab-def", ".opt.ini.abc", ".opt.ini.abcdefg",
                                  ".other.ini.abcdef", "opt.ini", "x.opt.ini.abcdef"};
    if (asRoot)
        kept.insert(kept.begin() + 4, ".opt.ini.nobody");
    EXPECT_EQ(Entries(), kept);
}

// A lock held elsewhere (another open of the directory, as another process
// would hold it) for longer than kIniLockWait has the write refused and the
// file left alone; a lock given up within the wait lets it through.
TEST_F(IniFileOnDisk, ALockHeldElsewhereDelaysAWriteOnlyBriefly)
{
    Spill(File(), "[VREMYA]\nvremya=180\n");
    const int fd = ::open(File().parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    const auto start = std::chrono::steady_clock::now();
    const auto refused = WriteIniValue(File(), "VREMYA", "vremya", "60");
    EXPECT_GE(std::chrono::steady_clock::now() - start, kIniLockWait);
    EXPECT_NE(refused.Error.find("файл занят другой копией программы"), std::string::npos) << refused.Error;
    EXPECT_EQ(Slurp(File()), "[VREMYA]\nvremya=180\n");
    std::thread release([fd] { std::this_thread::sleep_for(kIniLockWait / 5), ::flock(fd, LOCK_UN); });
    EXPECT_TRUE(WriteIniValue(File(), "VREMYA", "vremya", "60")); // still locked when it starts
    release.join();
    ::close(fd);
    EXPECT_EQ(ReadIniValue(File(), "VREMYA", "vremya"), "60");
}

TEST(IniFile, TheFuzzCorpusReadsBack)
{
    std::size_t inputs = 0;
    for (const auto& entry : fs::directory_iterator(TRESOLVIN_FUZZ_CORPUS)) {
        const std::string bytes = Slurp(entry.path());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++inputs;
    }
    EXPECT_GE(inputs, 10u);
}

TEST(IntegerReader, AcceptsDecimalAndHexWithSignAndLeadingBlanks)
{
    const std::pair<const char*, int32_t> accepted[] = {
        {"180", 180}, {"0", 0},     {"007", 7},       {"   60", 60}, {"+5", 5},         {"-5", -5},      {"  -12", -12},
        {"$3C", 60},  {"x3c", 60},  {"X3C", 60},      {"0x3C", 60},  {"0X3c", 60},      {"-$10", -16},   {"+0x10", 16},
        {"$0000000A", 10}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"$7FFFFFFF", INT32_MAX},
        {"-$80000000", INT32_MIN}, {"000000000000000000000000000042", 42}};
    for (const auto& [text, value] : accepted)
        EXPECT_EQ(ReadInteger(text), value) << '"' << text << '"';
    for (const char* text : {"", "   ", "abc", "180 ", "1 80", "180s", "1.5", "-", "+", "--5", "- 5", "$", "0x", "x",
                             "1A", "$1G", "$-5", "0x$5", "\t5", "2147483648", "-2147483649", "$80000000",
                             "$FFFFFFFF", "99999999999999999999999999999"})
        EXPECT_FALSE(ReadInteger(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(ReadInteger(std::string_view("12\0", 3)).has_value()); // a NUL is not the end
}

// Every test has a home and a configuration directory of its own: the real
// ones are never seen.
class SettingsFile : public testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("HOME", (dir.Path() / "home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir.Path() / "xdg").c_str(), 1);
    }
    TempDir dir;
    fs::path File() const { return dir.Path() / "xdg" / "tresolvin" / "opt.ini"; }
};

TEST_F(SettingsFile, LocationFollowsXdgConfigHomeElseHome)
{
    EXPECT_EQ(SettingsFilePath(), File());
    const std::string home = std::getenv("HOME");
    for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        xdg ? ::setenv("XDG_CONFIG_HOME", xdg, 1) : ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(SettingsFilePath(), fs::path(home) / ".config" / "tresolvin" / "opt.ini") << (xdg ? xdg : "unset");
    }
    ::unsetenv("HOME"); // then the home directory of the password database
    EXPECT_EQ(SettingsFilePath(), fs::path(::getpwuid(::getuid())->pw_dir) / ".config" / "tresolvin" / "opt.ini");
    ::setenv("HOME", home.c_str(), 1);
}

TEST_F(SettingsFile, ReadsGiveTheValueOrTheDefaultAndCreateNothing)
{
    std::vector<int32_t> defaults;
    for (const SettingInfo& info : kSettings)
        defaults.push_back(LoadSetting(info.Id));
    EXPECT_EQ(std::tuple(defaults, TaskBaseSetting + MoveTimeSetting + MoveIntervalSetting, fs::exists(File().parent_path())),
              std::tuple(std::vector<int32_t>{180, 1, 0, 0, 1}, 182, false));
    // A time or an interval of 0 or less, as older programs wrote them, reads
    // as the default; the switches and the base take any number.
    const std::tuple<const char*, SettingId, int32_t> rows[] = {
        {"[VREMYA]\nvremya=0x3C\n", SettingId::MoveTime, 60}, {"[VREMYA]\nvremya=90s\n", SettingId::MoveTime, 180},
        {"[SECNAHOD]\nsecnahod=3\n", SettingId::MoveInterval, 3}, {"[VREMYA]\nvremya=-5\n", SettingId::MoveTime, 180},
        {"[VREMYA]\nvremya=0\n", SettingId::MoveTime, 180},       {"[VREMYA]\nvremya=1\n", SettingId::MoveTime, 1},
        {"[SECNAHOD]\nsecnahod=0\n", SettingId::MoveInterval, 1}, {"[BAZA1]\nbaza1=3\n", SettingId::TaskBase, 3},
        {"[otobragenie_hoda]\notobragenie_hoda=-1\n", SettingId::MoveLine, -1},
        {"[otobragenie_podskazki]\notobragenie_podskazki=1\n", SettingId::Hint, 1},
        {"\x01\x02\xff[\xfe]=\x00", SettingId::Hint, 0},
    };
    for (const auto& [text, id, expected] : rows) {
        Spill(File(), text);
        // Only a value the file really holds counts as stored.
        EXPECT_EQ(std::tuple(LoadSetting(id), *InfoOf(id).Variable, StoredSettingValue(id).has_value()),
                  std::tuple(expected, expected, expected != InfoOf(id).Default)) << text;
    }
}

TEST_F(SettingsFile, WritesKeepOtherLinesAndLeaveTheVariables)
{
    for (auto [id, value] : {std::pair{SettingId::TaskBase, 2}, {SettingId::MoveTime, 240}, {SettingId::MoveInterval, 2},
                             {SettingId::MoveLine, 1}, {SettingId::Hint, 0}, {SettingId::MoveTime, -30}})
        ASSERT_TRUE(WriteSettingValue(id, value));
    EXPECT_EQ(Slurp(File()), "[BAZA1]\nbaza1=2\n[VREMYA]\nvremya=-30\n[SECNAHOD]\nsecnahod=2\n"
                             "[otobragenie_hoda]\notobragenie_hoda=1\n[otobragenie_podskazki]\notobragenie_podskazki=0\n");
    Spill(File(), "# mine\n[vremya]\nVREMYA=180\n[Extra]\nx=y\n");
    MoveTimeSetting = 77;
    ASSERT_TRUE(WriteSettingValue(SettingId::MoveTime, 2147483647));
    EXPECT_EQ(std::pair(MoveTimeSetting, Slurp(File())), std::pair(77, std::string("# mine\n[vremya]\nVREMYA=2147483647\n[Extra]\nx=y\n")));
}

} // namespace

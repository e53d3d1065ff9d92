// The five settings in "opt.ini": where the file is, how a number is read,
// what a read gives and what a write leaves.
#include "IntegerReader.h"
#include "Settings.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

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
        {"[otobragenie_hoda]\notobragenie_hoda=\n", SettingId::MoveLine, 0},
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
    // A plain file where the directory should be: the error names it.
    fs::remove_all(File().parent_path());
    Spill(dir.Path() / "xdg" / "tresolvin", "in the way");
    const auto result = WriteSettingValue(SettingId::MoveTime, 60);
    EXPECT_TRUE(!result && result.Error.find((dir.Path() / "xdg" / "tresolvin").string()) != std::string::npos) << result.Error;
    EXPECT_EQ(ReadSettingValue(SettingId::MoveTime), 180);
}

} // namespace

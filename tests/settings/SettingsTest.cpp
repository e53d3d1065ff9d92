// The five settings in "opt.ini": where the file is, what a read gives and
// what a write leaves.
#include "Settings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Spill(const fs::path& file, const std::string& content)
{
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
}

// Sets (or unsets, with nullopt) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class SettingsFile : public testing::Test {
protected:
    TempDir dir;
    ScopedEnv xdg{"XDG_CONFIG_HOME", (dir.Path() / "xdg").string()};
    fs::path File() const { return dir.Path() / "xdg" / "tresolvin" / "opt.ini"; }
};

TEST_F(SettingsFile, LocationFollowsXdgConfigHome)
{
    EXPECT_EQ(SettingsFilePath(), File());
}

TEST(SettingsLocation, FallsBackToDotConfigInHome)
{
    TempDir home;
    ScopedEnv h("HOME", home.Path().string());
    {
        ScopedEnv unset("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(SettingsFilePath(), home.Path() / ".config" / "tresolvin" / "opt.ini");
    }
    {
        ScopedEnv empty("XDG_CONFIG_HOME", "");
        EXPECT_EQ(SettingsFilePath(), home.Path() / ".config" / "tresolvin" / "opt.ini");
    }
    {
        ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
        EXPECT_EQ(SettingsFilePath(), home.Path() / ".config" / "tresolvin" / "opt.ini");
    }
}

TEST_F(SettingsFile, NoFileGivesTheDefaultsAndCreatesNothing)
{
    EXPECT_EQ(LoadSetting(SettingId::MoveTime), 180);
    EXPECT_EQ(LoadSetting(SettingId::MoveInterval), 1);
    EXPECT_EQ(LoadSetting(SettingId::MoveLine), 0);
    EXPECT_EQ(LoadSetting(SettingId::Hint), 0);
    EXPECT_EQ(LoadSetting(SettingId::TaskBase), 1);
    EXPECT_EQ(MoveTimeSetting, 180);
    EXPECT_EQ(MoveIntervalSetting, 1);
    EXPECT_EQ(MoveLineSetting, 0);
    EXPECT_EQ(HintSetting, 0);
    EXPECT_EQ(TaskBaseSetting, 1);
    EXPECT_FALSE(fs::exists(File().parent_path()));
}

TEST_F(SettingsFile, AHandWrittenFileIsReadKeyByKey)
{
    Spill(File(), "[VREMYA]\nvremya=0x3C\n"
                  "[SECNAHOD]\nsecnahod=3\n"
                  "[otobragenie_hoda]\notobragenie_hoda=1\n"
                  "[otobragenie_podskazki]\notobragenie_podskazki=1\n"
                  "[BAZA1]\nbaza1=2\n");
    EXPECT_EQ(LoadSetting(SettingId::MoveTime), 60);
    EXPECT_EQ(LoadSetting(SettingId::MoveInterval), 3);
    EXPECT_EQ(LoadSetting(SettingId::MoveLine), 1);
    EXPECT_EQ(LoadSetting(SettingId::Hint), 1);
    EXPECT_EQ(LoadSetting(SettingId::TaskBase), 2);
    EXPECT_EQ(MoveTimeSetting, 60);
    EXPECT_EQ(TaskBaseSetting, 2);
}

struct ValueRow {
    const char* name;
    const char* fileText;
    SettingId id;
    int32_t expected;
};

class ReadValue : public SettingsFile, public testing::WithParamInterface<ValueRow> {};

TEST_P(ReadValue, FromFile)
{
    Spill(File(), GetParam().fileText);
    EXPECT_EQ(ReadSettingValue(GetParam().id), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ReadValue,
    testing::Values(ValueRow{"HexTime", "[VREMYA]\nvremya=0x3C\n", SettingId::MoveTime, 60},
                    ValueRow{"LettersGiveTheDefault", "[VREMYA]\nvremya=abc\n", SettingId::MoveTime, 180},
                    ValueRow{"TrailingJunkGivesTheDefault", "[VREMYA]\nvremya=90s\n", SettingId::MoveTime, 180},
                    ValueRow{"OutOfRangeGivesTheDefault", "[SECNAHOD]\nsecnahod=4294967296\n", SettingId::MoveInterval, 1},
                    ValueRow{"NegativeTimeIsKept", "[VREMYA]\nvremya=-5\n", SettingId::MoveTime, -5},
                    ValueRow{"UnknownBaseIsKept", "[BAZA1]\nbaza1=3\n", SettingId::TaskBase, 3},
                    ValueRow{"MixedCaseNames", "[baza1]\nBAZA1=2\n", SettingId::TaskBase, 2},
                    ValueRow{"MissingKey", "[BAZA1]\nbase=2\n", SettingId::TaskBase, 1},
                    ValueRow{"KeyInTheWrongSection", "[VREMYA]\nsecnahod=5\n", SettingId::MoveInterval, 1},
                    ValueRow{"EmptyValue", "[otobragenie_hoda]\notobragenie_hoda=\n", SettingId::MoveLine, 0},
                    ValueRow{"BinaryFile", "\x01\x02\xff[\xfe]=\x00", SettingId::Hint, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFile, WritesCreateSectionsInTheOrderOfWriting)
{
    ASSERT_TRUE(WriteSettingValue(SettingId::TaskBase, 2));
    ASSERT_TRUE(WriteSettingValue(SettingId::MoveTime, 240));
    ASSERT_TRUE(WriteSettingValue(SettingId::MoveInterval, 2));
    ASSERT_TRUE(WriteSettingValue(SettingId::MoveLine, 1));
    ASSERT_TRUE(WriteSettingValue(SettingId::Hint, 0));
    ASSERT_TRUE(WriteSettingValue(SettingId::MoveTime, -30));
    EXPECT_EQ(Slurp(File()), "[BAZA1]\nbaza1=2\n"
                             "[VREMYA]\nvremya=-30\n"
                             "[SECNAHOD]\nsecnahod=2\n"
                             "[otobragenie_hoda]\notobragenie_hoda=1\n"
                             "[otobragenie_podskazki]\notobragenie_podskazki=0\n");
    EXPECT_EQ(ReadSettingValue(SettingId::MoveTime), -30);
    EXPECT_EQ(ReadSettingValue(SettingId::TaskBase), 2);
}

TEST_F(SettingsFile, WriteDoesNotTouchTheVariableAndKeepsOtherLines)
{
    Spill(File(), "# mine\n[vremya]\nVREMYA=180\n[Extra]\nx=y\n");
    MoveTimeSetting = 77;
    ASSERT_TRUE(WriteSettingValue(SettingId::MoveTime, 2147483647));
    EXPECT_EQ(MoveTimeSetting, 77);
    EXPECT_EQ(Slurp(File()), "# mine\n[vremya]\nVREMYA=2147483647\n[Extra]\nx=y\n");
    EXPECT_EQ(ReadSettingValue(SettingId::MoveTime), 2147483647);
}

TEST_F(SettingsFile, AFailedWriteSaysWhereAndKeepsTheDefaults)
{
    // The settings directory cannot be made: a plain file stands in its way.
    Spill(dir.Path() / "xdg" / "tresolvin", "in the way");
    const auto result = WriteSettingValue(SettingId::MoveTime, 60);
    EXPECT_FALSE(result);
    EXPECT_NE(result.Error.find((dir.Path() / "xdg" / "tresolvin").string()), std::string::npos) << result.Error;
    EXPECT_EQ(ReadSettingValue(SettingId::MoveTime), 180);
}

TEST_F(SettingsFile, AnExplicitPathIsUsedAsGiven)
{
    const fs::path other = dir.Path() / "other" / "opt.ini";
    ASSERT_TRUE(WriteSettingValue(other, SettingId::Hint, 1));
    EXPECT_EQ(ReadSettingValue(other, SettingId::Hint), 1);
    EXPECT_EQ(ReadSettingValue(SettingId::Hint), 0);
    EXPECT_FALSE(fs::exists(File()));
}

} // namespace

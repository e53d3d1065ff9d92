#pragma once
// Every settings test gets its own empty configuration directory and
// in-memory settings reset to zero, as before the first read.
#include "IniFile.h"
#include "Settings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

class SettingsFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_configHome.isValid());
        qputenv("XDG_CONFIG_HOME", m_configHome.path().toLocal8Bit());
        // Never touch the real home directory.
        ASSERT_EQ(SettingsFilePath().parent_path().parent_path(), std::filesystem::path(m_configHome.path().toStdString()));
        for (const SettingInfo& info : kSettings)
            *info.Variable = 0;
    }

    static void Put(SettingId id, const std::string& text)
    {
        const SettingInfo& info = InfoOf(id);
        ASSERT_TRUE(WriteIniValue(SettingsFilePath(), info.Section, info.Key, text));
    }

    static std::optional<std::string> Stored(SettingId id)
    {
        const SettingInfo& info = InfoOf(id);
        return ReadIniValue(SettingsFilePath(), info.Section, info.Key);
    }

    static bool FileExists() { return std::filesystem::exists(SettingsFilePath()); }

    // Puts a plain file where the settings directory should be, so that the
    // settings file can be neither created nor replaced.
    void BreakSettingsDirectory()
    {
        const std::filesystem::path directory = SettingsFilePath().parent_path();
        std::filesystem::remove_all(directory);
        std::ofstream(directory) << "not a directory\n";
        ASSERT_TRUE(std::filesystem::is_regular_file(directory));
    }

private:
    QTemporaryDir m_configHome;
};

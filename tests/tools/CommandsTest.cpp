// The tool as a command: its exit codes, and the tables select writes.
#include "Commands.h"
#include "Words.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

int ExitCodeOf(const std::string& arguments)
{
    const std::string command = std::string(TASKS_TOOL) + " " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Tool, ExitCodes)
{
    EXPECT_EQ(ExitCodeOf(""), 2);          // no command: the usage, as a failure
    EXPECT_EQ(ExitCodeOf("--help"), 0);    // asked for: the usage
    EXPECT_EQ(ExitCodeOf("-h"), 0);
    EXPECT_EQ(ExitCodeOf("mend"), 2);      // unknown command
    EXPECT_EQ(ExitCodeOf("dump extra"), 1);  // a command that refuses its arguments
}

// The compiled tables are what select writes from the committed mined data,
// byte for byte: a change to how lines are chosen or said shows here first.
TEST(Select, WritesTheCompiledTablesFromTheMinedData)
{
    const auto dir = std::filesystem::temp_directory_path() / ("select-tables-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "generated");
    std::filesystem::copy(MINED_DIR, dir / "mined", std::filesystem::copy_options::recursive);  // nothing written into the tree
    // The header names come from the players' table of the source tree.
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(SOURCE_DIR);
    testing::internal::CaptureStderr();
    const int rc = CommandSelect(
        {"--mined", (dir / "mined").string(), "--out", (dir / "generated").string(), "--no-confirm", "--engine", FAKE_ENGINE});
    const std::string log = testing::internal::GetCapturedStderr();
    std::filesystem::current_path(here);
    EXPECT_EQ(rc, 0) << log;
    const std::filesystem::path source(COLLECTIONS_DIR);
    for (const char* table : {"generated/TacticsTasks.cpp", "generated/StrategyTasks.cpp", "PROVENANCE.tsv"})
        EXPECT_TRUE(Contents(dir / table) == Contents(source / table)) << table << " differs from what select writes";
    std::filesystem::remove_all(dir);
}

} // namespace

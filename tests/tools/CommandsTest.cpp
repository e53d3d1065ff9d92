// The tool as a command: its exit codes and the select command's stop after a
// number of confirmations.
#include "Candidate.h"
#include "Commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

Candidate Tactic(const std::string& gameId)
{
    Candidate c;
    c.kind = TaskKind::Tactic;
    c.gameId = gameId;
    c.ply = 40;
    c.white = "Pilnik, Herman";
    c.black = "Euwe, Max";
    c.year = 1950;
    c.event = "Amsterdam";
    c.fen = "8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w - - 0 1";
    c.gameMove = "d5g8";
    c.line.moves = {"d5g8", "h7g8", "f2f8"};
    c.line.steps = {{Score::Cp(557), Score::Cp(-314), Score::Cp(120), false, false},
                    {Score::MateIn(9), std::nullopt, Score::Cp(600), false, false}};
    c.line.continuation = {"g8h7", "e7e8q"};
    return c;
}

std::size_t LinesOf(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);)
        n += line.empty() ? 0 : 1;
    return n;
}

TEST(Select, StopsAfterTheConfirmationsAskedFor)
{
    const auto dir = std::filesystem::temp_directory_path() / ("select-stop-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "out");
    {
        std::ofstream candidates(dir / "candidates-0of1.tsv");
        candidates << FormatCandidate(Tactic("a.pgn#1")) << '\n' << FormatCandidate(Tactic("b.pgn#2")) << '\n';
    }
    testing::internal::CaptureStderr();
    const int rc = CommandSelect({"--mined", dir.string(), "--out", (dir / "out").string(), "--engine", FAKE_ENGINE,
                                  "--jobs", "1", "--max-confirm", "1"});
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(rc, 3) << log;
    EXPECT_NE(log.find("stopped after 1 confirmations"), std::string::npos) << log;
    // One line was searched (the fake engine's moves do not fit it: rejected),
    // and nothing was written as a collection.
    EXPECT_EQ(LinesOf(dir / "rejected.tsv") + LinesOf(dir / "confirmed.tsv"), 1u) << log;
    EXPECT_TRUE(std::filesystem::is_empty(dir / "out")) << log;
    std::filesystem::remove_all(dir);
}

std::string Contents(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The compiled tables are what select writes from the committed mined data,
// byte for byte: a change to how lines are chosen or said shows here first.
TEST(Select, WritesTheCompiledTablesFromTheMinedData)
{
    const auto dir = std::filesystem::temp_directory_path() / ("select-tables-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "generated");
    // The header names come from the players' table of the source tree.
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(SOURCE_DIR);
    testing::internal::CaptureStderr();
    const int rc = CommandSelect({"--mined", MINED_DIR, "--out", (dir / "generated").string(), "--no-confirm"});
    const std::string log = testing::internal::GetCapturedStderr();
    std::filesystem::current_path(here);
    EXPECT_EQ(rc, 0) << log;
    const std::filesystem::path source(COLLECTIONS_DIR);
    for (const char* table : {"generated/TacticsTasks.cpp", "generated/StrategyTasks.cpp", "PROVENANCE.tsv"})
        EXPECT_TRUE(Contents(dir / table) == Contents(source / table)) << table << " differs from what select writes";
    std::filesystem::remove_all(dir);
}

} // namespace

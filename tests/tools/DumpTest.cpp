// The commands over the compiled collections: the JSON lines of `dump` (one
// record a line, escapes where JSON needs them) and the verdicts `verify` keeps.
#include "Commands.h"
#include "Verify.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <unistd.h>

namespace {

std::vector<std::string> DumpLines()
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(CommandDump({}), 0);
    std::istringstream out(testing::internal::GetCapturedStdout());
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(out, line))
        lines.push_back(line);
    return lines;
}

TEST(Dump, FirstRecordIsTheWorkedExample)
{
    const auto lines = DumpLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(),
              "{\"collection\":\"tactics\",\"number\":1,"
              "\"header\":\"[White \\\"N.N.\\\"]\\r\\n[Black \\\"N.N.\\\"]\\r\\n[EventDate \\\"1945\\\"]\","
              "\"position\":\"r2qrbk1/1bp2ppp/p2p1n2/2p2NB1/4P3/2N2Q2/PPP2PPP/R3R1K1\",\"sideToMove\":\"w\","
              "\"solution\":\"f5-h6 g7:h6 g5:f6\",\"taskText\":\"Ход белых. Найдите оптимальный вариант.\","
              "\"hint\":\"Попробуйте выиграть на связке.\",\"marker\":1}");
}

TEST(Dump, OneLinePerRecordInCollectionOrder)
{
    const auto lines = DumpLines();
    int tactics = 0, strategy = 0, lastNumber = 0;
    std::string lastCollection = "tactics";
    for (const auto& line : lines) {
        const bool isTactics = line.rfind("{\"collection\":\"tactics\",", 0) == 0;
        const bool isStrategy = line.rfind("{\"collection\":\"strategy\",", 0) == 0;
        ASSERT_TRUE(isTactics || isStrategy) << line;
        EXPECT_EQ(line.back(), '}');
        const auto at = line.find("\"number\":") + 9;
        const int number = std::stoi(line.substr(at));
        if (isStrategy && lastCollection == "tactics")
            lastNumber = 0;
        EXPECT_EQ(number, lastNumber + 1) << line;
        lastNumber = number;
        lastCollection = isTactics ? "tactics" : "strategy";
        (isTactics ? tactics : strategy)++;
        // No raw control character may reach the output.
        for (unsigned char c : line)
            EXPECT_GE(c, 0x20);
    }
    EXPECT_EQ(tactics, 225);
    EXPECT_EQ(strategy, 189);
}

// A kept verdict is taken instead of a search while its key holds; a record
// whose key no longer matches is searched again.
TEST(Verify, KeptVerdictsAreReusedOnlyUnderTheirKey)
{
    const std::string dir = std::filesystem::temp_directory_path() / ("verdicts-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = dir + "/verify-2000000.tsv";
    std::filesystem::remove(file);
    auto run = [&](int status) {  // 1: not every record sound
        testing::internal::CaptureStdout();
        EXPECT_EQ(CommandVerify({"--only", "strategy", "--from", "189", "--to", "189", "--engine", FAKE_ENGINE, "--nodes", "2000000", "--record", dir}),
                  status);
        return testing::internal::GetCapturedStdout();
    };
    auto rewrite = [&](const std::string& pattern, const std::string& with) {
        std::ifstream in(file);
        const std::string line((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(file) << std::regex_replace(line, std::regex(pattern), with);
    };
    const std::string searched = run(1);
    EXPECT_NE(searched.find(": 0 of 1, searched 1\n"), std::string::npos) << searched;
    rewrite("^(strategy\t189\t[0-9a-f]+\t)[^\t]*", "$1"); // kept as sound
    const std::string reused = run(0);
    EXPECT_NE(reused.find(": 1 of 1, searched 0\nverified: 1 of 1 sound and complete at 2000000 nodes\n"), std::string::npos) << reused;
    rewrite("^(strategy\t189\t)[0-9a-f]+", "$1beef");
    EXPECT_EQ(run(1), searched);
    std::filesystem::remove_all(dir);
}

// Every compiled record keeps the rules an engine is not needed for: its end,
// its start, what its hint says and the rules of a test's content (a quiet
// strategy start, no strategy line winning three points, no one-move tactic
// below club level, no tactics line ending worse than it started). The given
// records (the worked examples and the whole-FEN test) stand as written and
// only leave notes.
TEST(Verify, EveryCompiledRecordKeepsTheRulesOfAGoodTest)
{
    std::vector<std::string> notes;  // what the given records may break
    for (const RecordText& record : CompiledRecords()) {
        const std::string name = record.collection + " " + std::to_string(record.number);
        for (const std::string& problem : RecordProblems(record, nullptr, notes))
            ADD_FAILURE() << name << ": " << problem;
    }
}

} // namespace

namespace {

// verify counts the one-move tactics by what their move does; the counts
// add up to the one-move records, and the captures are the tokens with ':'.
TEST(Verify, CountsTheOneMoveTacticsByKind)
{
    testing::internal::CaptureStdout();
    CommandVerify({"--rules-only", "--only", "tactics"});
    const std::string out = testing::internal::GetCapturedStdout();
    std::smatch m;
    ASSERT_TRUE(std::regex_search(out, m, std::regex("one-move tactics by kind: quiet (\\d+); capture (\\d+); "
                                                     "check (\\d+); mate (\\d+);")))
        << out;
    int ones = 0, captures = 0;
    for (const RecordText& r : CompiledRecords())
        if (std::istringstream tokens(r.solution); r.collection == "tactics"
            && std::distance(std::istream_iterator<std::string>(tokens), std::istream_iterator<std::string>()) == 1) {
            ++ones;
            captures += r.solution.find(':') != std::string::npos ? 1 : 0;
        }
    EXPECT_EQ(std::stoi(m[1]) + std::stoi(m[2]) + std::stoi(m[3]) + std::stoi(m[4]), ones);
    EXPECT_EQ(std::stoi(m[2]), captures);
}

} // namespace

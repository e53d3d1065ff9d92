// The commands over the compiled collections: the JSON lines of `dump` (one
// record a line, escapes where JSON needs them) and the verdicts `verify` keeps.
#include "Commands.h"
#include "Verify.h"
#include "Words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace {

// One JSON object a line, the records in collection order, with no raw control
// character: the header's quotes and line breaks are escaped.
TEST(Dump, OneLinePerRecordInCollectionOrder)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(CommandDump({}), 0);
    std::istringstream out(testing::internal::GetCapturedStdout());
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);)
        lines.push_back(line);
    const auto records = CompiledRecords();
    ASSERT_EQ(lines.size(), records.size());
    EXPECT_NE(lines[0].find(",\"header\":\"[White \\\"N.N.\\\"]\\r\\n[Black "), std::string::npos) << lines[0];
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string start = "{\"collection\":\"" + records[i].collection + "\",\"number\":"
            + std::to_string(records[i].number) + ",";
        EXPECT_EQ(lines[i].rfind(start, 0), 0u) << lines[i];
        EXPECT_EQ(lines[i].back(), '}');
        EXPECT_TRUE(std::all_of(lines[i].begin(), lines[i].end(), [](unsigned char c) { return c >= 0x20; }))
            << "a raw control character in line " << i + 1;
    }
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
        const std::string line = Contents(file);
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

// verify counts the one-move tactics and the strategy starts by what their
// move does; the counts add up to the records, and the captures are the
// tokens with ':' (less the captures that check, counted as checks).
TEST(Verify, CountsTheOneMoveTacticsAndTheStrategyStartsByKind)
{
    for (const std::string collection : {"tactics", "strategy"}) {
        testing::internal::CaptureStdout();
        CommandVerify({"--rules-only", "--only", collection});
        const std::string out = testing::internal::GetCapturedStdout();
        std::smatch m;
        const std::string title = collection == "tactics" ? "one-move tactics" : "strategy starts";
        ASSERT_TRUE(std::regex_search(out, m, std::regex(title + " by kind: quiet (\\d+); capture (\\d+); "
                                                                  "check (\\d+); mate (\\d+);")))
            << out;
        int counted = 0, captures = 0;
        for (const RecordText& r : CompiledRecords())
            if (r.collection == collection && (collection == "strategy" || Words(r.solution).size() == 1)) {
                ++counted;
                captures += Words(r.solution).front().find(':') != std::string::npos ? 1 : 0;
            }
        EXPECT_EQ(std::stoi(m[1]) + std::stoi(m[2]) + std::stoi(m[3]) + std::stoi(m[4]), counted) << collection;
        EXPECT_LE(std::stoi(m[2]), captures) << collection;
        EXPECT_GE(std::stoi(m[2]) + std::stoi(m[3]), captures) << collection;
        if (collection == "tactics") {  // none of the one-move captures checks
            EXPECT_EQ(std::stoi(m[2]), captures);
        }
    }
}

} // namespace

// The two collections as the program and its users rely on them: their
// sizes, LoadTask and the form of every record, read with the core's
// notation. That every test is legal chess the program's own move
// rules can play is checked with the offline tool's chess rules, in
// tests/tools/.
#include "Collections.h"
#include "Notation.h"
#include "TaskData.h"
#include "Unit2.h"
#include "Unitstrategy.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

struct Loaded {
    bool tactics;
    int number;
    std::string header, position, side, solution, text, hint;
    int marker;
};

template <typename Record>
Loaded Load(int number)
{
    Record r;
    r.LoadTask(number);
    return {std::is_same_v<Record, TPart>, number, r.header, r.position, r.sideToMove, r.solution, r.taskText,
            r.hint, r.marker};
}

const std::vector<Loaded>& All()
{
    static const std::vector<Loaded> all = [] {
        std::vector<Loaded> v;
        for (int n = 1; n <= kTacticsCount; ++n)
            v.push_back(Load<TPart>(n));
        for (int n = 1; n <= kStrategyCount; ++n)
            v.push_back(Load<TPartstr>(n));
        return v;
    }();
    return all;
}

TEST(Collections, SizesAndLoadTask)
{
    EXPECT_EQ(CollectionSize(1), static_cast<int>(TacticsTasks().size()));
    EXPECT_EQ(CollectionSize(2), static_cast<int>(StrategyTasks().size()));
    EXPECT_EQ(CollectionSize(0) + CollectionSize(3), 0);
    // Outside its collection a number changes nothing.
    for (int number : {0, -5, kTacticsCount + 1, INT32_MIN, INT32_MAX}) {
        TPart t;
        t.LoadTask(17);
        const std::string kept = t.header + t.solution;
        t.LoadTask(number);
        EXPECT_EQ(t.header + t.solution, kept) << number;
        const int strategyNumber = number == kTacticsCount + 1 ? kStrategyCount + 1 : number;
        EXPECT_EQ(Load<TPart>(number).marker + Load<TPartstr>(strategyNumber).marker, 0) << number;
    }
}

// What every record keeps, whichever edition: filled in, a task text that
// names the side to move, a header of three tags and a line of tokens the
// program reads, joined by single blanks.
TEST(Collections, EveryRecordHasTheFormTheProgramReads)
{
    const std::regex header("\\[White \"([^\"]+)\"\\]\r\n\\[Black \"([^\"]+)\"\\]\r\n\\[EventDate \"([0-9]{4})\"\\]");
    for (const Loaded& r : All()) {
        SCOPED_TRACE((r.tactics ? "tactics " : "strategy ") + std::to_string(r.number));
        EXPECT_EQ(r.marker, 1);
        EXPECT_FALSE(r.header.empty() || r.position.empty() || r.text.empty() || r.hint.empty());
        EXPECT_EQ(r.text.rfind(r.side == "w" ? "Ход белых." : "Ход черных.", 0), 0u);
        const std::vector<std::string> tokens = LineTokens(r.solution);
        EXPECT_EQ(JoinTokens(tokens) + (r.solution.back() == ' ' ? " " : ""), r.solution);
        for (const std::string& token : tokens)
            EXPECT_TRUE(ParseToken(token).has_value()) << token;
        EXPECT_TRUE(std::regex_match(r.header, header)) << r.header;
    }
}

} // namespace

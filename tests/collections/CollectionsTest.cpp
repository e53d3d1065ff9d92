// The two collections as the program and its users rely on them: LoadTask
// and the form of every record, read with the core's notation. That every
// test is legal chess the program's own move rules can play is checked with
// the offline tool's chess rules, in tests/tools/.
#include "Collections.h"
#include "Notation.h"
#include "TaskData.h"
#include "Unit2.h"
#include "Unitstrategy.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>

namespace {

// Each record in turn, `check`ed after LoadTask of its number; a number
// outside the collection changes nothing.
template <typename Record>
void EveryRecord(int32_t count, const std::function<void(const Record&)>& check)
{
    for (int32_t n = 1; n <= count; ++n) {
        Record r;
        r.LoadTask(n);
        SCOPED_TRACE(n);
        check(r);
    }
    for (int32_t number : {0, -5, count + 1, INT32_MIN, INT32_MAX}) {
        Record r;
        r.LoadTask(17);
        const std::string kept = r.header + r.solution;
        r.LoadTask(number);
        Record fresh;
        fresh.LoadTask(number);
        EXPECT_EQ(std::pair(r.header + r.solution, fresh.marker), std::pair(kept, 0)) << number;
    }
}

// What every record keeps, whichever edition: filled in, a task text that
// names the side to move, a header of three tags and a line of tokens the
// program reads, joined by single blanks.
template <typename Record>
void HasTheFormTheProgramReads(const Record& r)
{
    static const std::regex header("\\[White \"[^\"]+\"\\]\r\n\\[Black \"[^\"]+\"\\]\r\n\\[EventDate \"[0-9]{4}\"\\]");
    EXPECT_EQ(r.marker, 1);
    EXPECT_FALSE(r.position.empty() || r.taskText.empty() || r.hint.empty());
    EXPECT_EQ(r.taskText.rfind(r.sideToMove == "w" ? "Ход белых." : "Ход черных.", 0), 0u);
    const std::vector<std::string> tokens = LineTokens(r.solution);
    EXPECT_EQ(JoinTokens(tokens) + (r.solution.back() == ' ' ? " " : ""), r.solution);
    for (const std::string& token : tokens)
        EXPECT_TRUE(ParseToken(token).has_value()) << token;
    EXPECT_TRUE(std::regex_match(r.header, header)) << r.header;
}

TEST(Collections, EveryRecordHasTheFormTheProgramReads)
{
    EXPECT_EQ(std::tuple(CollectionSize(1), CollectionSize(2), CollectionSize(0) + CollectionSize(3)),
              std::tuple(static_cast<int>(TacticsTasks().size()), static_cast<int>(StrategyTasks().size()), 0));
    EveryRecord<TPart>(kTacticsCount, HasTheFormTheProgramReads<TPart>);
    EveryRecord<TPartstr>(kStrategyCount, HasTheFormTheProgramReads<TPartstr>);
}

} // namespace

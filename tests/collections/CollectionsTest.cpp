// The two collections as the program and its users rely on them: LoadTask
// and the texts of every record (their lines of tokens, legal chess the
// program's move rules can play, are checked with the offline tool's chess
// rules in tests/tools/); and the two quote tables: LoadQuote's range and
// reset rules and the messages the menu commands show.
#include "Collections.h"
#include "TaskData.h"
#include "Unit2.h"
#include "UnitGulmar.h"
#include "Unitcitata.h"
#include "Unitstrategy.h"

#include <gtest/gtest.h>

#include <limits>
#include <regex>
#include <set>

namespace {

// Every record of `count` filled in, with a header of three tags and a task
// text that names the side to move; a number outside the collection changes
// nothing, and a fresh record stays empty.
template <typename Record>
void CheckCollection(int32_t count)
{
    static const std::regex header("\\[White \"[^\"]+\"\\]\r\n\\[Black \"[^\"]+\"\\]\r\n\\[EventDate \"[0-9]{4}\"\\]");
    Record r;
    for (int32_t n = 1; n <= count; ++n) {
        r.LoadTask(n);
        EXPECT_EQ(r.marker, 1) << n;
        EXPECT_FALSE(r.position.empty() || r.solution.empty() || r.hint.empty()) << n;
        EXPECT_EQ(r.taskText.rfind(r.sideToMove == "w" ? "Ход белых." : "Ход черных.", 0), 0u) << n;
        EXPECT_TRUE(std::regex_match(r.header, header)) << n << r.header;
    }
    for (int32_t number : {0, -5, count + 1, INT32_MIN, INT32_MAX}) {
        Record fresh;
        fresh.LoadTask(number);
        r.LoadTask(17);
        const std::string kept = r.header + r.solution;
        r.LoadTask(number);
        EXPECT_EQ(std::pair(r.header + r.solution, fresh.marker), std::pair(kept, 0)) << number;
    }
}

TEST(Collections, EveryRecordHasTheFormTheProgramReads)
{
    EXPECT_EQ(std::tuple(CollectionSize(1), CollectionSize(2), CollectionSize(0) + CollectionSize(3)),
              std::tuple(static_cast<int>(TacticsTasks().size()), static_cast<int>(StrategyTasks().size()), 0));
    CheckCollection<TPart>(kTacticsCount);
    CheckCollection<TPartstr>(kStrategyCount);
}

TEST(QuoteTables, LoadFillsInRangeResetsTheContinuationAndIgnoresOthers)
{
    std::set<std::string> quotes;
    Tcitata reused;
    TGulmar comment;
    for (int32_t n = 0; n < std::max(Tcitata::Count, TGulmar::Count); ++n) {
        Tcitata q;
        q.LoadQuote(n);
        reused.LoadQuote(n); // nothing kept from an earlier entry
        EXPECT_TRUE(reused.continuation == q.continuation && !q.author.empty() && !q.quote.empty()) << n;
        EXPECT_EQ(QuoteMessage(q), q.quote + " " + q.continuation + " " + q.author) << n;
        quotes.insert(q.quote);
        comment.LoadQuote(n);
        EXPECT_TRUE(n >= TGulmar::Count || !comment.comment.empty()) << n;
        EXPECT_EQ(CommentMessage(comment), comment.comment + " " + comment.continuation);
    }
    EXPECT_EQ(quotes.size(), static_cast<std::size_t>(Tcitata::Count)); // all different
    for (int32_t bad : {-1, 42, std::numeric_limits<int32_t>::min()}) {
        Tcitata q;
        q.quote = "Q";
        q.LoadQuote(bad);
        TGulmar g;
        g.comment = "C";
        g.LoadQuote(bad == 42 ? 18 : bad);
        EXPECT_EQ(std::pair(QuoteMessage(q), CommentMessage(g)), std::pair(std::string("Q  "), std::string("C "))) << bad;
    }
}

} // namespace

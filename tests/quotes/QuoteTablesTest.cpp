// The two quote tables: LoadQuote's range and reset rules and the messages
// the menu commands show.
#include "UnitGulmar.h"
#include "Unitcitata.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <tuple>

namespace {

TEST(QuoteTables, LoadFillsInRangeResetsTheContinuationAndIgnoresOthers)
{
    std::set<std::string> quotes;
    int continued = 0;
    Tcitata reused;
    TGulmar comment;
    for (int32_t n = 0; n < std::max(Tcitata::Count, TGulmar::Count); ++n) {
        Tcitata q;
        q.LoadQuote(n);
        reused.LoadQuote(n); // nothing kept from an earlier entry
        EXPECT_TRUE(reused.continuation == q.continuation && !q.author.empty() && !q.quote.empty()) << n;
        EXPECT_EQ(QuoteMessage(q), q.quote + " " + q.continuation + " " + q.author) << n;
        quotes.insert(q.quote);
        continued += !q.continuation.empty();
        comment.LoadQuote(n);
        EXPECT_TRUE(n >= TGulmar::Count || !comment.comment.empty()) << n;
        EXPECT_EQ(CommentMessage(comment), comment.comment + " " + comment.continuation);
    }
    EXPECT_EQ(std::tuple(quotes.size(), continued), std::tuple(42u, 1));
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

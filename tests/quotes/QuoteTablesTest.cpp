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
    for (int32_t n = 0; n < Tcitata::Count; ++n) {
        Tcitata q;
        q.LoadQuote(n);
        reused.LoadQuote(n);
        EXPECT_EQ(reused.continuation, q.continuation) << n; // nothing kept from an earlier entry
        EXPECT_FALSE(q.author.empty() || q.quote.empty()) << n;
        quotes.insert(q.quote);
        continued += !q.continuation.empty();
        EXPECT_EQ(QuoteMessage(q), q.quote + " " + q.continuation + " " + q.author) << n;
    }
    EXPECT_EQ(std::tuple(quotes.size(), continued), std::tuple(42u, 1));
    for (int32_t n = 0; n < TGulmar::Count; ++n) {
        TGulmar g;
        g.LoadQuote(n);
        EXPECT_FALSE(g.comment.empty()) << n;
        EXPECT_EQ(CommentMessage(g), g.comment + " " + g.continuation);
    }
    for (int32_t bad : {-1, 42, std::numeric_limits<int32_t>::min()}) {
        Tcitata q;
        q.quote = "Q";
        q.LoadQuote(bad);
        EXPECT_EQ(QuoteMessage(q), "Q  ") << bad;
        TGulmar g;
        g.comment = "C";
        g.LoadQuote(bad == 42 ? 18 : bad);
        EXPECT_EQ(CommentMessage(g), "C ") << bad;
    }
}

} // namespace

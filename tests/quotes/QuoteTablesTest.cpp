// The two quote tables: LoadQuote's range and reset rules, the messages the
// menu commands show, and the shape of the built-in content.
#include "UnitGulmar.h"
#include "Unitcitata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <set>

namespace {

std::size_t CodePoints(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

bool Trimmed(const std::string& text)
{
    return text.empty() || (text.front() != ' ' && text.back() != ' ');
}

TEST(QuoteTables, LoadFillsInRangeResetsTheContinuationAndIgnoresOthers)
{
    std::map<std::string, int> authors;
    std::set<std::string> quotes;
    std::vector<std::size_t> continued;
    Tcitata reused;
    for (int32_t n = 0; n < Tcitata::Count; ++n) {
        Tcitata q;
        q.LoadQuote(n);
        reused.LoadQuote(n);
        EXPECT_EQ(reused.continuation, q.continuation) << n; // nothing kept from an earlier entry
        EXPECT_TRUE(!q.author.empty() && Trimmed(q.author) && Trimmed(q.quote) && Trimmed(q.continuation)) << n;
        ++authors[q.author];
        quotes.insert(q.quote);
        if (!q.continuation.empty()) {
            continued.push_back(CodePoints(q.continuation));
            EXPECT_EQ(QuoteMessage(q), q.quote + " " + q.continuation + " " + q.author);
        } else {
            EXPECT_EQ(QuoteMessage(q), q.quote + "  " + q.author);
        }
    }
    EXPECT_EQ(quotes.size(), 42u);
    EXPECT_EQ(authors.size(), 19u);
    EXPECT_EQ(continued, std::vector<std::size_t>{110u});
    std::vector<std::size_t> commentsContinued;
    for (int32_t n = 0; n < TGulmar::Count; ++n) {
        TGulmar g;
        g.LoadQuote(n);
        EXPECT_TRUE(!g.comment.empty() && Trimmed(g.comment) && Trimmed(g.continuation)) << n;
        EXPECT_EQ(CommentMessage(g), g.comment + " " + g.continuation);
        if (!g.continuation.empty())
            commentsContinued.push_back(CodePoints(g.continuation));
    }
    std::sort(commentsContinued.begin(), commentsContinued.end());
    EXPECT_EQ(commentsContinued, (std::vector<std::size_t>{110u, 205u}));
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

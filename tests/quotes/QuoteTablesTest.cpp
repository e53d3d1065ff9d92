// The two quote tables: LoadQuote's range and reset rules, the message
// texts, and the shape of the built-in content.
#include "UnitGulmar.h"
#include "Unitcitata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// Length in Unicode code points of valid UTF-8 text: every byte that is not
// a continuation byte (10xxxxxx) starts a code point.
std::size_t CodePoints(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    }));
}

bool IsAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80u; });
}

bool HasOuterBlank(const std::string& text)
{
    return !text.empty() && (text.front() == ' ' || text.back() == ' ');
}

std::vector<Tcitata> AllQuotes()
{
    std::vector<Tcitata> all(Tcitata::Count);
    for (int32_t n = 0; n < Tcitata::Count; ++n)
        all[static_cast<std::size_t>(n)].LoadQuote(n);
    return all;
}

std::vector<TGulmar> AllComments()
{
    std::vector<TGulmar> all(TGulmar::Count);
    for (int32_t n = 0; n < TGulmar::Count; ++n)
        all[static_cast<std::size_t>(n)].LoadQuote(n);
    return all;
}

int32_t FirstQuoteWithContinuation()
{
    for (int32_t n = 0; n < Tcitata::Count; ++n) {
        Tcitata q;
        q.LoadQuote(n);
        if (!q.continuation.empty())
            return n;
    }
    return -1;
}

// --- LoadQuote ---

struct LoadCase {
    const char* name;
    int32_t number;
    bool fills;
};

class CitataLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(CitataLoad, FillsInRangeAndIgnoresOthers)
{
    const LoadCase& c = GetParam();
    Tcitata fresh;
    EXPECT_TRUE(fresh.author.empty() && fresh.quote.empty() && fresh.continuation.empty());
    fresh.LoadQuote(c.number);
    EXPECT_EQ(!fresh.author.empty(), c.fills);
    EXPECT_EQ(!fresh.quote.empty(), c.fills);
    if (!c.fills) {
        EXPECT_TRUE(fresh.continuation.empty());
    }

    // An object already holding an entry keeps it untouched on a bad number.
    Tcitata loaded;
    loaded.LoadQuote(7);
    const Tcitata before = loaded;
    loaded.LoadQuote(c.number);
    if (!c.fills) {
        EXPECT_EQ(loaded.author, before.author);
        EXPECT_EQ(loaded.quote, before.quote);
        EXPECT_EQ(loaded.continuation, before.continuation);
    }
}

INSTANTIATE_TEST_SUITE_P(Bounds, CitataLoad,
    testing::Values(LoadCase{"First", 0, true}, LoadCase{"Last", 41, true}, LoadCase{"OnePastLast", 42, false},
        LoadCase{"MinusOne", -1, false}, LoadCase{"Int32Min", std::numeric_limits<int32_t>::min(), false},
        LoadCase{"Int32Max", std::numeric_limits<int32_t>::max(), false}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

class GulmarLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(GulmarLoad, FillsInRangeAndIgnoresOthers)
{
    const LoadCase& c = GetParam();
    TGulmar fresh;
    EXPECT_TRUE(fresh.comment.empty() && fresh.continuation.empty());
    fresh.LoadQuote(c.number);
    EXPECT_EQ(!fresh.comment.empty(), c.fills);
    if (!c.fills) {
        EXPECT_TRUE(fresh.continuation.empty());
    }

    TGulmar loaded;
    loaded.LoadQuote(3);
    const TGulmar before = loaded;
    loaded.LoadQuote(c.number);
    if (!c.fills) {
        EXPECT_EQ(loaded.comment, before.comment);
        EXPECT_EQ(loaded.continuation, before.continuation);
    }
}

INSTANTIATE_TEST_SUITE_P(Bounds, GulmarLoad,
    testing::Values(LoadCase{"First", 0, true}, LoadCase{"Last", 17, true}, LoadCase{"OnePastLast", 18, false},
        LoadCase{"MinusOne", -1, false}, LoadCase{"Int32Min", std::numeric_limits<int32_t>::min(), false}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST(CitataLoadReuse, ContinuationIsClearedByTheNextEntry)
{
    const int32_t withContinuation = FirstQuoteWithContinuation();
    ASSERT_GE(withContinuation, 0);
    const int32_t other = withContinuation == 0 ? 1 : 0;

    Tcitata q;
    q.LoadQuote(withContinuation);
    ASSERT_FALSE(q.continuation.empty());
    q.LoadQuote(other);
    EXPECT_TRUE(q.continuation.empty());

    Tcitata expected;
    expected.LoadQuote(other);
    EXPECT_EQ(q.quote, expected.quote);
    EXPECT_EQ(q.author, expected.author);
}

TEST(GulmarLoadReuse, ContinuationIsClearedByTheNextEntry)
{
    for (int32_t n = 0; n < TGulmar::Count; ++n) {
        TGulmar probe;
        probe.LoadQuote(n);
        if (probe.continuation.empty())
            continue;
        const int32_t other = (n + 1) % TGulmar::Count;
        TGulmar expected;
        expected.LoadQuote(other);
        if (!expected.continuation.empty())
            continue;
        probe.LoadQuote(other);
        EXPECT_TRUE(probe.continuation.empty()) << "entry " << n << " then " << other;
        EXPECT_EQ(probe.comment, expected.comment);
    }
}

// --- messages ---

TEST(QuoteMessage, WithoutContinuationHasTwoBlanksBeforeTheAuthor)
{
    Tcitata q;
    q.LoadQuote(0);
    ASSERT_TRUE(q.continuation.empty());
    const std::string message = QuoteMessage(q);
    const std::string tail = "  " + q.author;
    ASSERT_GT(message.size(), tail.size());
    EXPECT_EQ(message.substr(0, q.quote.size()), q.quote);
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail);
    EXPECT_NE(message[message.size() - tail.size() - 1], ' ') << "exactly two blanks, not three";
    EXPECT_EQ(message.size(), q.quote.size() + 2 + q.author.size());
}

TEST(QuoteMessage, WithContinuationJoinsThreePartsBySingleBlanks)
{
    Tcitata q;
    q.LoadQuote(FirstQuoteWithContinuation());
    ASSERT_FALSE(q.continuation.empty());
    EXPECT_EQ(QuoteMessage(q), q.quote + " " + q.continuation + " " + q.author);
    EXPECT_EQ(QuoteMessage(q).find("  "), std::string::npos);
}

TEST(QuoteMessage, HandBuiltEntryShowsTheExactLayout)
{
    Tcitata q;
    q.quote = "Q";
    q.author = "A";
    EXPECT_EQ(QuoteMessage(q), "Q  A");
    q.continuation = "C";
    EXPECT_EQ(QuoteMessage(q), "Q C A");
}

TEST(CommentMessage, WithoutContinuationEndsWithOneBlank)
{
    for (const TGulmar& g : AllComments()) {
        const std::string message = CommentMessage(g);
        if (g.continuation.empty()) {
            EXPECT_EQ(message, g.comment + " ");
            ASSERT_GE(message.size(), 2u);
            EXPECT_NE(message[message.size() - 2], ' ');
        } else {
            EXPECT_EQ(message, g.comment + " " + g.continuation);
            EXPECT_NE(message.back(), ' ');
        }
    }
    TGulmar g;
    g.comment = "C";
    EXPECT_EQ(CommentMessage(g), "C ");
}

// --- content ---

TEST(CitataContent, CountsAuthorsAndLengths)
{
    const std::vector<Tcitata> all = AllQuotes();
    ASSERT_EQ(all.size(), 42u);

    std::map<std::string, int> perAuthor;
    std::set<std::string> quotes;
    int english = 0;
    std::vector<std::size_t> continuations;
    for (const Tcitata& q : all) {
        ++perAuthor[q.author];
        quotes.insert(q.quote);
        const std::size_t authorLength = CodePoints(q.author);
        const std::size_t quoteLength = CodePoints(q.quote);
        EXPECT_GE(authorLength, 9u) << q.author;
        EXPECT_LE(authorLength, 28u) << q.author;
        EXPECT_GE(quoteLength, 25u) << q.quote;
        EXPECT_LE(quoteLength, 207u) << q.quote;
        EXPECT_FALSE(HasOuterBlank(q.author)) << q.author;
        EXPECT_FALSE(HasOuterBlank(q.quote)) << q.quote;
        EXPECT_FALSE(HasOuterBlank(q.continuation)) << q.continuation;
        if (IsAscii(q.quote))
            ++english;
        if (!q.continuation.empty())
            continuations.push_back(CodePoints(q.continuation));
    }
    EXPECT_EQ(quotes.size(), 42u) << "no saying twice";
    EXPECT_EQ(perAuthor.size(), 19u);
    const auto most = std::max_element(perAuthor.begin(), perAuthor.end(),
        [](const auto& a, const auto& b) { return a.second < b.second; });
    EXPECT_EQ(most->second, 11);
    EXPECT_EQ(std::count_if(perAuthor.begin(), perAuthor.end(), [](const auto& a) { return a.second == 11; }), 1);
    EXPECT_EQ(english, 1);
    EXPECT_EQ(continuations, std::vector<std::size_t>{110u});
}

TEST(GulmarContent, CountsAndLengths)
{
    const std::vector<TGulmar> all = AllComments();
    ASSERT_EQ(all.size(), 18u);
    std::set<std::string> comments;
    std::vector<std::size_t> continuations;
    for (const TGulmar& g : all) {
        comments.insert(g.comment);
        const std::size_t length = CodePoints(g.comment);
        EXPECT_GE(length, 24u) << g.comment;
        EXPECT_LE(length, 189u) << g.comment;
        EXPECT_FALSE(IsAscii(g.comment)) << "comments are Russian: " << g.comment;
        EXPECT_FALSE(HasOuterBlank(g.comment)) << g.comment;
        EXPECT_FALSE(HasOuterBlank(g.continuation)) << g.continuation;
        if (!g.continuation.empty())
            continuations.push_back(CodePoints(g.continuation));
    }
    EXPECT_EQ(comments.size(), 18u);
    std::sort(continuations.begin(), continuations.end());
    EXPECT_EQ(continuations, (std::vector<std::size_t>{110u, 205u}));
}

TEST(CodePointCount, CountsCyrillicAsOneEach)
{
    // The helper the content checks rely on: "ёж" is four bytes, two letters.
    EXPECT_EQ(CodePoints("\xD1\x91\xD0\xB6"), 2u);
    EXPECT_EQ(CodePoints("ab"), 2u);
    EXPECT_EQ(CodePoints("\xE2\x80\x94"), 1u); // an em dash
}

} // namespace

// Move tokens: reading, writing and the round trip between them, MoveKeys,
// and the positions of tokens in a solution line.
#include "Notation.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(Notation, TokenKeys)
{
    struct Row {
        const char* token;
        const char* key; // nullptr: refused
        bool strict;     // ParseToken accepts it too
    } rows[] = {
        {"e3-g5", "65-47", true},   {"f3:d1", "66-84", true},   {"a8-h1", "11-88", true},
        {"h2:h1", "78-88", true},   {"b3?e6", "62-35", false},  {"e3-g5 f3", "65-47", false},
        {"", nullptr, false},       {"e3-g", nullptr, false},   {"eX-g5", nullptr, false},
        {"e3-g ", nullptr, false},  {"e0-g5", nullptr, false},  {"e3-g9", nullptr, false},
        {"E3-g5", nullptr, false},  {"e3-i5", nullptr, false},  {"`3-g5", nullptr, false},
    };
    for (const Row& r : rows) {
        const auto key = TokenToMoveKey(r.token);
        EXPECT_EQ(key.has_value(), r.key != nullptr) << r.token;
        if (key && r.key) {
            EXPECT_EQ(*key, r.key) << r.token;
        }
        EXPECT_EQ(ParseToken(r.token).has_value(), r.strict) << r.token;
    }
    for (const char* bad : {"A", "i", "", "ab", "1"})
        EXPECT_EQ(FileNumber(bad), 0) << bad;
}

// Every pair of squares, written as a token, reads back as the same move
// and the same MoveKey.
TEST(Notation, WrittenTokensReadBackOnEveryPairOfSquares)
{
    for (int from = 0; from < 64; ++from) {
        for (int to = 0; to < 64; ++to) {
            const int fromCol = from % 8 + 1, fromRow = from / 8 + 1, toCol = to % 8 + 1, toRow = to / 8 + 1;
            const bool capture = (from + to) % 2 == 0;
            const std::string token = WriteToken(fromCol, fromRow, capture, toCol, toRow);
            const auto read = ParseToken(token);
            ASSERT_TRUE(read.has_value()) << token;
            EXPECT_EQ(std::tuple(read->FromColumn, read->FromRow, read->ToColumn, read->ToRow, read->IsCapture()),
                      std::tuple(fromCol, fromRow, toCol, toRow, capture));
            EXPECT_EQ(TokenToMoveKey(token), BuildMoveKey(fromRow, fromCol, toRow, toCol)) << token;
        }
    }
    EXPECT_EQ(std::tuple(WriteToken(5, 6, false, 7, 4), WriteToken(6, 6, true, 4, 8)), std::tuple("e3-g5", "f3:d1"));
    EXPECT_TRUE(DecodeToken("a2xa1").value().IsCapture()); // played as a capture
}

TEST(Notation, LinesSplitAndJoin)
{
    const std::vector<std::string> tokens{"e3-g5", "f3:d1", "b3:e6"};
    EXPECT_EQ(std::pair(LineTokens("e3-g5 f3:d1 b3:e6 "), LineTokens(" e3-g5  f3:d1 b3:e6")), std::pair(tokens, tokens));
    EXPECT_EQ(std::pair(JoinTokens(tokens), JoinTokens({})), std::pair(std::string("e3-g5 f3:d1 b3:e6"), std::string()));
    EXPECT_TRUE(LineTokens("").empty());
}

TEST(Notation, TokenAtAndTheLastTokenRule)
{
    struct Row {
        const char* line;
        int pos;
        const char* token;
        bool last;
    } rows[] = {
        {"e3-g5 f3:d1 b3:e6", 1, "e3-g5", false},   {"e3-g5 f3:d1 b3:e6", 7, "f3:d1", false},
        {"e3-g5 f3:d1 b3:e6", 13, "b3:e6", true},   {"e3-g5 f3:d1 b3:e6 ", 13, "b3:e6", true},
        {"e3-g5 f3:d1 b3:e6 ", 1, "e3-g5", false},  {"d1-d8 ", 1, "d1-d8", true},
        {"e3-g5 f3:d1 b3:e6", 19, "", true},        {"e3-g5 ", 6, " ", true},
        {"e3-g5", 0, "", true},                     {"e3-g5 f3:d1", 5, "5 f3:", false},                    {"", 1, "", true},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(TokenAt(r.line, r.pos), r.token) << r.line << " @" << r.pos;
        EXPECT_EQ(IsLastToken(r.line, r.pos), r.last) << r.line << " @" << r.pos;
    }
}

} // namespace

// Move tokens: reading, writing and the round trip between them, MoveKeys,
// and the positions of tokens in a solution line.
#include "Notation.h"

#include <gtest/gtest.h>

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

TEST(Notation, WrittenTokensReadBackOnEveryPairOfSquares)
{
    for (int fromRow = 1; fromRow <= 8; ++fromRow) {
        for (int fromCol = 1; fromCol <= 8; ++fromCol) {
            for (int toRow = 1; toRow <= 8; ++toRow) {
                for (int toCol = 1; toCol <= 8; ++toCol) {
                    const bool capture = (fromRow + toCol) % 2 == 0;
                    const std::string token = WriteToken(fromCol, fromRow, capture, toCol, toRow);
                    const auto read = ParseToken(token);
                    ASSERT_TRUE(read.has_value()) << token;
                    EXPECT_EQ(read->FromColumn, fromCol);
                    EXPECT_EQ(read->FromRow, fromRow);
                    EXPECT_EQ(read->ToColumn, toCol);
                    EXPECT_EQ(read->ToRow, toRow);
                    EXPECT_EQ(read->IsCapture(), capture);
                    EXPECT_EQ(TokenToMoveKey(token), BuildMoveKey(fromRow, fromCol, toRow, toCol)) << token;
                }
            }
        }
    }
    EXPECT_EQ(WriteToken(5, 6, false, 7, 4), "e3-g5");
    EXPECT_EQ(WriteToken(6, 6, true, 4, 8), "f3:d1");
    const auto odd = DecodeToken("a2xa1"); // played as a capture
    ASSERT_TRUE(odd.has_value());
    EXPECT_TRUE(odd->IsCapture());
}

TEST(Notation, LinesSplitAndJoin)
{
    const std::vector<std::string> tokens{"e3-g5", "f3:d1", "b3:e6"};
    EXPECT_EQ(LineTokens("e3-g5 f3:d1 b3:e6 "), tokens);
    EXPECT_EQ(LineTokens(" e3-g5  f3:d1 b3:e6"), tokens);
    EXPECT_EQ(JoinTokens(tokens), "e3-g5 f3:d1 b3:e6");
    EXPECT_EQ(LineTokens(JoinTokens(tokens)), tokens);
    EXPECT_TRUE(LineTokens("").empty());
    EXPECT_EQ(JoinTokens({}), "");
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

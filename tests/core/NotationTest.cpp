// Move tokens: reading, writing and the round trip between them, MoveKeys,
// and the positions of tokens in a solution line.
#include "Notation.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(Notation, TokenKeys)
{
    const std::tuple<const char*, const char*, bool> rows[] = { // token, key ("": refused), ParseToken accepts it
        {"e3-g5", "65-47", true}, {"f3:d1", "66-84", true},  {"a8-h1", "11-88", true}, {"h2:h1", "78-88", true},
        {"b3?e6", "62-35", false}, {"e3-g5 f3", "65-47", false}, {"", "", false},     {"e3-g", "", false},
        {"eX-g5", "", false},     {"e3-g ", "", false},      {"e0-g5", "", false},     {"e3-g9", "", false},
        {"E3-g5", "", false},     {"e3-i5", "", false},      {"`3-g5", "", false},
    };
    for (const auto& [token, key, strict] : rows)
        EXPECT_EQ(std::pair(TokenToMoveKey(token).value_or("refused"), ParseToken(token).has_value()),
                  std::pair(std::string(*key ? key : "refused"), strict)) << token;
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

TEST(Notation, LinesSplitJoinAndTheLastTokenRule)
{
    const std::vector<std::string> tokens{"e3-g5", "f3:d1", "b3:e6"};
    EXPECT_EQ(std::tuple(LineTokens("e3-g5 f3:d1 b3:e6 "), LineTokens(" e3-g5  f3:d1 b3:e6"), LineTokens("").size()),
              std::tuple(tokens, tokens, 0u));
    EXPECT_EQ(std::pair(JoinTokens(tokens), JoinTokens({})), std::pair(std::string("e3-g5 f3:d1 b3:e6"), std::string()));
    const std::tuple<const char*, int, const char*, bool> rows[] = { // line, position, TokenAt, IsLastToken

        {"e3-g5 f3:d1 b3:e6", 1, "e3-g5", false},   {"e3-g5 f3:d1 b3:e6", 7, "f3:d1", false},
        {"e3-g5 f3:d1 b3:e6", 13, "b3:e6", true},   {"e3-g5 f3:d1 b3:e6 ", 13, "b3:e6", true},
        {"e3-g5 f3:d1 b3:e6 ", 1, "e3-g5", false},  {"d1-d8 ", 1, "d1-d8", true},
        {"e3-g5 f3:d1 b3:e6", 19, "", true},        {"e3-g5 ", 6, " ", true},
        {"e3-g5", 0, "", true},                     {"e3-g5 f3:d1", 5, "5 f3:", false},                    {"", 1, "", true},
    };
    for (const auto& [line, pos, token, last] : rows)
        EXPECT_EQ(std::pair(TokenAt(line, pos), IsLastToken(line, pos)), std::pair(std::string(token), last)) << line << " @" << pos;
}

} // namespace

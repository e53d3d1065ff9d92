// Move tokens, MoveKeys and the positions of tokens in a solution line.
#include "Notation.h"

#include <gtest/gtest.h>

namespace {

TEST(Notation, FileNumber)
{
    const char* files[] = {"a", "b", "c", "d", "e", "f", "g", "h"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(FileNumber(files[i]), i + 1) << files[i];
    for (const char* bad : {"A", "H", "i", "", "ab", "1", " "})
        EXPECT_EQ(FileNumber(bad), 0) << '"' << bad << '"';
}

struct KeyRow {
    const char* name;
    const char* token;
    const char* key; // nullptr: the conversion is refused
};

class TokenKeys : public testing::TestWithParam<KeyRow> {};

TEST_P(TokenKeys, TokenToMoveKey)
{
    const auto& p = GetParam();
    const auto key = TokenToMoveKey(p.token);
    if (p.key == nullptr) {
        EXPECT_FALSE(key.has_value()) << *key;
        EXPECT_FALSE(DecodeToken(p.token).has_value());
    } else {
        ASSERT_TRUE(key.has_value());
        EXPECT_EQ(*key, p.key);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Notation, TokenKeys,
    testing::Values(KeyRow{"E3ToG5", "e3-g5", "65-47"}, KeyRow{"F3TakesD1", "f3:d1", "66-84"},
                    KeyRow{"F3ToD1SameKey", "f3-d1", "66-84"}, KeyRow{"A8ToH1", "a8-h1", "11-88"},
                    KeyRow{"H2TakesH1", "h2:h1", "78-88"}, KeyRow{"E2ToE4", "e2-e4", "75-55"},
                    KeyRow{"SeparatorNotRead", "b3?e6", "62-35"},
                    KeyRow{"LongerTextUsesFirstFive", "e3-g5 f3:d1", "65-47"},
                    KeyRow{"Empty", "", nullptr}, KeyRow{"CutShort", "e3-g", nullptr},
                    KeyRow{"RankNotADigit", "eX-g5", nullptr}, KeyRow{"ToRankNotADigit", "e3-g ", nullptr},
                    KeyRow{"RankZero", "e0-g5", nullptr}, KeyRow{"RankNine", "e3-g9", nullptr},
                    KeyRow{"UpperCaseFile", "E3-g5", nullptr}, KeyRow{"FileOffTheBoard", "e3-i5", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Notation, DecodeTokenForPlay)
{
    const auto capture = DecodeToken("f3:d1");
    ASSERT_TRUE(capture.has_value());
    EXPECT_EQ(capture->FromColumn, 6);
    EXPECT_EQ(capture->FromRow, 6);
    EXPECT_EQ(capture->ToColumn, 4);
    EXPECT_EQ(capture->ToRow, 8);
    EXPECT_TRUE(capture->IsCapture());

    const auto quiet = DecodeToken("a2-a1");
    ASSERT_TRUE(quiet.has_value());
    EXPECT_FALSE(quiet->IsCapture());
    EXPECT_EQ(quiet->FromRow, 7);
    EXPECT_EQ(quiet->ToRow, 8);

    // Anything but "-" is played as a capture.
    const auto odd = DecodeToken("a2xa1");
    ASSERT_TRUE(odd.has_value());
    EXPECT_TRUE(odd->IsCapture());
}

TEST(Notation, BuildMoveKey)
{
    EXPECT_EQ(BuildMoveKey(6, 5, 4, 7), "65-47");
    EXPECT_EQ(BuildMoveKey(0, 0, 8, 4), "00-84");
    // Square to key and token to key agree on every pair of squares.
    const char files[] = "abcdefgh";
    for (int fromRow = 1; fromRow <= 8; ++fromRow) {
        for (int fromCol = 1; fromCol <= 8; ++fromCol) {
            for (int toRow = 1; toRow <= 8; toRow += 7) {
                for (int toCol = 1; toCol <= 8; ++toCol) {
                    const std::string token{files[fromCol - 1], static_cast<char>('0' + 9 - fromRow), ':',
                                            files[toCol - 1], static_cast<char>('0' + 9 - toRow)};
                    EXPECT_EQ(TokenToMoveKey(token), BuildMoveKey(fromRow, fromCol, toRow, toCol)) << token;
                }
            }
        }
    }
}

struct LineRow {
    const char* name;
    const char* line;
    int pos;
    const char* token;
    bool last;
};

class SolutionLine : public testing::TestWithParam<LineRow> {};

TEST_P(SolutionLine, TokenAndLastTokenRule)
{
    const auto& p = GetParam();
    EXPECT_EQ(TokenAt(p.line, p.pos), p.token);
    EXPECT_EQ(IsLastToken(p.line, p.pos), p.last);
}

INSTANTIATE_TEST_SUITE_P(
    Notation, SolutionLine,
    testing::Values(LineRow{"FirstUserToken", "e3-g5 f3:d1 b3:e6", 1, "e3-g5", false},
                    LineRow{"ProgramReply", "e3-g5 f3:d1 b3:e6", 7, "f3:d1", false},
                    LineRow{"LastUserToken", "e3-g5 f3:d1 b3:e6", 13, "b3:e6", true},
                    LineRow{"TrailingSpaceLastToken", "e3-g5 f3:d1 b3:e6 ", 13, "b3:e6", true},
                    LineRow{"TrailingSpaceFirstToken", "e3-g5 f3:d1 b3:e6 ", 1, "e3-g5", false},
                    LineRow{"OneTokenLine", "d1-d8", 1, "d1-d8", true},
                    LineRow{"OneTokenTrailingSpace", "d1-d8 ", 1, "d1-d8", true},
                    LineRow{"PastTheEnd", "e3-g5 f3:d1 b3:e6", 19, "", true},
                    LineRow{"TrailingSpaceIsNoToken", "e3-g5 ", 6, " ", true},
                    LineRow{"EmptyLine", "", 1, "", true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

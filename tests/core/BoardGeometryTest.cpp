// The square/pixel mappings and the move line, on the standard board
// (board picture at 32,32 in the board area, 385 pixels square).
#include "BoardGeometry.h"

#include <gtest/gtest.h>

namespace {

const BoardGeometry kStandard{32, 32, 385};

TEST(BoardGeometry, StepFollowsTheBoardSide)
{
    EXPECT_EQ(kStandard.Step(), 40);
    EXPECT_EQ((BoardGeometry{0, 0, 780}).Step(), 90);
    EXPECT_EQ((BoardGeometry{0, 0, 383}).Step(), 40); // (383 - 60) div 8 truncates
}

TEST(BoardGeometry, CornerSquaresSitWhereTheBoardViewExpectsThem)
{
    EXPECT_EQ(SquareToPixel(kStandard, 1, 1), (PixelPos{66, 67}));   // a8
    EXPECT_EQ(SquareToPixel(kStandard, 8, 8), (PixelPos{346, 347})); // h1
    EXPECT_EQ(SquareToPixel(kStandard, 8, 1), (PixelPos{66, 347}));  // a1
    // A figure sits 2 pixels right of and 3 below its square's corner,
    // which lies at picture pixel 32 + 40(j - 1) plus the picture's own left.
    for (int j = 1; j <= 8; ++j)
        EXPECT_EQ(SquareToPixel(kStandard, 1, j).Left, 32 + 32 + 40 * (j - 1) + 2) << "column " << j;
}

TEST(BoardGeometry, EverySquareRoundTrips)
{
    for (const BoardGeometry board : {kStandard, BoardGeometry{0, 0, 385}, BoardGeometry{-17, 250, 385}}) {
        for (int row = 1; row <= 8; ++row) {
            for (int column = 1; column <= 8; ++column) {
                const PixelPos at = SquareToPixel(board, row, column);
                EXPECT_EQ(PixelToSquare(board, at.Left, at.Top), (Square{row, column}))
                    << "board at " << board.Left << "," << board.Top << " square " << row << "," << column;
            }
        }
    }
}

// Offsets are the picture's top (or left) minus the board picture's top
// (or left). The division truncates toward zero, so a whole band of offsets
// around the top edge maps to row 0 rather than to -1.
struct BoundaryRow {
    const char* name;
    int offset;
    int expected;
};

class RowBoundaries : public testing::TestWithParam<BoundaryRow> {};

TEST_P(RowBoundaries, RowOfTopOffset)
{
    const auto& p = GetParam();
    EXPECT_EQ(PixelToSquare(kStandard, kStandard.Left + 100, kStandard.Top + p.offset).Row, p.expected);
}

INSTANTIATE_TEST_SUITE_P(SquareOf, RowBoundaries,
                         testing::Values(BoundaryRow{"FarAbove", -54, -1}, BoundaryRow{"JustRowZeroFromAbove", -53, 0},
                                         BoundaryRow{"Zero", 0, 0}, BoundaryRow{"LastRowZero", 23, 0},
                                         BoundaryRow{"FirstRowOne", 24, 1}, BoundaryRow{"LastRowOne", 62, 1},
                                         BoundaryRow{"FirstRowTwo", 63, 2}, BoundaryRow{"LastRowEight", 335, 8},
                                         BoundaryRow{"FirstRowNine", 336, 9}),
                         [](const auto& info) { return std::string(info.param.name); });

class ColumnBoundaries : public testing::TestWithParam<BoundaryRow> {};

TEST_P(ColumnBoundaries, ColumnOfLeftOffset)
{
    const auto& p = GetParam();
    EXPECT_EQ(PixelToSquare(kStandard, kStandard.Left + p.offset, kStandard.Top + 100).Column, p.expected);
}

INSTANTIATE_TEST_SUITE_P(SquareOf, ColumnBoundaries,
                         testing::Values(BoundaryRow{"FarLeft", -53, -1}, BoundaryRow{"JustColumnZeroFromLeft", -52, 0},
                                         BoundaryRow{"LastColumnZero", 24, 0}, BoundaryRow{"FirstColumnOne", 25, 1},
                                         BoundaryRow{"LastColumnOne", 63, 1}, BoundaryRow{"FirstColumnTwo", 64, 2},
                                         BoundaryRow{"LastColumnEight", 336, 8}, BoundaryRow{"FirstColumnNine", 337, 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BoardGeometry, ToleranceAroundARestingFigure)
{
    // A figure may be off its place by up to r + 10 pixels up, 28 - r down,
    // k + 8 left and 30 - k right and still count as standing on (r, k).
    for (int r = 1; r <= 8; ++r) {
        for (int k = 1; k <= 8; ++k) {
            const PixelPos at = SquareToPixel(kStandard, r, k);
            const Square home{r, k};
            EXPECT_EQ(PixelToSquare(kStandard, at.Left, at.Top - (r + 10)), home);
            EXPECT_NE(PixelToSquare(kStandard, at.Left, at.Top - (r + 11)), home);
            EXPECT_EQ(PixelToSquare(kStandard, at.Left, at.Top + (28 - r)), home);
            EXPECT_NE(PixelToSquare(kStandard, at.Left, at.Top + (29 - r)), home);
            EXPECT_EQ(PixelToSquare(kStandard, at.Left - (k + 8), at.Top), home);
            EXPECT_NE(PixelToSquare(kStandard, at.Left - (k + 9), at.Top), home);
            EXPECT_EQ(PixelToSquare(kStandard, at.Left + (30 - k), at.Top), home);
            EXPECT_NE(PixelToSquare(kStandard, at.Left + (31 - k), at.Top), home);
        }
    }
}

struct LineRow {
    const char* name;
    int fromColumn, fromRow, toColumn, toRow;
    MoveLine expected;
};

class MoveLineEndsTable : public testing::TestWithParam<LineRow> {};

TEST_P(MoveLineEndsTable, EndPoints)
{
    const auto& p = GetParam();
    EXPECT_EQ(MoveLineEnds(kStandard, p.fromColumn, p.fromRow, p.toColumn, p.toRow), p.expected);
}

// f3 is column 6, row 6; d1 column 4, row 8. Centres: x = 51 + 40(c-1),
// y = 50 + 40(r-1); the end is pulled back 12 pixels towards the start.
INSTANTIATE_TEST_SUITE_P(
    DrawMoveLine, MoveLineEndsTable,
    testing::Values(LineRow{"DiagonalF3ToD1", 6, 6, 4, 8, MoveLine{251, 250, 183, 318}},
                    LineRow{"AlongRowA1ToH1", 1, 8, 8, 8, MoveLine{51, 330, 319, 330}},
                    LineRow{"AlongColumnE2ToE4", 5, 7, 5, 5, MoveLine{211, 290, 211, 222}},
                    LineRow{"KnightG1ToF3", 7, 8, 6, 6, MoveLine{291, 330, 263, 262}},
                    LineRow{"SameSquare", 3, 3, 3, 3, MoveLine{131, 130, 131, 130}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BoardGeometry, MoveLineScalesWithTheStep)
{
    const BoardGeometry big{32, 32, 780}; // S = 90
    EXPECT_EQ(MoveLineEnds(big, 1, 1, 2, 2), (MoveLine{51, 50, 51 + 90 - 12, 50 + 90 - 12}));
}

} // namespace

#include "BoardGeometry.h"

namespace {

int Sign(int x)
{
    return (x > 0) - (x < 0);
}

// Inside the board picture the grid starts at pixel (32, 32); a square's
// centre lies 19.5 pixels further. The line runs between points 19 right of
// and 18 below each square's top-left corner.
constexpr int kLineX0 = 32 + 19;
constexpr int kLineY0 = 32 + 18;
constexpr int kLineShortfall = 12;

} // namespace

PixelPos SquareToPixel(const BoardGeometry& board, int row, int column)
{
    const int step = board.Step();
    return PixelPos{board.Left + 34 + (column - 1) * step, board.Top + 35 + (row - 1) * step};
}

Square PixelToSquare(const BoardGeometry& board, int left, int top)
{
    // The divisor is 39, not 40, and C++ division truncates toward zero as
    // the mapping requires: a figure slightly above or left of the grid
    // still lands in row or column 0, not -1. On the standard board the
    // figure of row r sits at offset 40r - 5, and (40r + 10) / 39 == r for
    // r = 1..8, so the mapping inverts SquareToPixel on every square.
    return Square{(top - board.Top + 15) / 39, (left - board.Left + 14) / 39};
}

MoveLine MoveLineEnds(const BoardGeometry& board, int fromColumn, int fromRow, int toColumn, int toRow)
{
    const int step = board.Step();
    MoveLine line;
    line.X1 = kLineX0 + step * (fromColumn - 1);
    line.Y1 = kLineY0 + step * (fromRow - 1);
    line.X2 = kLineX0 + step * (toColumn - 1) - kLineShortfall * Sign(toColumn - fromColumn);
    line.Y2 = kLineY0 + step * (toRow - 1) - kLineShortfall * Sign(toRow - fromRow);
    return line;
}

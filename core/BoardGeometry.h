#pragma once
// Squares and the two mappings between squares and pixels.
//
// A square is (row, column), 1..8 each; row 1 is the top row of the drawn
// board (rank 8), column 1 the left column (file a). The board is never
// flipped. Pixel positions are in the board area's client coordinates, the
// coordinates of the board picture's own Left and Top.

// Where the board picture stands and how large it is. The picture
// is square; its 8 x 8 grid of squares starts at its own pixel (32, 32).
struct BoardGeometry {
    int Left;
    int Top;
    int Side;

    // Square step S = (side - 60) div 8; 40 for the standard 385-pixel board.
    int Step() const { return (Side - 60) / 8; }
};

struct Square {
    int Row;
    int Column;
    friend bool operator==(const Square&, const Square&) = default;
};

struct PixelPos {
    int Left;
    int Top;
    friend bool operator==(const PixelPos&, const PixelPos&) = default;
};

// Square to pixel: where a figure standing on (row, column) is placed.
//   Top  = board.Top  + 35 + (row - 1) * S
//   Left = board.Left + 34 + (column - 1) * S
// Defined for any integers; the result for a square off the board is where
// such a square would lie.
PixelPos SquareToPixel(const BoardGeometry& board, int row, int column);

// Pixel to square (`SquareOf`): the square a figure whose picture stands at
// (left, top) counts as standing on.
//   row    = (top  - board.Top  + 15) div 39
//   column = (left - board.Left + 14) div 39
// with division truncating toward zero. The result may lie outside 1..8 (0 or
// negative above/left of the grid, 9 or more below/right of it). For every
// square of the 8 x 8 board it inverts SquareToPixel on the standard board.
Square PixelToSquare(const BoardGeometry& board, int left, int top);

// End points of the move line, in the board picture's own pixel coordinates.
struct MoveLine {
    int X1;
    int Y1;
    int X2;
    int Y2;
    friend bool operator==(const MoveLine&, const MoveLine&) = default;
};

// The red line that `DrawMoveLine` draws for a program move: from near the
// centre of the from-square to the matching point of the to-square, pulled
// back 12 pixels towards the start on each axis along which the move goes.
//   x1 = 51 + S(fromColumn - 1)          y1 = 50 + S(fromRow - 1)
//   x2 = 51 + S(toColumn - 1) - 12 sign(toColumn - fromColumn)
//   y2 = 50 + S(toRow - 1)    - 12 sign(toRow - fromRow)
// The drawing itself (pen red 255,0,0, width 4, after restoring the clean
// board picture) is left to whoever shows the board.
MoveLine MoveLineEnds(const BoardGeometry& board, int fromColumn, int fromRow, int toColumn, int toRow);

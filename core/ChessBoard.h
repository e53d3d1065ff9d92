#pragma once
// The board: the list of figures, the square queries, position setup and the
// move rules of the user's moves.
//
// There is no array of squares. The board is `FigureList`, one `TFigure` per
// piece in order of creation, and the square of a figure is always computed
// from the pixel position of its picture relative to the board picture
// (`SquareOf`). Moving a figure means moving its picture; capturing one means
// releasing its picture and deleting its entry.
//
// The board keeps no state of a game or an attempt: the square a drag
// started from and the side to move are handed to the rules by the board's
// owner, which also records the move.
//
// Everything runs on the user-interface thread; nothing here is locked.
#include "BoardGeometry.h"
#include "Picture.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One piece on the board.
struct TFigure {
    // The picture that shows the piece; its Left and Top are the piece's
    // whereabouts. Not owned: it is handed back with DeferredRelease() when
    // the figure leaves the board.
    Picture* Image;
    // Piece code: colour letter "w"/"b" then kind letter "p","n","b","r","q","k".
    std::string Code;
};

// What the caller of JudgeDrop does next.
enum class DropResult {
    // A figure of the side not to move, or dropped on its own square: put it
    // back on its from-square and do nothing else.
    PutBack,
    // Refused by the piece's rule, OnBoard or CaptureTarget: put it back on
    // its from-square and tell the user that the move is not possible.
    // Nothing changed.
    PutBackRefused,
    // Allowed: a captured figure has been removed. The caller places the
    // figure on the to-square (PlaceOnSquare), flips the side to move and
    // records the MoveKey (BuildMoveKey).
    Made,
};

struct DropVerdict {
    DropResult Result;
    Square To; // the to-square: where the figure was released (SquareOf)
};

class ChessBoard {
public:
    // Gives the board picture's current geometry; asked anew at every
    // placement and every square computation.
    using GeometrySource = std::function<BoardGeometry()>;

    // `factory` must outlive the board. Every picture it creates must stay
    // alive until the board releases it (ClearFigures, a capture, or the
    // board's destruction).
    ChessBoard(PictureFactory& factory, GeometrySource geometry);
    // A board picture that never moves or changes its size.
    ChessBoard(PictureFactory& factory, BoardGeometry geometry);
    // Releases every figure, as ClearFigures.
    ~ChessBoard();

    ChessBoard(const ChessBoard&) = delete;
    ChessBoard& operator=(const ChessBoard&) = delete;

    // The figures in order of creation (after PlacePosition: reading order
    // a8, b8, .. h1). Removing an entry keeps the order of the others.
    const std::vector<std::unique_ptr<TFigure>>& FigureList() const { return m_figures; }

    BoardGeometry Geometry() const { return m_geometry(); }

    // --- figures ---
    // Creates one figure with a new picture for `code` from the factory,
    // appends it to FigureList and places it on (row, column), top first.
    // Returns nullptr (and creates nothing) when the factory makes no picture.
    // The returned TFigure belongs to the board and lives until the figure
    // leaves it (ClearFigures or a capture); keep its Image, not the TFigure.
    TFigure* CreateFigure(int row, const std::string& code, int column);
    // Releases every figure's picture, first to last, and empties FigureList.
    void ClearFigures();
    // Creates the figures of a FEN piece-placement text, in reading order.
    // Scans every character: a digit "1".."8" skips that many squares, one of
    // the twelve letters PNBRQK/pnbrqk creates its figure on square index k
    // (row k div 8 + 1, column k mod 8 + 1) and advances k; every other
    // character is ignored. Whole FEN records are therefore read to the end,
    // and more than 64 counted squares put figures on rows 9 and beyond.
    // The caller clears the board first and afterwards restores the clean
    // board picture; the core has no bitmaps.
    void PlacePosition(std::string_view placement);

    // Places a picture on a square by the square-to-pixel mapping, setting
    // its top first and then its left.
    void PlaceOnSquare(Picture& picture, int row, int column) const;
    // Whether `picture` belongs to a figure still on the board.
    bool Holds(const Picture* picture) const;

    // --- square queries ---
    // The square of a picture, from its current pixel position.
    Square SquareOf(const Picture& picture) const;
    // Code of the figure whose Image is `picture`; "" when there is none.
    std::string CodeOf(const Picture* picture) const;
    // The picture of the figure on (row, column); when several figures stand
    // there, the one latest in FigureList. nullptr when the square is empty.
    Picture* FigureAt(int column, int row) const;
    // Colour letter ("w"/"b") of the latest figure other than `mover` on the
    // square; "net" when there is none.
    std::string ColourAt(const Picture* mover, int row, int column) const;
    // "mogno" when no figure other than `mover` stands on the square (a
    // square off the board is always free), "nelza" otherwise.
    std::string SquareFree(const Picture* mover, int row, int column) const;

    // --- move rules ---
    // Each is given the moving picture (left out of every query), the square
    // it was pressed on (`from`) and the to-square, and answers
    // "mogno" or "nelza".
    std::string KingRule(const Picture* mover, Square from, int toRow, int toCol) const;
    std::string KnightRule(const Picture* mover, Square from, int toRow, int toCol) const;
    std::string BishopRule(const Picture* mover, Square from, int toRow, int toCol) const;
    std::string RookRule(const Picture* mover, Square from, int toRow, int toCol) const;
    std::string QueenRule(const Picture* mover, Square from, int toRow, int toCol) const;
    // colour: 1 for a black pawn (moves towards row 8, starts on row 2),
    // 2 for a white pawn (moves towards row 1, starts on row 7).
    std::string PawnRule(int colour, const Picture* mover, Square from, int toRow, int toCol) const;
    static std::string OnBoard(int row, int column);

    // --- making a move ---
    // May a move of `mover` end on (row, column)? A king there, of either
    // colour, or a figure whose colour letter equals `colour` forbids it and
    // nothing is removed. Otherwise the first other figure on the square (in
    // list order) is captured: its picture is released and its entry deleted.
    // An empty `colour` (the program's own moves) makes every figure but a
    // king an enemy. The mover itself is never removed.
    bool CaptureTarget(const Picture* mover, const std::string& colour, int row, int column);

    // Judges the drop of `picture`, which stands where the user released it
    // and was pressed on `from`; the to-square is SquareOf(picture). In this
    // order: side to move, same square, the piece's rule, OnBoard,
    // CaptureTarget (which removes a captured figure). The picture is neither
    // put back nor placed here: the caller does either.
    DropVerdict JudgeDrop(Picture& picture, Square from, bool whiteToMove);

    // End points of the move line for a program move, from the current
    // geometry (see MoveLineEnds in BoardGeometry.h).
    MoveLine DrawMoveLineEnds(int fromCol, int fromRow, int toCol, int toRow) const;

private:
    // Runs `visit` on every figure other than `mover` standing on the square.
    template <typename Visit>
    void ForEachOn(const Picture* mover, int row, int column, Visit&& visit) const;

    PictureFactory& m_factory;
    GeometrySource m_geometry;
    std::vector<std::unique_ptr<TFigure>> m_figures;
};

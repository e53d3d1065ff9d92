#include "ChessBoard.h"

#include "Verdict.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Piece code for a FEN letter; nullptr for any other character.
const char* CodeOfFenLetter(char letter)
{
    switch (letter) {
    case 'P': return "wp";
    case 'N': return "wn";
    case 'B': return "wb";
    case 'R': return "wr";
    case 'Q': return "wq";
    case 'K': return "wk";
    case 'p': return "bp";
    case 'n': return "bn";
    case 'b': return "bb";
    case 'r': return "br";
    case 'q': return "bq";
    case 'k': return "bk";
    default: return nullptr;
    }
}

std::string Verdict(bool allowed)
{
    return allowed ? kMogno : kNelza;
}

} // namespace

ChessBoard::ChessBoard(PictureFactory& factory, GeometrySource geometry)
    : m_factory(factory), m_geometry(std::move(geometry))
{
}

ChessBoard::ChessBoard(PictureFactory& factory, BoardGeometry geometry)
    : ChessBoard(factory, [geometry] { return geometry; })
{
}

ChessBoard::~ChessBoard()
{
    ClearFigures();
}

// ---------------------------------------------------------------- figures

TFigure* ChessBoard::CreateFigure(int row, const std::string& code, int column)
{
    Picture* picture = m_factory.CreatePicture(code);
    if (picture == nullptr)
        return nullptr;
    auto figure = std::make_unique<TFigure>();
    figure->Image = picture;
    figure->Code = code;
    m_figures.push_back(std::move(figure));
    PlaceOnSquare(*picture, row, column);
    return m_figures.back().get();
}

void ChessBoard::ClearFigures()
{
    // Take the list first, so that a picture whose release calls back into
    // the board finds a consistent (empty) list.
    auto figures = std::move(m_figures);
    m_figures.clear();
    for (auto& figure : figures)
        figure->Image->DeferredRelease();
}

void ChessBoard::PlacePosition(std::string_view placement)
{
    int k = 0;
    for (const char c : placement) {
        if (c >= '1' && c <= '8') {
            k += c - '0';
        } else if (const char* code = CodeOfFenLetter(c)) {
            CreateFigure(k / 8 + 1, code, k % 8 + 1);
            ++k;
        }
        // Everything else ("/", blanks, "0", "9", the further FEN fields'
        // letters such as "w") is skipped and does not count a square.
    }
}

void ChessBoard::PlaceOnSquare(Picture& picture, int row, int column) const
{
    const PixelPos pos = SquareToPixel(Geometry(), row, column);
    picture.SetTop(pos.Top);
    picture.SetLeft(pos.Left);
}

bool ChessBoard::Holds(const Picture* picture) const
{
    return std::any_of(m_figures.begin(), m_figures.end(), [&](const auto& f) { return f->Image == picture; });
}

// ---------------------------------------------------------- square queries

Square ChessBoard::SquareOf(const Picture& picture) const
{
    return PixelToSquare(Geometry(), picture.Left(), picture.Top());
}

std::string ChessBoard::CodeOf(const Picture* picture) const
{
    std::string code;
    for (const auto& figure : m_figures) {
        if (figure->Image == picture)
            code = figure->Code;
    }
    return code;
}

template <typename Visit>
void ChessBoard::ForEachOn(const Picture* mover, int row, int column, Visit&& visit) const
{
    const Square wanted{row, column};
    for (const auto& figure : m_figures) {
        if (figure->Image != mover && SquareOf(*figure->Image) == wanted)
            visit(*figure);
    }
}

Picture* ChessBoard::FigureAt(int column, int row) const
{
    Picture* found = nullptr;
    ForEachOn(nullptr, row, column, [&](const TFigure& figure) { found = figure.Image; });
    return found;
}

std::string ChessBoard::ColourAt(const Picture* mover, int row, int column) const
{
    std::string colour = kNet;
    ForEachOn(mover, row, column, [&](const TFigure& figure) { colour = figure.Code.substr(0, 1); });
    return colour;
}

std::string ChessBoard::SquareFree(const Picture* mover, int row, int column) const
{
    bool occupied = false;
    ForEachOn(mover, row, column, [&](const TFigure&) { occupied = true; });
    return Verdict(!occupied);
}

// --------------------------------------------------------------- the rules

std::string ChessBoard::KingRule(const Picture*, Square from, int toRow, int toCol) const
{
    return Verdict(std::abs(toRow - from.Row) <= 1 && std::abs(toCol - from.Column) <= 1);
}

std::string ChessBoard::KnightRule(const Picture*, Square from, int toRow, int toCol) const
{
    const int dr = std::abs(from.Row - toRow);
    const int dc = std::abs(from.Column - toCol);
    return Verdict((dr == 2 && dc == 1) || (dr == 1 && dc == 2));
}

std::string ChessBoard::BishopRule(const Picture* mover, Square from, int toRow, int toCol) const
{
    const int steps = std::abs(toCol - from.Column);
    if (std::abs(toRow - from.Row) != steps)
        return kNelza;
    // Walk the squares strictly between; the to-square is CaptureTarget's.
    for (int i = 1; i < steps; ++i) {
        const int row = from.Row + i * (toRow - from.Row) / steps;
        const int column = from.Column + i * (toCol - from.Column) / steps;
        if (SquareFree(mover, row, column) == kNelza)
            return kNelza;
    }
    return kMogno;
}

std::string ChessBoard::RookRule(const Picture* mover, Square from, int toRow, int toCol) const
{
    if (toRow != from.Row && toCol != from.Column)
        return kNelza;
    if (toRow != from.Row) {
        for (int r = std::min(from.Row, toRow) + 1; r < std::max(from.Row, toRow); ++r) {
            if (SquareFree(mover, r, toCol) == kNelza)
                return kNelza;
        }
    } else {
        for (int c = std::min(from.Column, toCol) + 1; c < std::max(from.Column, toCol); ++c) {
            if (SquareFree(mover, toRow, c) == kNelza)
                return kNelza;
        }
    }
    return kMogno;
}

std::string ChessBoard::QueenRule(const Picture* mover, Square from, int toRow, int toCol) const
{
    if (std::abs(from.Row - toRow) == std::abs(from.Column - toCol))
        return BishopRule(mover, from, toRow, toCol);
    return RookRule(mover, from, toRow, toCol);
}

std::string ChessBoard::PawnRule(int colour, const Picture* mover, Square from, int toRow, int toCol) const
{
    // White pawns (colour 2) run towards row 1 from row 7; black pawns
    // (colour 1) towards row 8 from row 2. The rules keep no history, so the
    // double step depends on the row alone.
    const bool white = colour == 2;
    const int forward = white ? -1 : 1;
    const int startRow = white ? 7 : 2;
    const char* enemy = white ? "b" : "w";
    const bool toFree = SquareFree(mover, toRow, toCol) == kMogno;

    bool allowed = false;
    if (toCol == from.Column && toRow == from.Row + forward && toFree)
        allowed = true;
    if (from.Row == startRow && toCol == from.Column && toRow == from.Row + 2 * forward && toFree &&
        SquareFree(mover, from.Row + forward, toCol) == kMogno)
        allowed = true;
    if (toRow == from.Row + forward && std::abs(from.Column - toCol) == 1 && ColourAt(mover, toRow, toCol) == enemy)
        allowed = true;
    return Verdict(allowed);
}

std::string ChessBoard::OnBoard(int row, int column)
{
    return Verdict(row >= 1 && row <= 8 && column >= 1 && column <= 8);
}

// ----------------------------------------------------------- making a move

bool ChessBoard::CaptureTarget(const Picture* mover, const std::string& colour, int row, int column)
{
    bool allowed = true;
    const Square target{row, column};
    for (auto it = m_figures.begin(); it != m_figures.end(); ++it) {
        TFigure& figure = **it;
        if (figure.Image == mover || !(SquareOf(*figure.Image) == target))
            continue;
        if (figure.Code.size() >= 2 && figure.Code[1] == 'k') {
            allowed = false; // no king is ever taken
        } else if (figure.Code.substr(0, 1) == colour) {
            allowed = false; // nor an own figure
        } else {
            // Captured: the entry goes first, then the picture. The release
            // is deferred because the picture may be the one whose mouse
            // event is being handled right now.
            Picture* picture = figure.Image;
            m_figures.erase(it);
            picture->DeferredRelease();
            return true;
        }
    }
    return allowed;
}

DropVerdict ChessBoard::JudgeDrop(Picture& picture, Square from, bool whiteToMove)
{
    const std::string code = CodeOf(&picture);
    const bool black = code.substr(0, 1) == "b";
    const Square to = SquareOf(picture);
    if (black == whiteToMove || to == from)
        return {DropResult::PutBack, to};

    std::string verdict = kNelza;
    if (code == "bk" || code == "wk")
        verdict = KingRule(&picture, from, to.Row, to.Column);
    else if (code == "bb" || code == "wb")
        verdict = BishopRule(&picture, from, to.Row, to.Column);
    else if (code == "br" || code == "wr")
        verdict = RookRule(&picture, from, to.Row, to.Column);
    else if (code == "bq" || code == "wq")
        verdict = QueenRule(&picture, from, to.Row, to.Column);
    else if (code == "bn" || code == "wn")
        verdict = KnightRule(&picture, from, to.Row, to.Column);
    else if (code == "bp")
        verdict = PawnRule(1, &picture, from, to.Row, to.Column);
    else if (code == "wp")
        verdict = PawnRule(2, &picture, from, to.Row, to.Column);

    if (verdict != kMogno || OnBoard(to.Row, to.Column) != kMogno ||
        !CaptureTarget(&picture, code.substr(0, 1), to.Row, to.Column))
        return {DropResult::PutBackRefused, to};
    return {DropResult::Made, to};
}

MoveLine ChessBoard::DrawMoveLineEnds(int fromCol, int fromRow, int toCol, int toRow) const
{
    return MoveLineEnds(Geometry(), fromCol, fromRow, toCol, toRow);
}

#pragma once
// What the material on the board is worth, in pawns, and what follows from
// it: the balance between the sides and whether the game is an ending. The
// one place these are defined; the miner, the rules of a test and the hints
// all read them from here.
#include "chess/Position.h"

namespace material {

using fullchess::PieceType;
using fullchess::Position;

// A piece of this kind in pawns: 1, 3, 3, 5, 9. The king, which is never won,
// and an empty square are worth nothing.
constexpr int Worth(PieceType type)
{
    switch (type) {
    case fullchess::Pawn: return 1;
    case fullchess::Knight: return 3;
    case fullchess::Bishop: return 3;
    case fullchess::Rook: return 5;
    case fullchess::Queen: return 9;
    case fullchess::Empty:
    case fullchess::King: return 0;
    }
    return 0;
}
// The kind of a board entry (Position::At), whatever its colour.
constexpr PieceType KindOf(int8_t piece) { return static_cast<PieceType>(piece < 0 ? -piece : piece); }

// Material of one side, pawns included.
int Material(const Position& p, bool white);
// Material of one side without its pawns: what its pieces are worth.
int PieceMaterial(const Position& p, bool white);
// The material of `white`'s side less the other side's.
int Balance(const Position& p, bool white);

// An ending: each side's pieces, pawns aside, are worth at most two rooks and
// a minor piece. The kings come out and walk up the board; storming a king
// with pieces and pawns is over.
constexpr int kEndgamePieces = 13;
bool IsEndgame(const Position& p);

} // namespace material

#pragma once
// Small facts about a position that the hints are made of: what a piece
// attacks, who defends a square, pins, passed pawns, and a piece's legal moves
// whoever is to move.
#include "Material.h"
#include "chess/Position.h"

#include <string>
#include <vector>

namespace facts {

using fullchess::Position;

// What a piece is worth when pieces are compared (who may take whom): its
// material, and more than any other piece for the king; 0 for an empty square.
constexpr int kKingValue = 100;
int Value(int8_t piece);
// The kind of a piece of either side; Empty for an empty square.
using material::KindOf;
inline bool IsWhite(int8_t piece) { return piece > 0; }
inline bool Own(int8_t piece, bool white) { return piece != 0 && (piece > 0) == white; }
inline bool Enemy(int8_t piece, bool white) { return piece != 0 && (piece > 0) != white; }

// Squares the piece on `from` attacks (a pawn: its two captures), up to and
// including the first piece on each line.
std::vector<int> AttacksFrom(const Position& p, int from);
bool AttacksSquare(const Position& p, int from, int target);
// Pieces of `white` that attack `sq`.
std::vector<int> Attackers(const Position& p, int sq, bool white);
int KingOf(const Position& p, bool white);
// Whether a piece stands on `sq` and one of its own side guards it.
bool Defended(const Position& p, int sq);
// Legal moves of the piece on `sq`, whichever side is to move.
int LegalMovesOf(const Position& p, int sq);
// Legal moves of the side to move for which `pred(move)` holds.
template <class Pred>
int LegalMovesWhere(const Position& p, Pred pred)
{
    int n = 0;
    for (const auto& m : p.LegalMoves())
        n += pred(m) ? 1 : 0;
    return n;
}
// The position with the other side to move (castling and en passant dropped).
Position Flipped(const Position& p);

// The enemy piece that a slider on `from` pins against a bigger piece or the
// king behind it along one line: the pinned square, or -1. `behind` receives
// the square of the piece behind.
struct Pin {
    int pinned = -1;
    int behind = -1;
};
std::vector<Pin> PinsBy(const Position& p, int from);
// Whether the piece on `sq` is pinned to its own king by an enemy slider.
bool PinnedToKing(const Position& p, int sq);

bool PassedPawn(const Position& p, int sq);
// Legal moves of the side to move's passed pawns, all of them or those on the
// files `fileFrom`..`fileTo`. A hint about passed pawns that leaves fewer than
// three names the move.
int PassedPawnMoves(const Position& p, int fileFrom = 0, int fileTo = 7);
// Passed pawns of `white`.
int PassedPawnCount(const Position& p, bool white);
// A pawn of `white` on `to` meets an enemy pawn: it attacks one, or one
// stands diagonally in front of it (a lever, which opens the game).
bool PawnLever(const Position& p, int to, bool white);
// Another heavy piece of `white` right behind or in front of the one on
// `sq` along its file.
bool HeavyBattery(const Position& p, int sq, bool white);
// The enemy pieces (not pawns, not the king) the piece on `sq` attacks that
// it did not attack from `from` in `before`, and that are worth more than it
// or stand without a guard; the most valuable first.
std::vector<int> NewTargets(const Position& before, const Position& after, int from, int sq);
// Enemy line pieces on a line with the king of `white` on `sq`, whatever
// stands between (a line that may open).
int SlidersAimedAt(const Position& p, int sq, bool white);
// Ranks counted from the side's own end: 0 is its first rank.
int RelativeRank(int sq, bool white);

// King moves from one square to the other on an empty board.
int KingDistance(int a, int b);
using material::Balance;
using material::IsEndgame;
using material::PieceMaterial;

std::string Name(int sq);
// Squares strictly between two squares on one line; empty when not on a line.
std::vector<int> Between(int a, int b);

} // namespace facts

#include "Material.h"

namespace material {

namespace {

int Sum(const Position& p, bool white, bool withPawns)
{
    const auto count = p.Count(white);
    int sum = 0;
    for (const PieceType type : {fullchess::Pawn, fullchess::Knight, fullchess::Bishop, fullchess::Rook, fullchess::Queen})
        if (withPawns || type != fullchess::Pawn)
            sum += Worth(type) * count[type];
    return sum;
}

} // namespace

int Material(const Position& p, bool white) { return Sum(p, white, true); }

int PieceMaterial(const Position& p, bool white) { return Sum(p, white, false); }

int Balance(const Position& p, bool white) { return Material(p, white) - Material(p, !white); }

bool IsEndgame(const Position& p)
{
    return PieceMaterial(p, true) <= kEndgamePieces && PieceMaterial(p, false) <= kEndgamePieces;
}

} // namespace material

#include "BoardFacts.h"

#include <algorithm>
#include <cstdlib>

namespace facts {

using fullchess::Bishop;
using fullchess::FileOf;
using fullchess::King;
using fullchess::Knight;
using fullchess::MakeSquare;
using fullchess::Pawn;
using fullchess::PieceType;
using fullchess::Queen;
using fullchess::RankOf;
using fullchess::Rook;

namespace {

bool Inside(int f, int r) { return f >= 0 && f < 8 && r >= 0 && r < 8; }

constexpr int kSteps[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

// Whether a piece of this kind slides along kSteps[direction]: the first four
// are files and ranks, the last four diagonals.
bool Slides(PieceType type, int direction)
{
    return direction < 4 ? (type == Rook || type == Queen) : (type == Bishop || type == Queen);
}

bool IsSlider(PieceType type) { return type == Bishop || type == Rook || type == Queen; }

} // namespace

int Value(int8_t piece)
{
    const auto kind = material::KindOf(piece);
    return kind == fullchess::King ? kKingValue : material::Worth(kind);
}


std::vector<int> AttacksFrom(const Position& p, int from)
{
    std::vector<int> out;
    const int8_t piece = p.At(from);
    const PieceType type = KindOf(piece);
    const int f = FileOf(from), r = RankOf(from);
    switch (type) {
    case Pawn:
        for (int df : {-1, 1})
            if (Inside(f + df, r + (piece > 0 ? 1 : -1)))
                out.push_back(MakeSquare(f + df, r + (piece > 0 ? 1 : -1)));
        break;
    case Knight:
        for (auto [df, dr] : {std::pair{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}})
            if (Inside(f + df, r + dr))
                out.push_back(MakeSquare(f + df, r + dr));
        break;
    case King:
        for (const auto& d : kSteps)
            if (Inside(f + d[0], r + d[1]))
                out.push_back(MakeSquare(f + d[0], r + d[1]));
        break;
    case Bishop: case Rook: case Queen:
        for (int d = 0; d < 8; ++d) {
            if (!Slides(type, d))
                continue;
            for (int ff = f + kSteps[d][0], rr = r + kSteps[d][1]; Inside(ff, rr); ff += kSteps[d][0], rr += kSteps[d][1]) {
                out.push_back(MakeSquare(ff, rr));
                if (p.At(MakeSquare(ff, rr)) != 0)
                    break;
            }
        }
        break;
    default: break;
    }
    return out;
}

bool AttacksSquare(const Position& p, int from, int target)
{
    for (int sq : AttacksFrom(p, from))
        if (sq == target)
            return true;
    return false;
}

std::vector<int> Attackers(const Position& p, int sq, bool white)
{
    std::vector<int> out;
    for (int from = 0; from < 64; ++from)
        if (Own(p.At(from), white) && AttacksSquare(p, from, sq))
            out.push_back(from);
    return out;
}

int KingOf(const Position& p, bool white)
{
    for (int sq = 0; sq < 64; ++sq)
        if (p.At(sq) == (white ? King : -King))
            return sq;
    return -1;
}

bool Defended(const Position& p, int sq)
{
    const int8_t piece = p.At(sq);
    return piece != 0 && !Attackers(p, sq, piece > 0).empty();
}

Position Flipped(const Position& p)
{
    const auto flipped = Position::FromFen(p.Placement() + (p.WhiteToMove() ? " b - - 0 1" : " w - - 0 1"));
    return flipped ? *flipped : p;
}

int LegalMovesOf(const Position& p, int sq)
{
    if (p.At(sq) == 0)
        return 0;
    const Position mover = IsWhite(p.At(sq)) == p.WhiteToMove() ? p : Flipped(p);
    int n = 0;
    for (const auto& m : mover.LegalMoves())
        n += m.from == sq ? 1 : 0;
    return n;
}

std::vector<Pin> PinsBy(const Position& p, int from)
{
    std::vector<Pin> pins;
    const int8_t piece = p.At(from);
    const PieceType type = KindOf(piece);
    const bool white = piece > 0;
    const int f = FileOf(from), r = RankOf(from);
    for (int d = 0; d < 8; ++d) {
        if (!Slides(type, d))
            continue;
        int first = -1;
        for (int ff = f + kSteps[d][0], rr = r + kSteps[d][1]; Inside(ff, rr); ff += kSteps[d][0], rr += kSteps[d][1]) {
            const int sq = MakeSquare(ff, rr);
            const int8_t there = p.At(sq);
            if (there == 0)
                continue;
            if (!Enemy(there, white))
                break;
            if (first < 0) {
                if (KindOf(there) == King)
                    break;
                first = sq;
                continue;
            }
            if (Value(there) > Value(p.At(first)))
                pins.push_back({first, sq});
            break;
        }
    }
    return pins;
}

bool PinnedToKing(const Position& p, int sq)
{
    const int8_t piece = p.At(sq);
    if (piece == 0)
        return false;
    const int king = KingOf(p, piece > 0);
    for (int from = 0; from < 64; ++from)
        if (Enemy(p.At(from), piece > 0) && IsSlider(KindOf(p.At(from))))
            for (const Pin& pin : PinsBy(p, from))
                if (pin.pinned == sq && pin.behind == king)
                    return true;
    return false;
}

bool PassedPawn(const Position& p, int sq)
{
    const int8_t pawn = p.At(sq);
    if (KindOf(pawn) != Pawn)
        return false;
    const bool white = pawn > 0;
    const int f = FileOf(sq), r = RankOf(sq);
    for (int ff = std::max(0, f - 1); ff <= std::min(7, f + 1); ++ff)
        for (int rr = white ? r + 1 : r - 1; rr >= 0 && rr < 8; rr += white ? 1 : -1)
            if (p.At(MakeSquare(ff, rr)) == (white ? -Pawn : Pawn))
                return false;
    return true;
}

int PassedPawnMoves(const Position& p, int fileFrom, int fileTo)
{
    return LegalMovesWhere(p, [&](const fullchess::Move& m) {
        return KindOf(p.At(m.from)) == Pawn && PassedPawn(p, m.from) && FileOf(m.from) >= fileFrom && FileOf(m.from) <= fileTo;
    });
}

int PassedPawnCount(const Position& p, bool white)
{
    int n = 0;
    for (int sq = 0; sq < 64; ++sq)
        n += p.At(sq) == (white ? Pawn : -Pawn) && PassedPawn(p, sq) ? 1 : 0;
    return n;
}

bool PawnLever(const Position& p, int to, bool white)
{
    const int8_t enemyPawn = white ? -Pawn : Pawn;
    for (int t : AttacksFrom(p, to))
        if (p.At(t) == enemyPawn)
            return true;
    const int rank = RankOf(to) + (white ? 1 : -1);
    for (int df : {-1, 1}) {
        const int file = FileOf(to) + df;
        if (file >= 0 && file < 8 && rank >= 0 && rank < 8 && p.At(fullchess::MakeSquare(file, rank)) == enemyPawn)
            return true;
    }
    return false;
}

bool HeavyBattery(const Position& p, int sq, bool white)
{
    for (int dr : {1, -1})
        for (int rank = RankOf(sq) + dr; rank >= 0 && rank < 8; rank += dr) {
            const int8_t piece = p.At(fullchess::MakeSquare(FileOf(sq), rank));
            if (piece == 0)
                continue;
            if (Own(piece, white) && (KindOf(piece) == fullchess::Rook || KindOf(piece) == fullchess::Queen))
                return true;
            break;
        }
    return false;
}

std::vector<int> NewTargets(const Position& before, const Position& after, int from, int sq)
{
    const int8_t mover = after.At(sq);
    std::vector<int> targets;
    for (int t : AttacksFrom(after, sq)) {
        const int8_t piece = after.At(t);
        if (!Enemy(piece, IsWhite(mover)) || KindOf(piece) == Pawn || KindOf(piece) == fullchess::King
            || AttacksSquare(before, from, t) || (Value(piece) <= Value(mover) && Defended(after, t)))
            continue;
        targets.push_back(t);
    }
    std::sort(targets.begin(), targets.end(), [&](int a, int b) { return Value(after.At(a)) > Value(after.At(b)); });
    return targets;
}

int SlidersAimedAt(const Position& p, int sq, bool white)
{
    int n = 0;
    for (int from = 0; from < 64; ++from) {
        const int8_t piece = p.At(from);
        if (!Enemy(piece, white) || from == sq)
            continue;
        const PieceType kind = KindOf(piece);
        const bool straight = FileOf(from) == FileOf(sq) || RankOf(from) == RankOf(sq);
        const bool diagonal = std::abs(FileOf(from) - FileOf(sq)) == std::abs(RankOf(from) - RankOf(sq));
        n += ((kind == fullchess::Rook || kind == fullchess::Queen) && straight)
                || ((kind == fullchess::Bishop || kind == fullchess::Queen) && diagonal)
            ? 1 : 0;
    }
    return n;
}

int RelativeRank(int sq, bool white) { return white ? RankOf(sq) : 7 - RankOf(sq); }

int KingDistance(int a, int b)
{
    return std::max(std::abs(FileOf(a) - FileOf(b)), std::abs(RankOf(a) - RankOf(b)));
}

std::string Name(int sq) { return fullchess::SquareName(sq); }

std::vector<int> Between(int a, int b)
{
    std::vector<int> out;
    const int df = FileOf(b) - FileOf(a), dr = RankOf(b) - RankOf(a);
    if (!(df == 0 || dr == 0 || std::abs(df) == std::abs(dr)) || a == b)
        return out;
    const int sf = (df > 0) - (df < 0), sr = (dr > 0) - (dr < 0);
    for (int f = FileOf(a) + sf, r = RankOf(a) + sr; MakeSquare(f, r) != b; f += sf, r += sr)
        out.push_back(MakeSquare(f, r));
    return out;
}

} // namespace facts

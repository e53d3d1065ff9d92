#include "HintCatalogue.h"

#include "BoardFacts.h"
#include "HintGuards.h"
#include "HintWords.h"

#include <algorithm>
#include <span>

using fullchess::Bishop;
using fullchess::King;
using fullchess::Knight;
using fullchess::Move;
using fullchess::Pawn;
using fullchess::PieceType;
using fullchess::Position;
using fullchess::Queen;
using fullchess::Rook;
using namespace facts;

// ---- The facts, read once.

namespace {

bool FileHasPawn(const Position& p, int file, int8_t pawn)
{
    for (int rank = 0; rank < 8; ++rank)
        if (p.At(fullchess::MakeSquare(file, rank)) == pawn)
            return true;
    return false;
}

bool IsPiece(PieceType type) { return type == Knight || type == Bishop || type == Rook || type == Queen; }
bool IsHeavy(PieceType type) { return type == Rook || type == Queen; }
int8_t PawnOf(bool white) { return white ? Pawn : -Pawn; }
bool Decisive(const LineStory& story) { return story.end == LineEnd::DecisiveEdge || story.end == LineEnd::MaterialWon; }

// The squares the queening pawn still has to cross.
std::vector<int> PromotionPath(const LineFacts& x)
{
    std::vector<int> path;
    for (int sq = x.story.promoterStart; sq >= 0 && RelativeRank(sq, x.userWhite) < 7;) {
        sq += x.userWhite ? 8 : -8;
        path.push_back(sq);
    }
    return path;
}

// The enemy king cannot reach the path of the queening pawn in time. A pawn
// that queens by taking wins by a fork or a capture, whatever the king does.
bool KingTooFar(const LineFacts& x)
{
    const int king = KingOf(x.root, !x.userWhite);
    const auto path = PromotionPath(x);
    return king >= 0 && !path.empty() && !x.story.promoterCaptures
        && std::all_of(path.begin(), path.end(), [&](int sq) { return KingDistance(sq, king) >= 2; });
}

// No other enemy piece (pawns aside) can come to the pawn's path: it covers
// a square of it from the start, or from a square it can go to in one move.
// Without an engine's refutation this is how the piece that would have to
// stop the pawn is known: where another one can, the king is not it.
bool OnlyTheKingCouldStop(const LineFacts& x)
{
    const Position enemy = Flipped(x.root);
    const auto path = PromotionPath(x);
    const auto covers = [&](const Position& p, int from) {
        return std::any_of(path.begin(), path.end(), [&](int sq) { return sq == from || AttacksSquare(p, from, sq); });
    };
    for (int sq = 0; sq < 64; ++sq) {
        const int8_t piece = enemy.At(sq);
        if (!Enemy(piece, x.userWhite) || !IsPiece(KindOf(piece)))
            continue;
        if (covers(enemy, sq))
            return false;
        for (const Move& m : enemy.LegalMoves())
            if (m.from == sq && covers(enemy.After(m), m.to))
                return false;
    }
    return true;
}

// The biggest kind of piece the opponent lost more of than the user in the
// replayed moves (a queen taken for a queen is a trade); Empty if none.
PieceType WonKind(const Replayed& r)
{
    if (r.positions.empty())
        return fullchess::Empty;
    const auto start = r.positions.front().Count(!r.userWhite), end = r.positions.back().Count(!r.userWhite);
    const auto ownStart = r.positions.front().Count(r.userWhite), ownEnd = r.positions.back().Count(r.userWhite);
    for (PieceType type : {Queen, Rook, Bishop, Knight}) {
        const auto k = static_cast<std::size_t>(type);
        if (start[k] - end[k] > std::max(0, ownStart[k] - ownEnd[k]))
            return type;
    }
    return fullchess::Empty;
}

// What the line wins, and the first piece of that kind the user takes.
void ReadWon(const LineFacts& x, TacticFacts& t)
{
    const Replayed& r = x.cut;
    if (x.story.end != LineEnd::MaterialWon)
        return;
    const PieceType type = WonKind(r);
    if (type == fullchess::Empty)
        return;
    t.wonKind = type;
    // The first such piece taken and not paid for: a capture the reply
    // answers by taking as much back is a trade.
    for (std::size_t ply = 0; ply < r.moves.size(); ++ply) {
        const int sq = r.moves[ply].to;
        if (!Replayed::IsUser(ply) || !r.moves[ply].capture || KindOf(r.positions[ply].At(sq)) != type)
            continue;
        const bool traded = ply + 1 < r.moves.size() && r.moves[ply + 1].capture
            && Value(r.positions[ply + 1].At(r.moves[ply + 1].to)) >= Value(r.positions[ply].At(sq));
        if (!traded) {
            t.wonPiece = r.Ref(ply, sq);
            t.wonWhereItStood = t.wonPiece.start == sq;
            break;
        }
    }
}

TacticFacts ReadTacticFacts(const LineFacts& x)
{
    TacticFacts t;
    if (x.tokens < 1 || static_cast<std::size_t>((x.tokens - 1) / 2) >= x.candidate.line.steps.size())
        return t;
    const auto& step = x.candidate.line.steps[static_cast<std::size_t>((x.tokens - 1) / 2)];
    t.attackMates = x.story.end == LineEnd::MateNext || (x.story.end == LineEnd::DecisiveEdge && step.after.Mates());
    t.promotionSteps = x.story.promoterStart >= 0 ? 7 - RelativeRank(x.story.promoterStart, x.userWhite) : 0;
    t.kingTooFar = x.story.promotes && KingTooFar(x) && OnlyTheKingCouldStop(x);
    ReadWon(x, t);
    return t;
}

// A knight guarded by a pawn, where no enemy pawn can come to chase it.
bool Outpost(const Position& after, int to, bool white)
{
    bool guarded = false, chased = false;
    for (int df : {-1, 1}) {
        const int file = fullchess::FileOf(to) + df;
        if (file < 0 || file > 7)
            continue;
        const int back = fullchess::RankOf(to) + (white ? -1 : 1);
        guarded = guarded || (back >= 0 && back < 8 && after.At(fullchess::MakeSquare(file, back)) == PawnOf(white));
        for (int rank = fullchess::RankOf(to) + (white ? 1 : -1); rank >= 0 && rank < 8; rank += white ? 1 : -1)
            chased = chased || after.At(fullchess::MakeSquare(file, rank)) == PawnOf(!white);
    }
    return guarded && !chased;
}

// Whether the user goes after the enemy piece that started on `start`, which
// the first move attacks: the line takes it (or the next user move does), or
// brings a second piece against it; a line of that one move, where the piece
// stands without a guard or the next user move still attacks it.
bool GoesAfter(const Replayed& r, int start)
{
    if (r.UserTakes(1, start) >= 0)
        return true;
    const auto attackers = [&](std::size_t ply) {
        for (int sq = 0; sq < 64; ++sq)
            if (r.Origin(ply, sq) == start)
                return Attackers(r.positions[ply], sq, r.userWhite).size();
        return std::size_t{0};
    };
    if (r.lineMoves == 1)
        return !Defended(r.positions[1], start) || (r.positions.size() > 3 && attackers(3) >= 1);
    for (std::size_t ply = 1; ply <= static_cast<std::size_t>(r.lineMoves); ply += 2)
        if (attackers(ply) >= 2)
            return true;
    return false;
}

// An enemy pawn the moved piece attacks, isolated or without a guard, that
// the line goes after.
void ReadWeakPawn(const LineFacts& x, PlanFacts& p)
{
    const Position& before = x.root;
    const Position& after = x.cut.positions[1];
    const int8_t enemyPawn = PawnOf(!x.userWhite);
    for (int t : AttacksFrom(after, x.first.to)) {
        if (after.At(t) != enemyPawn || AttacksSquare(before, x.first.from, t))
            continue;
        bool neighbour = false;
        for (int df : {-1, 1}) {
            const int file = fullchess::FileOf(t) + df;
            neighbour = neighbour || (file >= 0 && file < 8 && FileHasPawn(after, file, enemyPawn));
        }
        const bool stays = GoesAfter(ReplayCandidate(x.candidate, x.tokens, 2), t);
        if ((!neighbour || !Defended(after, t)) && stays && t != x.first.to) {
            p.weakPawn = t;
            p.weakPawnNeighbour = neighbour;
            return;
        }
    }
}

// An enemy piece that had three moves or more and has one or none after the
// move (not to a check, which takes the moves of every piece for one turn).
int Restricted(const Position& before, const Position& after, bool white)
{
    for (int sq = 0; sq < 64 && !after.InCheck(); ++sq) {
        const int8_t piece = after.At(sq);
        if (!Enemy(piece, white) || !IsPiece(KindOf(piece)) || before.At(sq) != piece)
            continue;
        if (LegalMovesOf(Flipped(before), sq) >= 3 && LegalMovesOf(after, sq) <= 1)
            return sq;
    }
    return -1;
}

// A passed pawn of the user's ahead of the rook on its file.
bool RookBehindPassed(const Position& after, int to, bool white)
{
    for (int rank = 0; rank < 8; ++rank) {
        const int sq = fullchess::MakeSquare(fullchess::FileOf(to), rank);
        const bool ahead = white ? rank > fullchess::RankOf(to) : rank < fullchess::RankOf(to);
        if (ahead && after.At(sq) == PawnOf(white) && PassedPawn(after, sq))
            return true;
    }
    return false;
}

// More pawns than the opponent on the wing of the move (not the centre), and
// the moved one is not passed yet.
bool Majority(const Position& after, int to, bool white)
{
    auto pawnsOn = [&](int8_t pawn) {
        int n = 0;
        for (int sq = 0; sq < 64; ++sq)
            n += after.At(sq) == pawn && WingPhrase(sq) == WingPhrase(to) ? 1 : 0;
        return n;
    };
    const int own = pawnsOn(PawnOf(white)), enemy = pawnsOn(PawnOf(!white));
    return own > enemy && enemy > 0 && !PassedPawn(after, to) && WingPhrase(to) != "в центре";
}

int CentreDistance(int sq) { return std::abs(2 * fullchess::FileOf(sq) - 7) + std::abs(2 * fullchess::RankOf(sq) - 7); }

// A move onto a long diagonal from off both, and whether that diagonal runs
// at the enemy king (it stands on it or next to it).
void ReadDiagonal(const Move& m, PlanFacts& p)
{
    const int file = fullchess::FileOf(m.to), rank = fullchess::RankOf(m.to);
    const int fromFile = fullchess::FileOf(m.from), fromRank = fullchess::RankOf(m.from);
    p.diagonal = (p.type == Bishop || p.type == Queen) && !m.capture && (file == rank || file + rank == 7)
        && !(fromFile == fromRank || fromFile + fromRank == 7);
    p.diagonalA1H8 = file == rank;
    if (!p.diagonal || p.enemyKing < 0)
        return;
    const int kingFile = fullchess::FileOf(p.enemyKing), kingRank = fullchess::RankOf(p.enemyKing);
    p.diagonalToKing = std::abs(p.diagonalA1H8 ? kingFile - kingRank : kingFile + kingRank - 7) <= 1;
}

// The pawn moves of the first move: lever, passed, majority.
void ReadPawnMove(const LineFacts& x, PlanFacts& p)
{
    const Position& after = x.cut.positions[1];
    if (p.type != Pawn || x.first.capture)
        return;
    p.lever = PawnLever(after, x.first.to, x.userWhite);
    p.passedAfter = PassedPawn(after, x.first.to);
    p.majority = Majority(after, x.first.to, x.userWhite);
}

// The piece moves of the first move: outpost, weak pawn, battery, blockade...
void ReadPieceMove(const LineFacts& x, PlanFacts& p)
{
    const Position& before = x.root;
    const Position& after = x.cut.positions[1];
    const Move& m = x.first;
    const bool white = x.userWhite;
    p.outpost = p.type == Knight && p.relTo >= 3 && p.relTo <= 5 && Outpost(after, m.to, white);
    p.kingToCentre = CentreDistance(m.to) < CentreDistance(m.from);
    if (IsPiece(p.type))
        ReadWeakPawn(x, p);
    const bool takenAtOnce = x.cut.moves.size() > 1 && x.cut.moves[1].to == m.to;
    p.battery = !m.capture && IsHeavy(p.type) && !takenAtOnce && !p.queensTraded && HeavyBattery(after, m.to, white);
    p.rookBehindPassed = !m.capture && p.type == Rook && RookBehindPassed(after, m.to, white);
    const int ahead = m.to + (white ? -8 : 8);
    if (!m.capture && (p.type == Knight || p.type == Bishop) && ahead >= 0 && ahead < 64 && after.At(ahead) == PawnOf(!white)
        && PassedPawn(after, ahead))
        p.blockade = ahead;
    if (!m.capture && IsPiece(p.type)) {
        p.mobilityBefore = LegalMovesOf(before, m.from);
        p.mobilityAfter = LegalMovesOf(Flipped(after), m.to);
    }
}

// The line goes at the enemy king: the queens stay on, and every user move
// checks, or comes nearer the king and ends two king steps from it or
// closer (a capture there takes a defender, not a pawn far away).
void ReadKingAttack(const LineFacts& x, PlanFacts& p)
{
    const Replayed& r = x.cut;
    p.kingAttack = !p.queensTraded && !p.endgame && IsPiece(p.type);
    for (std::size_t ply = 0; ply < r.moves.size() && p.kingAttack; ply += 2) {
        const Move& m = r.moves[ply];
        const int king = KingOf(r.positions[ply], !r.userWhite);
        const bool checks = r.positions[ply + 1].InCheck();
        const bool closer = king >= 0 && KingDistance(m.to, king) <= 2 && KingDistance(m.to, king) < KingDistance(m.from, king);
        p.kingAttack = checks || closer;
    }
}

// The engine's scores for the user before the line and at its end.
void ReadScores(const LineFacts& x, PlanFacts& p)
{
    const auto& steps = x.candidate.line.steps;
    const auto last = static_cast<std::size_t>((x.tokens - 1) / 2);
    if (x.tokens < 1 || last >= steps.size())
        return;
    p.scored = true;
    p.scoreBefore = steps.front().best.Rank();
    p.scoreAfter = steps[last].after.Rank();
}

PlanFacts ReadPlanFacts(const LineFacts& x)
{
    PlanFacts p;
    if (x.cut.moves.empty())
        return p;
    const Position& before = x.root;
    const Position& after = x.cut.positions[1];
    const Position& end = x.cut.positions.back();
    p.mover = before.At(x.first.from);
    p.type = KindOf(p.mover);
    p.relTo = RelativeRank(x.first.to, x.userWhite);
    p.endgame = IsEndgame(before);
    const auto queens = [](const Position& pos) { return pos.Count(true)[Queen] + pos.Count(false)[Queen]; };
    p.queensTraded = queens(before) > 0 && queens(end) == 0;
    p.enemyKing = KingOf(after, !x.userWhite);
    ReadPawnMove(x, p);
    ReadPieceMove(x, p);
    p.restricted = Restricted(before, after, x.userWhite);
    ReadDiagonal(x.first, p);
    p.gain = Balance(end, x.userWhite) - Balance(before, x.userWhite);
    p.wonKind = WonKind(x.cut);
    for (std::size_t ply = 0; ply < x.cut.moves.size(); ply += 2)
        if (x.cut.moves[ply].capture) {
            p.taken = x.cut.Ref(ply, x.cut.moves[ply].to);
            break;
        }
    ReadKingAttack(x, p);
    ReadScores(x, p);
    if (p.type == King && !p.endgame)
        p.kingOffLine = KingOffLine(before, x.first);
    if (p.type != King)
        if (const auto hits = NewTargets(before, after, x.first.from, x.first.to); !hits.empty())
            p.hit = hits.front();
    if (p.hit >= 0)
        p.weakPawn = -1;  // the move hits a piece: that is its point, not the pawn
    return p;
}

} // namespace

LineFacts ReadFacts(const Candidate& c, int tokens, const Position& root, const LineStory& story)
{
    const auto first = root.ParseUci(c.line.moves.front());
    LineFacts x{c, tokens, root, first ? *first : Move{}, root.WhiteToMove(), story, ReplayCandidate(c, tokens, 0),
                SideGen(root.WhiteToMove()), SideGen(!root.WhiteToMove()), InMoves(story.userMoves), {}, {}};
    if (c.kind == TaskKind::Strategy)
        x.plan = ReadPlanFacts(x);
    else if (!story.mates)
        x.tactic = ReadTacticFacts(x);
    return x;
}

// ---- The catalogue.

namespace {

using X = const LineFacts&;
using F = const Found&;

bool Always(X, F) { return true; }

std::string EnemyGen(X x, const PieceRef& piece) { return std::string(Words(piece.kind).gen) + " " + x.opp; }
// " на e5" where the piece may be named by its square, else nothing.
std::string At(X x, const PieceRef& piece) { return MayPlace(x.root, x.first, piece) ? " на " + Name(piece.start) : std::string(); }
bool Placed(X x, const PieceRef& piece) { return MayPlace(x.root, x.first, piece); }
bool KnightOrPawn(F f) { return f.user.kind == Knight || f.user.kind == Pawn; }
std::string ForkWord(F f) { return KnightOrPawn(f) ? "вилка" : "двойной удар"; }
bool NameMater(X x) { return x.story.matingKind != Pawn && MayNameKind(x.root, x.story.matingKind); }
std::string MateIn(X x, const std::string& before) { return before + x.in + "."; }

// Draw tests.
const HintEntry kDrawEntries[] = {
    {"stalemate.named", Motif::Stalemate, HintPart::Stalemate, Motif::None, Always,
     [](X, F) { return kHintStalemate; }, nullptr},
    {"stalemate.saves", Motif::Stalemate, HintPart::Stalemate, Motif::None, Always,
     [](X, F) { return std::string("Спасение — в пате."); }, nullptr},
    {"perpetual.saves", Motif::Perpetual, HintPart::Perpetual, Motif::None, Always,
     [](X, F) { return std::string("Спасите партию вечным шахом."); }, nullptr},
    {"perpetual.draws", Motif::Perpetual, HintPart::Perpetual, Motif::None, Always,
     [](X, F) { return std::string("Ничью дает вечный шах."); }, nullptr},
    {"perpetual.king", Motif::Perpetual, HintPart::Perpetual, Motif::None,
     [](X x, F) { return KingOf(x.root, !x.userWhite) >= 0; },
     [](X x, F) { return "Королю " + x.opp + " на " + Name(KingOf(x.root, !x.userWhite)) + " не уйти от вечного шаха."; }, nullptr},
    {"draw.only-move", Motif::None, HintPart::DrawSaved, Motif::None, Always,
     [](X, F) { return std::string("Найдите единственный ход, который сохраняет равновесие."); }, nullptr},
    {"draw.exact-defence", Motif::None, HintPart::DrawSaved, Motif::None, Always,
     [](X, F) { return std::string("Только точная защита спасает партию."); }, nullptr},
    {"draw.all-but-one", Motif::None, HintPart::DrawSaved, Motif::None, Always,
     [](X x, F) { return "Все ходы, кроме одного, проигрывают. Найдите ничью за " + x.own + "."; }, nullptr},
};

// Tactics that end in mate: the mate itself, then the devices on the way.
const HintEntry kMateEntries[] = {
    {"mate.with-sacrifice", Motif::Mate, HintPart::Mate, Motif::None, [](X x, F) { return x.story.sacrifice; },
     [](X, F) { return kHintMateWithSacrifice; }, nullptr},
    {"mate.in", Motif::Mate, HintPart::Mate, Motif::None, Always, [](X x, F) { return MateIn(x, "Мат "); }, nullptr},
    {"mate.find", Motif::Mate, HintPart::Mate, Motif::None, Always, [](X x, F) { return MateIn(x, "Найдите мат "); }, nullptr},
    {"mate.net", Motif::Mate, HintPart::Mate, Motif::None, Always,
     [](X x, F) { return MateIn(x, "Король " + x.opp + " в матовой сети: мат "); }, nullptr},
    {"mate.king-defenceless", Motif::Mate, HintPart::Mate, Motif::None, Always,
     [](X x, F) { return MateIn(x, "Король " + x.opp + " на " + Name(KingOf(x.root, !x.userWhite)) + " беззащитен: мат "); },
     nullptr},
    {"mate.back-rank-by", Motif::Mate, HintPart::Mate, Motif::None, [](X x, F) { return NameMater(x) && x.story.backRank; },
     [](X x, F) { return MateIn(x, std::string("Мат ") + Words(x.story.matingKind).ins + " по последней горизонтали "); },
     nullptr},
    {"mate.by", Motif::Mate, HintPart::Mate, Motif::None, [](X x, F) { return NameMater(x); },
     [](X x, F) { return MateIn(x, std::string("Мат ") + Words(x.story.matingKind).ins + " "); }, nullptr},
    {"mate.back-rank", Motif::Mate, HintPart::Mate, Motif::None, [](X x, F) { return x.story.backRank; },
     [](X x, F) { return MateIn(x, "Слабость последней горизонтали: мат "); }, nullptr},
    {"mate.smothered", Motif::Mate, HintPart::Mate, Motif::None, [](X x, F) { return x.story.smothered; },
     [](X x, F) { return MateIn(x, "Спертый мат "); }, nullptr},
    {"mate.sacrifice-of", Motif::Sacrifice, HintPart::MateDevice, Motif::Sacrifice,
     [](X x, F f) { return MayNameKind(x.root, f.user.kind); },
     [](X x, F f) { return MateIn(x, std::string("Жертва ") + Words(f.user.kind).gen + " ведет к мату "); }, nullptr},
    {"mate.no-material-spared", Motif::Mate, HintPart::MateDevice, Motif::Sacrifice, Always,
     [](X x, F) { return MateIn(x, "Не жалейте материала: мат "); }, nullptr},
    {"mate.double-check", Motif::DoubleCheck, HintPart::MateDevice, Motif::DoubleCheck, Always,
     [](X x, F) { return MateIn(x, "Двойной шах ведет к мату "); }, DoubleCheckIsTheMove},
    {"mate.discovered-check", Motif::DiscoveredCheck, HintPart::MateDevice, Motif::DiscoveredCheck, Always,
     [](X x, F) { return MateIn(x, "Вскрытый шах ведет к мату "); }, DiscoveredCheckIsTheMove},
    {"mate.deflection", Motif::Deflection, HintPart::MateDevice, Motif::Deflection, Always,
     [](X x, F f) { return MateIn(x, "Отвлечение " + EnemyGen(x, f.enemy) + " ведет к мату "); }, nullptr},
    {"mate.decoy", Motif::Decoy, HintPart::MateDevice, Motif::Decoy, Always,
     [](X x, F f) { return MateIn(x, "Завлечение " + EnemyGen(x, f.enemy) + " ведет к мату "); }, nullptr},
    {"mate.removal", Motif::RemovalOfDefender, HintPart::MateDevice, Motif::RemovalOfDefender, Always,
     [](X x, F) { return MateIn(x, "Уничтожение защиты ведет к мату "); }, nullptr},
    {"mate.interference", Motif::Interference, HintPart::MateDevice, Motif::Interference, Always,
     [](X x, F) { return MateIn(x, "Перекрытие ведет к мату "); }, nullptr},
    {"mate.clearance", Motif::Clearance, HintPart::MateDevice, Motif::Clearance, Always,
     [](X x, F f) { return MateIn(x, std::string(f.alongLine ? "Освобождение линии" : "Освобождение поля") + " ведет к мату "); },
     nullptr},
};

// Only kings and pawns on the board.
bool PawnEnding(const Position& p)
{
    for (int sq = 0; sq < 64; ++sq)
        if (IsPiece(KindOf(p.At(sq))))
            return false;
    return true;
}

// The line wins a piece, and not the one the first move takes (naming it
// would name the capture).
bool WinsAPiece(X x) { return x.tactic.wonKind != fullchess::Empty && !TakesTheKind(x.root, x.first, x.tactic.wonKind); }

// Tactics without a mate: the attack, the pawn, the king.
const HintEntry kWinEntries[] = {
    {"attack.irresistible", Motif::MatingAttack, HintPart::Attack, Motif::None, [](X x, F) { return x.tactic.attackMates; },
     [](X x, F) { return "Атака на короля " + x.opp + " неотразима."; }, nullptr},
    {"attack.king-falls", Motif::MatingAttack, HintPart::Attack, Motif::None, [](X x, F) { return x.tactic.attackMates; },
     [](X x, F) { return "Король " + x.opp + " на " + Name(KingOf(x.root, !x.userWhite)) + " не выдержит атаки."; }, nullptr},
    {"attack.mating", Motif::MatingAttack, HintPart::Attack, Motif::None, [](X x, F) { return x.tactic.attackMates; },
     [](X x, F) { return "Матовая атака: королю " + x.opp + " не спастись."; }, nullptr},
    {"passed.queens", Motif::PassedPawn, HintPart::Promotion, Motif::None, [](X x, F) { return x.story.promotes; },
     [](X, F) { return kHintQueenThePawn; }, PassedPawnIsTheMove},
    {"passed.decides", Motif::PassedPawn, HintPart::Promotion, Motif::None, [](X x, F) { return x.story.promotes; },
     [](X x, F) { return "Проходная пешка " + x.own + " решает исход борьбы."; }, PassedPawnIsTheMove},
    {"passed.unstoppable", Motif::PassedPawn, HintPart::Promotion, Motif::None, [](X x, F) { return x.story.promotes; },
     [](X x, F) { return "Проходную пешку " + x.own + " уже не остановить."; }, PassedPawnIsTheMove},
    {"passed.steps-left", Motif::PassedPawn, HintPart::Promotion, Motif::None,
     [](X x, F) { return x.story.promotes && x.tactic.promotionSteps >= 1 && x.tactic.promotionSteps <= 5; },
     [](X x, F) {
         static const char* const numbers[] = {"", "один", "два", "три", "четыре", "пять"};
         const int steps = x.tactic.promotionSteps;
         return "Проходной пешке " + x.own + (steps == 1 ? " остался " : " осталось ") + numbers[steps] + " "
             + Plural(steps, "шаг", "шага", "шагов") + " до поля превращения.";
     },
     PassedPawnIsTheMove},
    {"passed.king-too-far", Motif::PassedPawn, HintPart::Promotion, Motif::None, [](X x, F) { return x.tactic.kingTooFar; },
     [](X x, F) { return "Король " + x.opp + " на " + Name(KingOf(x.root, !x.userWhite)) + " не успевает догнать проходную пешку."; },
     OnlyPassedPawnIsTheMove},
    {"passed.push-decides", Motif::PassedPawn, HintPart::PassedPush, Motif::None,
     [](X x, F) { return x.story.pushesPassed && !x.story.promotes && Decisive(x.story); },
     [](X x, F) { return "Проходная пешка " + x.own + " решает исход борьбы."; }, PassedPawnIsTheMove},
    {"passed.push", Motif::PassedPawn, HintPart::PassedPush, Motif::None,
     [](X x, F) { return x.story.pushesPassed && !x.story.promotes && Decisive(x.story); },
     [](X x, F) { return "Все решает продвижение проходной пешки " + x.own + "."; }, PassedPawnIsTheMove},
};

// The user's king walks in an ending and wins it.
bool KingWins(X x, F)
{
    return x.story.kingMarches && IsEndgame(x.root) && MayNameKind(x.root, King) && Decisive(x.story);
}

const HintEntry kKingEntries[] = {
    {"king.decides", Motif::ActiveKing, HintPart::ActiveKing, Motif::None, KingWins,
     [](X x, F) { return "Активный король " + x.own + " решает исход эндшпиля."; }, KingIsTheMove},
    {"king.forward", Motif::ActiveKing, HintPart::ActiveKing, Motif::None, KingWins,
     [](X x, F) { return "В эндшпиле король — сильная фигура: пусть король " + x.own + " идет вперед."; },
     [](const Position& root, const Move& first) { return KingIsTheMove(root, first) || KingForwardIsTheMove(root, first); }},
    {"king.main-piece", Motif::ActiveKing, HintPart::ActiveKing, Motif::None, KingWins,
     [](X x, F) { return "Король " + x.own + " на " + Name(KingOf(x.root, x.userWhite)) + " — главная фигура этого эндшпиля."; },
     KingIsTheMove},
};

// Tactics without a mate: every device of the line, in its order.
const HintEntry kDeviceEntries[] = {
    {"fork.find-fork", Motif::Fork, HintPart::Device, Motif::Fork, [](X, F f) { return KnightOrPawn(f); },
     [](X, F) { return std::string("Найдите вилку."); }, nullptr},
    {"fork.find-double-attack", Motif::Fork, HintPart::Device, Motif::Fork, [](X, F f) { return !KnightOrPawn(f); },
     [](X, F) { return std::string("Ищите двойной удар."); }, nullptr},
    {"fork.by", Motif::Fork, HintPart::Device, Motif::Fork,
     [](X x, F f) { return MayNameKind(x.root, f.user.kind) && f.user.kind != Pawn; },
     [](X, F f) { return Capitalised(ForkWord(f)) + " " + Words(f.user.kind).ins + " решает."; }, nullptr},
    {"fork.targets", Motif::Fork, HintPart::Device, Motif::Fork, Always,
     [](X x, F f) {
         return Capitalised(ForkWord(f)) + ": " + Words(f.enemy.kind).nom + " и " + Words(f.enemy2.kind).nom + " " + x.opp
             + " окажутся под ударом одновременно.";
     },
     nullptr},
    {"fork.targets-on", Motif::Fork, HintPart::Device, Motif::Fork, [](X x, F f) { return Placed(x, f.enemy) && Placed(x, f.enemy2); },
     [](X x, F f) {
         return "Двойной удар по " + std::string(Words(f.enemy.kind).dat) + " " + x.opp + " на " + Name(f.enemy.start) + " и "
             + Words(f.enemy2.kind).dat + " " + x.opp + " на " + Name(f.enemy2.start) + ".";
     },
     nullptr},
    {"pin.use", Motif::Pin, HintPart::Device, Motif::Pin, Always, [](X, F) { return std::string("Используйте связку."); }, nullptr},
    {"pin.wins", Motif::Pin, HintPart::Device, Motif::Pin, Always,
     [](X x, F f) { return "Связка " + EnemyGen(x, f.enemy) + " приносит материал."; }, nullptr},
    {"pin.win-on", Motif::Pin, HintPart::Device, Motif::Pin, [](X x, F f) { return Placed(x, f.enemy); },
     [](X x, F f) { return "Попробуйте выиграть на связке " + EnemyGen(x, f.enemy) + At(x, f.enemy) + "."; }, nullptr},
    {"discovered.find", Motif::DiscoveredAttack, HintPart::Device, Motif::DiscoveredAttack, Always,
     [](X, F) { return std::string("Ищите вскрытое нападение."); }, nullptr},
    {"discovered.on", Motif::DiscoveredAttack, HintPart::Device, Motif::DiscoveredAttack, Always,
     [](X x, F f) { return std::string("Вскрытое нападение на ") + Words(f.enemy.kind).acc + " " + x.opp + "."; }, nullptr},
    {"discovered.on-square", Motif::DiscoveredAttack, HintPart::Device, Motif::DiscoveredAttack,
     [](X x, F f) { return Placed(x, f.enemy); },
     [](X x, F f) { return "Вскрытое нападение: " + std::string(Words(f.enemy.kind).nom) + " " + x.opp + At(x, f.enemy) + " окажется под ударом."; },
     nullptr},
    {"discovered-check.decides", Motif::DiscoveredCheck, HintPart::Device, Motif::DiscoveredCheck, Always,
     [](X, F) { return std::string("Вскрытый шах решает."); }, DiscoveredCheckIsTheMove},
    {"discovered-check.wins", Motif::DiscoveredCheck, HintPart::Device, Motif::DiscoveredCheck,
     [](X x, F) { return x.story.end == LineEnd::MaterialWon; },
     [](X, F) { return std::string("Вскрытый шах выигрывает материал."); }, DiscoveredCheckIsTheMove},
    {"double-check.decides", Motif::DoubleCheck, HintPart::Device, Motif::DoubleCheck, Always,
     [](X, F) { return std::string("Двойной шах решает исход борьбы."); }, DoubleCheckIsTheMove},
    {"double-check.no-block", Motif::DoubleCheck, HintPart::Device, Motif::DoubleCheck, Always,
     [](X, F) { return std::string("От двойного шаха закрыться нельзя."); }, DoubleCheckIsTheMove},
    {"deflection.defender", Motif::Deflection, HintPart::Device, Motif::Deflection, Always,
     [](X, F) { return std::string("Отвлеките защитника."); }, nullptr},
    {"deflection.of", Motif::Deflection, HintPart::Device, Motif::Deflection, Always,
     [](X x, F f) { return "Отвлеките " + std::string(Words(f.enemy.kind).acc) + " " + x.opp + " от защиты."; }, nullptr},
    {"deflection.on-square", Motif::Deflection, HintPart::Device, Motif::Deflection, [](X x, F f) { return Placed(x, f.enemy); },
     [](X x, F f) { return "Отвлечение " + EnemyGen(x, f.enemy) + At(x, f.enemy) + " решает."; }, nullptr},
    {"overload.use", Motif::Overload, HintPart::Device, Motif::Overload, Always,
     [](X, F) { return std::string("Используйте перегрузку защитника."); }, nullptr},
    {"overload.piece", Motif::Overload, HintPart::Device, Motif::Overload, Always,
     [](X x, F f) {
         const PieceWords& w = Words(f.enemy.kind);
         return Capitalised(w.nom) + " " + x.opp + (w.feminine ? " перегружена." : " перегружен.");
     },
     nullptr},
    {"overload.on-square", Motif::Overload, HintPart::Device, Motif::Overload, [](X x, F f) { return Placed(x, f.enemy); },
     [](X x, F f) {
         const PieceWords& w = Words(f.enemy.kind);
         return Capitalised(w.nom) + " " + x.opp + At(x, f.enemy) + (w.feminine ? " перегружена: она" : " перегружен: он")
             + " защищает слишком многое.";
     },
     nullptr},
    {"decoy.fatal-square", Motif::Decoy, HintPart::Device, Motif::Decoy, Always,
     [](X x, F f) { return "Завлеките " + std::string(Words(f.enemy.kind).acc) + " " + x.opp + " на роковое поле."; }, nullptr},
    {"decoy.decides", Motif::Decoy, HintPart::Device, Motif::Decoy, Always,
     [](X x, F f) { return "Завлечение " + EnemyGen(x, f.enemy) + " решает."; }, nullptr},
    {"interference.cut", Motif::Interference, HintPart::Device, Motif::Interference, Always,
     [](X, F) { return std::string("Перекройте линию защиты."); }, nullptr},
    {"interference.of", Motif::Interference, HintPart::Device, Motif::Interference, Always,
     [](X x, F f) { return "Перекрытие линии " + EnemyGen(x, f.enemy) + " решает."; }, nullptr},
    {"removal.destroy", Motif::RemovalOfDefender, HintPart::Device, Motif::RemovalOfDefender, Always,
     [](X, F) { return std::string("Уничтожьте защитника."); }, nullptr},
    {"removal.decides", Motif::RemovalOfDefender, HintPart::Device, Motif::RemovalOfDefender, Always,
     [](X, F) { return std::string("Уничтожение защиты решает."); }, nullptr},
    {"removal.main-defender", Motif::RemovalOfDefender, HintPart::Device, Motif::RemovalOfDefender,
     [](X x, F f) { return Placed(x, f.enemy); },
     [](X x, F f) { return "Главный защитник — " + std::string(Words(f.enemy.kind).nom) + " " + x.opp + At(x, f.enemy) + "."; },
     nullptr},
    {"intermezzo.check", Motif::Intermezzo, HintPart::Device, Motif::Intermezzo, Always,
     [](X, F) { return std::string("Не спешите отыгрывать материал: промежуточный шах сильнее."); }, nullptr},
    {"intermezzo.decides", Motif::Intermezzo, HintPart::Device, Motif::Intermezzo, Always,
     [](X, F) { return std::string("Промежуточный ход решает."); }, nullptr},
    {"clearance.free", Motif::Clearance, HintPart::Device, Motif::Clearance, Always,
     [](X, F f) { return std::string(f.alongLine ? "Освободите линию для другой фигуры." : "Освободите поле для другой фигуры."); },
     nullptr},
    {"clearance.with-tempo", Motif::Clearance, HintPart::Device, Motif::Clearance, Always,
     [](X, F f) { return std::string(f.alongLine ? "Освобождение линии с темпом решает." : "Освобождение поля с темпом решает."); },
     nullptr},
    {"trap.catch", Motif::Trap, HintPart::Device, Motif::Trap, Always,
     [](X x, F f) { return "Поймайте " + std::string(Words(f.enemy.kind).acc) + " " + x.opp + "."; }, nullptr},
    {"trap.on-square", Motif::Trap, HintPart::Device, Motif::Trap, [](X x, F f) { return Placed(x, f.enemy); },
     [](X x, F f) { return Capitalised(Words(f.enemy.kind).nom) + " " + x.opp + At(x, f.enemy) + " может попасть в ловушку."; },
     nullptr},
    {"breakthrough.decides", Motif::Breakthrough, HintPart::Device, Motif::Breakthrough,
     [](X x, F) { return x.story.promotes || x.story.end == LineEnd::DecisiveEdge; },
     [](X, F) { return std::string("Пешечный прорыв решает."); }, nullptr},
    {"breakthrough.sacrifice", Motif::Breakthrough, HintPart::Device, Motif::Breakthrough, [](X x, F) { return x.story.promotes; },
     [](X, F) { return std::string("Пешечный прорыв: пожертвуйте пешку, чтобы провести другую."); }, nullptr},
    {"sacrifice.of", Motif::Sacrifice, HintPart::Device, Motif::Sacrifice,
     [](X x, F f) { return MayNameKind(x.root, f.user.kind) && f.user.kind != Pawn && f.user.kind != King; },
     [](X, F f) { return std::string("Жертва ") + Words(f.user.kind).gen + " окупается с лихвой."; }, nullptr},
    {"sacrifice.pays", Motif::Sacrifice, HintPart::Device, Motif::Sacrifice, Always,
     [](X, F) { return std::string("Жертва материала окупается."); }, nullptr},
    {"sacrifice.pays-in", Motif::Sacrifice, HintPart::Device, Motif::Sacrifice,
     [](X x, F) { return x.story.userMoves >= 2 && (WinsAPiece(x) || x.tactic.attackMates); },
     [](X x, F) {
         return "Жертва окупается: за " + std::to_string(x.story.userMoves) + " " + Plural(x.story.userMoves, "ход", "хода", "ходов")
             + (WinsAPiece(x) ? " вы выиграете " + std::string(Words(x.tactic.wonKind).acc) + " " + x.opp + "."
                              : " атака на короля " + x.opp + " станет неотразимой.");
     },
     nullptr},
};

// What the line wins, when it ends a clear piece up; and the general hints
// when the reading offered nothing.
const HintEntry kWonEntries[] = {
    {"material.combination", Motif::MaterialWin, HintPart::MaterialWon, Motif::None,
     [](X x, F) { return WinsAPiece(x) && x.story.userMoves >= 2; },  // one capture is no combination
     [](X x, F) { return "Комбинация выигрывает " + std::string(Words(x.tactic.wonKind).acc) + " " + x.opp + "."; }, nullptr},
    {"material.win", Motif::MaterialWin, HintPart::MaterialWon, Motif::None, [](X x, F) { return WinsAPiece(x); },
     [](X x, F) { return "Выиграйте " + std::string(Words(x.tactic.wonKind).acc) + " " + x.opp + "."; }, nullptr},
    {"material.doomed", Motif::MaterialWin, HintPart::MaterialWon, Motif::None,
     // Doomed where it stands: a piece that moved away and gave itself up was not.
     [](X x, F) { return WinsAPiece(x) && x.tactic.wonWhereItStood && Placed(x, x.tactic.wonPiece); },
     [](X x, F) {
         const PieceWords& w = Words(x.tactic.wonKind);
         return Capitalised(w.nom) + " " + x.opp + " на " + Name(x.tactic.wonPiece.start) + (w.feminine ? " обречена." : " обречен.");
     },
     nullptr},
    // The kind of ending, where the line's own idea would name the move.
    {"general.pawn-ending", Motif::None, HintPart::TacticGeneral, Motif::None, [](X x, F) { return PawnEnding(x.root); },
     [](X x, F) {
         const auto pawns = [&](bool white) { return std::to_string(x.root.Count(white)[Pawn]); };
         return "В пешечном эндшпиле (" + pawns(x.userWhite) + " против " + pawns(!x.userWhite)
             + ") решает каждый темп: найдите выигрыш за " + x.own + ".";
     },
     nullptr},
    {"general.ending-edge", Motif::None, HintPart::TacticGeneral, Motif::None,
     [](X x, F) { return !PawnEnding(x.root) && IsEndgame(x.root) && Balance(x.root, x.userWhite) >= 1; },
     [](X x, F) {
         return Balance(x.root, x.userWhite) == 1 ? "Лишнюю пешку " + x.own + " в эндшпиле надо реализовать точно: соперник ждет неосторожного хода."
                                                  : "Перевес " + x.own + " в эндшпиле надо реализовать точно: соперник ждет неосторожного хода.";
     },
     nullptr},
    {"general.strongest", Motif::None, HintPart::TacticGeneral, Motif::None, Always,
     [](X, F) { return std::string("Найдите сильнейшее продолжение."); }, nullptr},
    {"general.only-move", Motif::None, HintPart::TacticGeneral, Motif::None, Always,
     [](X x, F) { return "Только один ход сохраняет решающее преимущество " + x.own + ". Найдите его."; }, nullptr},
    {"general.only-way", Motif::None, HintPart::TacticGeneral, Motif::None, Always,
     [](X x, F) { return "У " + x.own + " есть выигрыш, но путь к нему единственный."; }, nullptr},
    {"general.calculate", Motif::None, HintPart::TacticGeneral, Motif::None, Always,
     [](X x, F) { return "Посчитайте варианты до конца: у " + x.own + " есть решающее продолжение."; }, nullptr},
    {"general.precision", Motif::None, HintPart::TacticGeneral, Motif::None, Always,
     [](X x, F) { return "Выигрыш требует точности: найдите лучший ход " + x.own + "."; }, nullptr},
};

// Strategy: what the first move does, in this order.
const PlanFacts& P(X x) { return x.plan; }
bool PawnPush(X x) { return P(x).type == Pawn && !x.first.capture; }
bool Lever(X x, F) { return PawnPush(x) && P(x).lever; }
bool PassedPush(X x, F) { return PawnPush(x) && !P(x).lever && P(x).passedAfter; }
bool SpacePush(X x, F) { return PawnPush(x) && !P(x).lever && !P(x).passedAfter && P(x).relTo >= 3 && !P(x).endgame; }
// A heavy piece goes to another file, without taking.
bool ToFile(X x) { return IsHeavy(P(x).type) && fullchess::FileOf(x.first.from) != fullchess::FileOf(x.first.to) && !x.first.capture; }
// A pawn of the user's (or the opponent's) on the file the move goes to.
bool PawnOnFile(X x, bool users) { return FileHasPawn(x.cut.positions[1], fullchess::FileOf(x.first.to), PawnOf(users == x.userWhite)); }
bool OpenFile(X x, F) { return ToFile(x) && !PawnOnFile(x, true) && !PawnOnFile(x, false); }
bool HalfOpenFile(X x, F) { return ToFile(x) && !PawnOnFile(x, true) && PawnOnFile(x, false); }
bool Seventh(X x, F) { return P(x).type == Rook && P(x).relTo == 6 && !x.first.capture; }
bool KingInEnding(X x, F) { return P(x).type == King && P(x).endgame; }
bool PieceQuiet(X x) { return !x.first.capture && IsPiece(P(x).type); }
bool Improves(X x, F)
{
    return PieceQuiet(x) && P(x).mobilityBefore <= 4 && P(x).mobilityAfter >= P(x).mobilityBefore + 4
        && MayNameKind(x.root, P(x).type);
}
// More squares for the piece, and no enemy piece hit: where the move attacks
// one, that attack is its point.
bool Activates(X x, F) { return PieceQuiet(x) && P(x).mobilityAfter >= P(x).mobilityBefore + 3 && P(x).hit < 0; }
// A trade that leaves the user better than before the line, by the engine.
bool TradeFavours(X x) { return P(x).scored && P(x).scoreAfter > P(x).scoreBefore && P(x).scoreAfter > 0; }
bool WinsPawn(X x, F) { return P(x).gain == 1 && !TakesTheKind(x.root, x.first, Pawn); }
bool EvenTrade(X x)
{
    return x.first.capture && IsPiece(P(x).type) && Value(x.root.At(x.first.to)) == Value(P(x).mover);
}
bool NearKing(X x, F)
{
    const int king = P(x).enemyKing;
    return P(x).kingAttack && king >= 0 && KingDistance(x.first.to, king) <= 2 && KingDistance(x.first.from, king) > 2;
}
bool Storm(X x, F)
{
    const int king = P(x).enemyKing;
    return PawnPush(x) && !P(x).endgame && king >= 0 && std::abs(fullchess::FileOf(x.first.to) - fullchess::FileOf(king)) <= 1
        && P(x).relTo >= 3;
}
bool PawnTrade(X x, F)
{
    return x.first.capture && P(x).type == Pawn && KindOf(x.root.At(x.first.to)) == Pawn
        && !FileHasPawn(x.cut.positions[1], fullchess::FileOf(x.first.from), PawnOf(x.userWhite));
}
std::string Wing(X x) { return WingPhrase(x.first.to); }
std::string Diagonal(X x) { return P(x).diagonalA1H8 ? "a1–h8" : "a8–h1"; }

const HintEntry kPlanEntries[] = {
    {"plan.lever", Motif::Plan, HintPart::Plan, Motif::None, Lever,
     [](X, F) { return std::string("Пешечный подрыв вскрывает игру."); }, LeverIsTheMove},
    {"plan.lever-chain", Motif::Plan, HintPart::Plan, Motif::None, Lever,
     [](X x, F) { return "Ищите подрыв пешечной цепи " + x.opp + "."; }, LeverIsTheMove},
    {"plan.lever-wing", Motif::Plan, HintPart::Plan, Motif::None, Lever,
     [](X x, F) { return "Подрыв " + Wing(x) + " открывает линии для ваших фигур. Вскрытие игры выгодно тому, чьи фигуры активнее."; },
     LeverWingIsTheMove},
    {"plan.passed-forward", Motif::Plan, HintPart::Plan, Motif::None, PassedPush,
     [](X, F) { return std::string("Проходные пешки должны двигаться вперед."); }, PassedPawnsAreTheMove},
    {"plan.passed-push", Motif::Plan, HintPart::Plan, Motif::None, PassedPush,
     [](X, F) { return std::string("Продвигайте проходную пешку: соперник будет вынужден держать фигуры на ее пути."); },
     PassedPawnsAreTheMove},
    {"plan.passed-wing", Motif::Plan, HintPart::Plan, Motif::None, PassedPush,
     [](X x, F) { return "Проходная пешка " + Wing(x) + " — главный козырь " + x.own + "."; }, WingPassedPawnsAreTheMove},
    {"plan.space", Motif::Plan, HintPart::Plan, Motif::None, SpacePush,
     [](X, F) { return std::string("Захватите пространство."); }, nullptr},
    {"plan.space-wing", Motif::Plan, HintPart::Plan, Motif::None, SpacePush,
     [](X x, F) { return "Продвижение пешки " + Wing(x) + " отнимает у фигур " + x.opp + " важные поля."; }, WingIsTheMove},
    {"plan.open-file", Motif::Plan, HintPart::Plan, Motif::None, OpenFile,
     [](X, F) { return std::string("Захватите открытую линию."); }, nullptr},
    {"plan.open-file-named", Motif::Plan, HintPart::Plan, Motif::None, OpenFile,
     [](X x, F) { return "Открытая линия «" + FileName(x.first.to) + "» — ключ к позиции. Займите ее первыми."; }, FileIsTheMove},
    {"plan.half-open-file", Motif::Plan, HintPart::Plan, Motif::None, HalfOpenFile,
     [](X, F) { return std::string("Займите полуоткрытую линию."); }, nullptr},
    {"plan.half-open-file-named", Motif::Plan, HintPart::Plan, Motif::None, HalfOpenFile,
     [](X x, F) { return "По полуоткрытой линии «" + FileName(x.first.to) + "» тяжелые фигуры давят на пешку " + x.opp + "."; },
     FileIsTheMove},
    {"plan.seventh", Motif::Plan, HintPart::Plan, Motif::None, Seventh,
     [](X, F) { return std::string("Ладья на седьмой горизонтали сковывает соперника."); }, SeventhIsTheMove},
    {"plan.seventh-invade", Motif::Plan, HintPart::Plan, Motif::None,
     [](X x, F f) { return Seventh(x, f) && RelativeRank(x.first.from, x.userWhite) != 6; },
     [](X, F) { return std::string("Вторгнитесь на седьмую горизонталь: там ладья нападает на пешки и стесняет короля."); },
     SeventhIsTheMove},
    {"plan.outpost", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).outpost; },
     [](X, F) { return std::string("Найдите форпост для коня."); }, nullptr},
    {"plan.outpost-knight", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).outpost; },
     [](X, F) { return std::string("Конь на форпосте, откуда его не прогнать пешкой, часто сильнее слона."); }, nullptr},
    {"plan.king-strong", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F f) { return KingInEnding(x, f) && P(x).kingToCentre; },
     [](X, F) { return std::string("В эндшпиле король — сильная фигура."); }, KingToCentreIsTheMove},
    {"plan.king-to-centre", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F f) { return KingInEnding(x, f) && P(x).kingToCentre; },
     [](X, F) { return std::string("Активный король в эндшпиле: ведите его ближе к центру и к пешкам."); }, KingToCentreIsTheMove},
    {"plan.king-guards", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F f) { return KingInEnding(x, f) && !P(x).kingToCentre; },
     [](X, F) { return std::string("Король в эндшпиле сам защищает и поддерживает пешки."); }, nullptr},
    {"plan.king-wing", Motif::Plan, HintPart::Plan, Motif::None, KingInEnding,
     [](X x, F) { return "В эндшпиле король " + x.own + " должен играть " + Wing(x) + "."; }, NamedPieceWingIsTheMove},
    {"plan.weak-pawn", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).weakPawn >= 0; },
     [](X, F) { return std::string("Атакуйте слабую пешку."); }, nullptr},
    {"plan.weak-pawn-named", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).weakPawn >= 0; },
     [](X x, F) {
         return std::string("Пешка ") + x.opp + " на " + Name(P(x).weakPawn)
             + (P(x).weakPawnNeighbour ? " плохо защищена" : " изолирована") + ": направьте на нее фигуры.";
     },
     nullptr},
    {"plan.restrict", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).restricted >= 0; },
     [](X x, F) { return "Ограничьте подвижность фигур " + x.opp + "."; }, nullptr},
    {"plan.restrict-piece", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).restricted >= 0; },
     [](X x, F) {
         const int sq = P(x).restricted;
         return "Лишите " + std::string(Words(KindOf(x.cut.positions[1].At(sq))).acc) + " " + x.opp + " на " + Name(sq) + " полезных ходов.";
     },
     nullptr},
    {"plan.queen-trade", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).queensTraded; },
     [](X, F) { return std::string("Размен ферзей ведет в выгодный эндшпиль."); }, nullptr},
    // «Меняйте ферзей» asks the user to trade: the first move is the queen's, taking the other or offering itself.
    {"plan.queen-trade-weaknesses", Motif::Plan, HintPart::Plan, Motif::None,
     [](X x, F) { return P(x).queensTraded && P(x).type == Queen; },
     [](X, F) { return std::string("Без ферзей слабости соперника станут заметнее. Меняйте ферзей."); }, nullptr},
    {"plan.trade", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return !P(x).queensTraded && EvenTrade(x); },
     [](X, F) { return std::string("Своевременный размен — тоже стратегия."); }, nullptr},
    {"plan.trade-simplifies", Motif::Plan, HintPart::Plan, Motif::None,
     [](X x, F) { return !P(x).queensTraded && EvenTrade(x) && TradeFavours(x); },
     [](X x, F) { return "Размен фигур упрощает позицию в пользу " + x.own + "."; }, nullptr},
    {"plan.attack-king", Motif::Plan, HintPart::Plan, Motif::None, NearKing,
     [](X, F) { return std::string("Подключите фигуры к атаке на короля."); }, nullptr},
    {"plan.attack-king-closer", Motif::Plan, HintPart::Plan, Motif::None, NearKing,
     [](X x, F) { return "Подтяните фигуры к королю " + x.opp + ": там каждая из них стоит больше."; }, nullptr},
    {"plan.storm", Motif::Plan, HintPart::Plan, Motif::None, Storm,
     [](X, F) { return std::string("Пешечный штурм открывает линии против короля."); }, nullptr},
    {"plan.storm-wing", Motif::Plan, HintPart::Plan, Motif::None, Storm,
     [](X x, F) { return "Двиньте пешки на фланге, где стоит король " + x.opp + ": штурм вскроет линии для ладей."; }, WingIsTheMove},
    {"plan.diagonal", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).diagonal; },
     [](X, F) { return std::string("Займите длинную диагональ."); }, nullptr},
    {"plan.diagonal-reach", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).diagonal; },
     [](X, F) { return std::string("С длинной диагонали фигура бьет через всю доску."); }, nullptr},
    {"plan.diagonal-named", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).diagonal; },
     [](X x, F) { return "Большая диагональ " + Diagonal(x) + " — ключ к позиции."; }, DiagonalIsTheMove},
    {"plan.diagonal-to-king", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).diagonal && P(x).diagonalToKing; },
     [](X x, F) { return "Большая диагональ " + Diagonal(x) + " ведет к королю " + x.opp + "."; }, DiagonalIsTheMove},
    {"plan.win-pawn", Motif::Plan, HintPart::Plan, Motif::None, WinsPawn,
     [](X, F) { return std::string("Выиграйте пешку."); }, nullptr},
    {"plan.win-material", Motif::Plan, HintPart::Plan, Motif::None,
     [](X x, F) { return P(x).gain > 1 && P(x).wonKind != fullchess::Empty && !TakesTheKind(x.root, x.first, P(x).wonKind); },
     [](X x, F) { return "Точная игра выигрывает " + std::string(Words(P(x).wonKind).acc) + " " + x.opp + "."; }, nullptr},
    {"plan.win-pawn-undefended", Motif::Plan, HintPart::Plan, Motif::None, WinsPawn,
     [](X, F) { return std::string("Соперник не успевает защитить пешку: заберите ее."); }, nullptr},
    {"plan.win-material-scattered", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).gain > 1; },
     [](X x, F) { return "Фигуры " + x.opp + " разобщены: точная игра выигрывает материал."; }, nullptr},
    {"plan.win-piece-named", Motif::Plan, HintPart::Plan, Motif::None,
     [](X x, F) { return P(x).gain >= 1 && Placed(x, P(x).taken) && P(x).taken.kind != King; },
     [](X x, F) {
         const PieceWords& w = Words(P(x).taken.kind);
         return Capitalised(w.nom) + " " + x.opp + " на " + Name(P(x).taken.start)
             + (w.feminine ? " плохо защищена: она не удержится." : " плохо защищен: он не удержится.");
     },
     nullptr},
    {"plan.worst-piece", Motif::Plan, HintPart::Plan, Motif::None, Improves,
     [](X, F) { return std::string("Улучшите положение худшей фигуры."); }, nullptr},
    {"plan.worst-piece-named", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F f) { return Improves(x, f) && P(x).mobilityBefore >= 3; },
     [](X x, F) {
         const PieceWords& w = Words(P(x).type);
         return Capitalised(w.nom) + " на " + Name(x.first.from) + (w.feminine ? " стоит пассивно: найдите ей" : " стоит пассивно: найдите ему")
             + " поле, где " + (w.feminine ? "она" : "он") + " будет работать.";
     },
     nullptr},
    {"plan.activate", Motif::Plan, HintPart::PlanGeneral, Motif::None, Activates,
     [](X, F) { return std::string("Активизируйте фигуры."); }, nullptr},
    {"plan.activate-wing", Motif::Plan, HintPart::Plan, Motif::None, Activates,
     [](X x, F) { return "Активизируйте " + std::string(Words(P(x).type).acc) + " " + Wing(x) + "."; }, NamedPieceWingIsTheMove},
    {"plan.majority", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).majority; },
     [](X, F) { return std::string("Двигайте пешечное большинство."); }, nullptr},
    {"plan.majority-wing", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).majority; },
     [](X x, F) { return "Пешечное большинство " + Wing(x) + " должно дать проходную."; }, WingIsTheMove},
    {"plan.majority-future", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).majority; },
     [](X x, F) { return "Пешечное большинство " + x.own + " " + Wing(x) + " — залог будущей проходной."; }, WingIsTheMove},
    {"plan.battery", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).battery; },
     [](X, F) { return std::string("Сдвойте тяжелые фигуры."); }, BatteryIsTheMove},
    {"plan.battery-file", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).battery; },
     [](X x, F) { return "Сдвоение тяжелых фигур по линии «" + FileName(x.first.to) + "» усиливает давление."; },
     [](const Position& root, const Move& first) { return FileIsTheMove(root, first) || BatteryIsTheMove(root, first); }},
    {"plan.hit", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).hit >= 0; },
     [](X x, F) { return "Выиграйте темп нападением на " + std::string(Words(KindOf(x.root.At(P(x).hit))).acc) + " " + x.opp + "."; },
     HitIsTheMove},
    {"plan.hit-on", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).hit >= 0 && P(x).hit != x.first.to; },
     [](X x, F) {
         const PieceWords& w = Words(KindOf(x.root.At(P(x).hit)));
         return Capitalised(w.nom) + " " + x.opp + " на " + Name(P(x).hit) + (w.feminine ? " стоит неудачно: нападите на нее." : " стоит неудачно: нападите на него.");
     },
     HitIsTheMove},
    {"plan.blockade", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).blockade >= 0; },
     [](X, F) { return std::string("Блокируйте проходную пешку соперника."); }, nullptr},
    {"plan.blockade-named", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).blockade >= 0; },
     [](X x, F) { return "Проходную пешку " + x.opp + " на " + Name(P(x).blockade) + " надо остановить: поставьте перед ней фигуру."; },
     nullptr},
    {"plan.rook-behind", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).rookBehindPassed; },
     [](X, F) { return std::string("Ладья должна стоять позади проходной пешки."); }, RookFileIsTheMove},
    {"plan.rook-behind-file", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).rookBehindPassed; },
     [](X x, F) { return "Поддержите проходную пешку по линии «" + FileName(x.first.to) + "» ладьей сзади."; }, RookFileIsTheMove},
    {"plan.pawn-trade", Motif::Plan, HintPart::Plan, Motif::None, PawnTrade,
     [](X, F) { return std::string("Размен пешек вскрывает игру."); }, nullptr},
    {"plan.pawn-trade-file", Motif::Plan, HintPart::Plan, Motif::None, PawnTrade,
     [](X x, F) { return "Размен пешек открывает линию «" + FileName(x.first.from) + "» для ваших фигур."; }, nullptr},
    {"plan.king-safety", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).kingOffLine; },
     [](X, F) { return std::string("Прежде чем действовать, уведите короля с линий, нацеленных на него."); }, KingOffLineIsTheMove},
    {"plan.king-safety-named", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return P(x).kingOffLine; },
     [](X x, F) { return "Король " + x.own + " на " + Name(x.first.from) + " стоит под прицелом дальнобойных фигур " + x.opp + ": обезопасьте его."; },
     KingOffLineIsTheMove},
    {"plan.rook-lift", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return !P(x).endgame && RookLift(x.root, x.first); },
     [](X, F) { return std::string("Поднимите ладью: по третьей или четвертой горизонтали она быстрее придет туда, где идет борьба."); },
     RookLiftIsTheMove},
    {"plan.knight-centre", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return KnightToCentre(x.root, x.first); },
     [](X x, F) { return "Конь " + x.own + " сильнее всего в центре доски: найдите ему там место."; }, KnightToCentreIsTheMove},
    {"plan.rim-knight", Motif::Plan, HintPart::Plan, Motif::None, [](X x, F) { return KnightOffTheRim(x.root, x.first); },
     [](X x, F) { return "Конь " + x.own + " на краю доски стоит плохо: переведите его ближе к центру."; }, KnightOffTheRimIsTheMove},
    {"plan.best-move", Motif::Plan, HintPart::PlanGeneral, Motif::None, Always,
     [](X, F) { return std::string("Найдите позиционно сильнейший ход."); }, nullptr},
    {"plan.only-move", Motif::Plan, HintPart::PlanGeneral, Motif::None, Always,
     [](X, F) { return std::string("Все ходы, кроме одного, ухудшают позицию. Найдите этот ход."); }, nullptr},
};

std::vector<HintEntry> MakeCatalogue()
{
    std::vector<HintEntry> all;
    for (const auto& part : {std::span<const HintEntry>(kDrawEntries), std::span<const HintEntry>(kMateEntries),
                             std::span<const HintEntry>(kWinEntries), std::span<const HintEntry>(kKingEntries),
                             std::span<const HintEntry>(kDeviceEntries), std::span<const HintEntry>(kWonEntries),
                             std::span<const HintEntry>(kPlanEntries)})
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

const std::vector<HintEntry>& HintCatalogue()
{
    static const std::vector<HintEntry> catalogue = MakeCatalogue();
    return catalogue;
}

const HintEntry* FindHintEntry(std::string_view name)
{
    const auto& all = HintCatalogue();
    const auto it = std::find_if(all.begin(), all.end(), [&](const HintEntry& e) { return name == e.name; });
    return it == all.end() ? nullptr : &*it;
}

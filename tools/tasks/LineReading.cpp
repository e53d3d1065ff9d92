#include "LineReading.h"

#include "Rules.h"

#include <algorithm>

using fullchess::Bishop;
using fullchess::King;
using fullchess::Knight;
using fullchess::Move;
using fullchess::Pawn;
using fullchess::Position;
using fullchess::Queen;
using fullchess::Rook;
using namespace facts;

int Replayed::UserTakes(std::size_t from, int start) const
{
    if (start < 0)
        return -1;
    const std::size_t end = std::min(moves.size(), static_cast<std::size_t>(lineMoves) + 2);
    for (std::size_t ply = from; ply < end; ply += 1)
        if (IsUser(ply) && moves[ply].capture && Origin(ply, moves[ply].to) == start)
            return static_cast<int>(ply);
    return -1;
}

namespace {

std::vector<std::string> MovesToReplay(const Candidate& c, int tokens, int extra)
{
    const auto lineEnd = c.line.moves.begin() + static_cast<long>(std::min<std::size_t>(static_cast<std::size_t>(tokens), c.line.moves.size()));
    std::vector<std::string> all(c.line.moves.begin(), lineEnd);
    std::vector<std::string> rest(lineEnd, c.line.moves.end());
    rest.insert(rest.end(), c.line.continuation.begin(), c.line.continuation.end());
    if (static_cast<int>(rest.size()) > extra)
        rest.resize(static_cast<std::size_t>(extra));
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

} // namespace

Replayed ReplayCandidate(const Candidate& c, int tokens, int extra)
{
    Replayed r;
    auto root = Position::FromFen(c.fen);
    if (!root)
        return r;
    r.userWhite = root->WhiteToMove();
    r.lineMoves = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(tokens), c.line.moves.size()));
    Position p = *root;
    std::array<int, 64> origin{};
    for (int sq = 0; sq < 64; ++sq)
        origin[static_cast<std::size_t>(sq)] = p.At(sq) != 0 ? sq : -1;
    r.positions.push_back(p);
    r.origin.push_back(origin);
    for (const std::string& text : MovesToReplay(c, tokens, extra)) {
        const auto m = p.ParseUci(text);
        if (!m)
            break;
        r.moves.push_back(*m);
        origin[static_cast<std::size_t>(m->to)] = origin[static_cast<std::size_t>(m->from)];
        origin[static_cast<std::size_t>(m->from)] = -1;
        p.Play(*m);
        r.positions.push_back(p);
        r.origin.push_back(origin);
        if (p.LegalMoves().empty())
            break;
    }
    r.lineMoves = std::min<int>(r.lineMoves, static_cast<int>(r.moves.size()));
    return r;
}

namespace {

bool IsLinePiece(int8_t piece)
{
    const auto type = KindOf(piece);
    return type == Bishop || type == Rook || type == Queen;
}

// One user move of the line with what surrounds it.
struct UserMove {
    const Replayed& line;
    std::size_t ply;
    const Position& before;
    const Position& after;
    const Move& move;
    int8_t mover;
    PieceRef moverRef;
    bool white;
    int index;         // of the user move in the line
    int startBalance;  // the user's material edge at the start

    bool HasReply() const { return ply + 1 < line.moves.size(); }
    bool HasNext() const { return ply + 2 < line.moves.size(); }
    bool NextInLine() const { return ply + 2 < static_cast<std::size_t>(line.lineMoves); }
    // The enemy piece on `sq` after this move, by its start square.
    int OriginAfter(int sq) const { return line.Origin(ply + 1, sq); }
    PieceRef RefAfter(int sq) const { return line.Ref(ply + 1, sq); }
    void Add(std::vector<Found>& found, Motif motif, PieceRef enemy = {}, PieceRef enemy2 = {}) const
    {
        found.push_back({motif, index, moverRef, enemy, enemy2});
    }
};

// Whether the user move at ply i is followed, while the line and its
// continuation last, by a gain: the piece that started on `start` taken, or a
// mate.
bool Pays(const Replayed& r, std::size_t ply, int start)
{
    if (r.UserTakes(ply + 1, start) >= 0)
        return true;
    const Position& last = r.positions[static_cast<std::size_t>(r.lineMoves)];
    return last.IsCheckmate() && last.WhiteToMove() != r.userWhite;
}

// A user move of the line that takes something or checks (or mates).
bool LeadsOn(const Replayed& r, std::size_t ply)
{
    if (ply >= static_cast<std::size_t>(r.lineMoves))
        return false;
    return r.moves[ply].capture || r.positions[ply + 1].InCheck();
}

bool Contains(const std::vector<int>& squares, int sq) { return std::find(squares.begin(), squares.end(), sq) != squares.end(); }

void Checks(const UserMove& u, std::vector<Found>& found)
{
    const int king = KingOf(u.after, !u.white);
    if (!u.after.InCheck() || king < 0)
        return;
    const auto checkers = Attackers(u.after, king, u.white);
    if (checkers.size() >= 2)
        u.Add(found, Motif::DoubleCheck);
    else if (!checkers.empty() && checkers.front() != u.move.to)
        u.Add(found, Motif::DiscoveredCheck);
}

// A line piece of the user's that the move uncovers hits a piece worth at
// least a minor one, which then falls.
void DiscoveredAttack(const UserMove& u, std::vector<Found>& found)
{
    const Position& a = u.after;
    for (int sq = 0; sq < 64; ++sq) {
        if (sq == u.move.to || !Own(a.At(sq), u.white) || !IsLinePiece(a.At(sq)))
            continue;
        for (int target : AttacksFrom(a, sq)) {
            const int8_t piece = a.At(target);
            if (!Enemy(piece, u.white) || KindOf(piece) == King || Value(piece) < 3 || AttacksSquare(u.before, sq, target))
                continue;
            if (!Contains(Between(sq, target), u.move.from))
                continue;
            if ((Value(piece) > Value(a.At(sq)) || !Defended(a, target)) && Pays(u.line, u.ply, u.OriginAfter(target)))
                u.Add(found, Motif::DiscoveredAttack, u.RefAfter(target));
        }
    }
}

// The moved piece hits two things at once and one of them falls.
void Fork(const UserMove& u, std::vector<Found>& found)
{
    const Position& a = u.after;
    std::vector<int> targets;
    for (int t : AttacksFrom(a, u.move.to)) {
        const int8_t target = a.At(t);
        if (Enemy(target, u.white)
            && (KindOf(target) == King || Value(target) > Value(u.mover) || (Value(target) >= 3 && !Defended(a, t))))
            targets.push_back(t);
    }
    if (targets.size() < 2)
        return;
    std::sort(targets.begin(), targets.end(), [&](int x, int y) { return Value(a.At(x)) > Value(a.At(y)); });
    // The forking piece must survive the reply: taken at once, it was a
    // sacrifice, not a fork.
    if (u.HasReply() && u.line.moves[u.ply + 1].to == u.move.to)
        return;
    const bool falls = std::any_of(targets.begin(), targets.end(), [&](int t) {
        return KindOf(a.At(t)) != King && u.line.UserTakes(u.ply + 1, u.OriginAfter(t)) >= 0;
    });
    if (falls)
        u.Add(found, Motif::Fork, u.RefAfter(targets[0]), u.RefAfter(targets[1]));
}

// A pin made by this move, or a piece pinned to its king attacked; the
// pinned piece is then won.
void Pin(const UserMove& u, std::vector<Found>& found)
{
    const Position& a = u.after;
    if (IsLinePiece(u.mover))
        for (const facts::Pin& pin : PinsBy(a, u.move.to)) {
            const int start = u.OriginAfter(pin.pinned);
            if (Value(a.At(pin.pinned)) >= 3 && Pays(u.line, u.ply, start) && u.line.UserTakes(u.ply + 1, start) >= 0)
                u.Add(found, Motif::Pin, u.RefAfter(pin.pinned), u.RefAfter(pin.behind));
        }
    for (int t : AttacksFrom(a, u.move.to))
        if (Enemy(a.At(t), u.white) && KindOf(a.At(t)) != King && Value(a.At(t)) > Value(u.mover) && PinnedToKing(a, t)
            && u.line.UserTakes(u.ply + 1, u.OriginAfter(t)) >= 0)
            u.Add(found, Motif::Pin, u.RefAfter(t), u.RefAfter(KingOf(a, !u.white)));
}

// Whether the piece on `from` can step to safety with `escape`: nothing
// takes it there, or only something worth as much where it is defended, or
// it takes a piece worth as much (a trade, not a loss).
bool SafeEscape(const Position& a, const Move& escape, bool white)
{
    const int8_t piece = a.At(escape.from);
    const Position after = a.After(escape);
    const auto attackers = Attackers(after, escape.to, white);
    if (attackers.empty() || Value(a.At(escape.to)) >= Value(piece))
        return true;
    int cheapest = 1000;
    for (int sq : attackers)
        cheapest = std::min(cheapest, Value(after.At(sq)));
    return cheapest >= Value(piece) && Defended(after, escape.to);
}

// An attacked piece with nowhere to go is won. A piece pinned to its king
// has nowhere to go because of the pin, which is another device.
void Trap(const UserMove& u, std::vector<Found>& found)
{
    const Position& a = u.after;
    if (a.InCheck())
        return;
    const auto legal = a.LegalMoves();
    for (int t : AttacksFrom(a, u.move.to)) {
        const int8_t target = a.At(t);
        if (!Enemy(target, u.white) || Value(target) < 3 || KindOf(target) == King || AttacksSquare(u.before, u.move.from, t)
            || PinnedToKing(a, t))
            continue;
        const bool escapes = std::any_of(legal.begin(), legal.end(),
                                         [&](const Move& e) { return e.from == t && SafeEscape(a, e, u.white); });
        if (!escapes && u.line.UserTakes(u.ply + 1, u.OriginAfter(t)) >= 0)
            u.Add(found, Motif::Trap, u.RefAfter(t));
    }
}

// The moved piece cuts an enemy line, and the square it guarded is taken or
// mated on next.
void Interference(const UserMove& u, std::vector<Found>& found)
{
    if (u.move.capture || !u.HasNext())
        return;
    const Move& next = u.line.moves[u.ply + 2];
    const Position& later = u.line.positions[u.ply + 2];
    for (int sq = 0; sq < 64; ++sq) {
        if (!Enemy(u.before.At(sq), u.white) || !IsLinePiece(u.before.At(sq)))
            continue;
        for (int guarded : AttacksFrom(u.before, sq))
            if (Contains(Between(sq, guarded), u.move.to) && next.to == guarded && LeadsOn(u.line, u.ply + 2)
                && !AttacksSquare(later, sq, guarded) && later.At(sq) == u.before.At(sq))
                found.push_back({Motif::Interference, u.index, u.moverRef, u.line.Ref(u.ply, sq), {}});
    }
}

// Take the piece that guards the square the next move strikes.
void RemovalOfDefender(const UserMove& u, std::vector<Found>& found)
{
    if (!u.move.capture || !u.HasNext())
        return;
    const Move& next = u.line.moves[u.ply + 2];
    const bool guarded = AttacksSquare(u.before, u.move.to, next.to) && next.to != u.move.to;
    const bool stood = Enemy(u.before.At(next.to), u.white) && u.line.Origin(u.ply + 2, next.to) == u.line.Origin(u.ply, next.to);
    const bool mates = u.line.positions[u.ply + 3].IsCheckmate();
    if (guarded && (stood || mates) && LeadsOn(u.line, u.ply + 2) && u.line.positions[u.ply + 2].At(u.move.to) != u.before.At(u.move.to))
        found.push_back({Motif::RemovalOfDefender, u.index, u.moverRef, u.line.Ref(u.ply, u.move.to), {}});
}

// A forcing move empties a square or a line for another piece.
void Clearance(const UserMove& u, std::vector<Found>& found)
{
    if (!u.HasNext() || !(u.after.InCheck() || u.move.capture))
        return;
    const Move& next = u.line.moves[u.ply + 2];
    const int other = u.line.Origin(u.ply + 2, next.from);
    const bool through = Contains(Between(next.from, next.to), u.move.from);
    if (other != u.moverRef.start && (next.to == u.move.from || through) && LeadsOn(u.line, u.ply + 2))
        found.push_back({Motif::Clearance, u.index, u.moverRef, {}, {}, through});
}

// The reply takes, and the user is two points down on the move and on the start.
void Sacrifice(const UserMove& u, std::vector<Found>& found)
{
    if (!u.HasReply())
        return;
    const Move& reply = u.line.moves[u.ply + 1];
    const int after = Balance(u.line.positions[u.ply + 2], u.white);
    if (reply.capture && after <= Balance(u.before, u.white) - 2 && after <= u.startBalance - 2)
        found.push_back({Motif::Sacrifice, u.index, u.line.Ref(u.ply + 1, reply.to), {}, {}});
}

// A pawn given up to a pawn so that another one runs through.
void Breakthrough(const UserMove& u, std::vector<Found>& found)
{
    if (!u.HasReply())
        return;
    const Move& reply = u.line.moves[u.ply + 1];
    if (KindOf(u.mover) == Pawn && reply.capture && reply.to == u.move.to && KindOf(u.after.At(reply.from)) == Pawn)
        found.push_back({Motif::Breakthrough, u.index, u.moverRef, {}, {}});
}

// The reply's piece leaves a square it guarded, and the next user move
// strikes there: deflection, or overload when the reply only took back.
void DeflectionOrOverload(const UserMove& u, std::vector<Found>& found)
{
    if (!u.NextInLine())
        return;
    const Move& reply = u.line.moves[u.ply + 1];
    const Move& next = u.line.moves[u.ply + 2];
    const Position& replied = u.line.positions[u.ply + 2];
    const Position& struck = u.line.positions[u.ply + 3];
    const auto defender = KindOf(u.after.At(reply.from));
    const bool gains = next.capture || struck.IsCheckmate() || (struck.InCheck() && Pays(u.line, u.ply + 2, -1));
    if (defender == King || defender == fullchess::Empty || next.to == reply.to || !LeadsOn(u.line, u.ply + 2)
        || !AttacksSquare(u.after, reply.from, next.to) || AttacksSquare(replied, reply.to, next.to) || !gains)
        return;
    const bool evenTrade = u.move.capture && reply.capture && reply.to == u.move.to && Value(u.before.At(u.move.to)) >= Value(u.mover);
    found.push_back({evenTrade ? Motif::Overload : Motif::Deflection, u.index, u.moverRef, u.line.Ref(u.ply + 1, reply.from), {}});
}

// A piece given where it is taken, and the taker is then checked to a gain
// or struck and won.
void Decoy(const UserMove& u, std::vector<Found>& found)
{
    if (!u.NextInLine())
        return;
    const Move& reply = u.line.moves[u.ply + 1];
    if (!reply.capture || reply.to != u.move.to || KindOf(u.mover) == Pawn)
        return;
    const Move& next = u.line.moves[u.ply + 2];
    const Position& replied = u.line.positions[u.ply + 2];
    const Position& struck = u.line.positions[u.ply + 3];
    const int8_t lured = replied.At(u.move.to);
    const bool checked = KindOf(lured) == King && struck.InCheck();
    const bool hit = KindOf(lured) != King && AttacksSquare(struck, next.to, u.move.to)
        && u.line.UserTakes(u.ply + 2, u.line.Origin(u.ply + 2, u.move.to)) >= 0;
    const bool pays = Pays(u.line, u.ply + 2, -1) || Balance(u.line.positions.back(), u.white) - u.startBalance >= kMaterialPoint;
    if ((checked && pays) || hit)
        found.push_back({Motif::Decoy, u.index, u.moverRef, u.line.Ref(u.ply + 2, u.move.to), {}});
}

// A check in between, before taking back, and the taker falls after it.
void Intermezzo(const UserMove& u, std::vector<Found>& found)
{
    if (!u.NextInLine())
        return;
    const Move& reply = u.line.moves[u.ply + 1];
    const Move& next = u.line.moves[u.ply + 2];
    if (!reply.capture || next.capture || !u.line.positions[u.ply + 3].InCheck() || next.to == reply.to)
        return;
    if (u.line.UserTakes(u.ply + 3, u.line.Origin(u.ply + 2, reply.to)) >= 0)
        found.push_back({Motif::Intermezzo, u.index + 1, u.line.Ref(u.ply + 2, next.from), u.line.Ref(u.ply + 2, reply.to), {}});
}

using Detector = void (*)(const UserMove&, std::vector<Found>&);

// In this order for every user move of the line.
constexpr Detector kDetectors[] = {
    Checks,    DiscoveredAttack, Fork,         Pin,      Trap,   Interference, RemovalOfDefender,
    Clearance, Sacrifice,        Breakthrough, DeflectionOrOverload, Decoy, Intermezzo,
};

} // namespace

std::vector<Found> FindMotifs(const Replayed& r)
{
    std::vector<Found> found;
    const int startBalance = Balance(r.positions[0], r.userWhite);
    for (std::size_t ply = 0; ply < static_cast<std::size_t>(r.lineMoves); ply += 2) {
        const Move& m = r.moves[ply];
        const UserMove u{r, ply, r.positions[ply], r.positions[ply + 1], m, r.positions[ply].At(m.from), r.Ref(ply, m.from),
                         r.userWhite, static_cast<int>(ply / 2), startBalance};
        for (Detector detect : kDetectors)
            detect(u, found);
    }
    return found;
}

namespace {

// The mate at the end of the line: by which piece, on the back rank,
// smothered.
void ReadMate(const Replayed& r, LineStory& story)
{
    if (!story.mates || r.lineMoves == 0)
        return;
    const std::size_t last = static_cast<std::size_t>(r.lineMoves - 1);
    const Position& end = r.positions[last + 1];
    const int to = r.moves[last].to;
    story.matingKind = KindOf(end.At(to));
    const int king = KingOf(end, !r.userWhite);
    const int home = r.userWhite ? 7 : 0;
    story.backRank = (story.matingKind == Rook || story.matingKind == Queen) && fullchess::RankOf(king) == home
        && fullchess::RankOf(to) == home;
    if (story.matingKind == Knight) {
        const auto around = AttacksFrom(end, king);
        story.smothered = std::all_of(around.begin(), around.end(), [&](int sq) { return Own(end.At(sq), !r.userWhite); });
    }
}

// A pawn that cannot be stopped: the engine's continuation queens it, and
// the line ends with the user a decisive edge up.
void ReadPromotion(const Replayed& r, LineStory& story)
{
    if (story.end != LineEnd::DecisiveEdge && story.end != LineEnd::MaterialWon)
        return;
    const std::size_t lineEnd = static_cast<std::size_t>(r.lineMoves);
    for (std::size_t ply = lineEnd; ply < r.moves.size() && ply < lineEnd + 12; ++ply) {
        if (!Replayed::IsUser(ply) || !r.moves[ply].promotion)
            continue;
        // The pawn that queens, where it stood when the line ended.
        const int start = r.Origin(ply, r.moves[ply].from);
        for (int sq = 0; sq < 64; ++sq) {
            if (start < 0 || r.Origin(lineEnd, sq) != start || !PassedPawn(r.positions[lineEnd], sq)
                || RelativeRank(sq, r.userWhite) < 4)
                continue;
            story.promotes = true;
            story.promoterStart = start;
            for (std::size_t j = 0; j <= ply; ++j)
                story.promoterCaptures = story.promoterCaptures || (r.moves[j].capture && r.Origin(j, r.moves[j].from) == start);
        }
    }
}

// The user's king walks; the user pushes a passed pawn (a push, not a
// capture that leaves a passed pawn behind).
void ReadMarches(const Replayed& r, LineStory& story)
{
    for (std::size_t ply = 0; ply < static_cast<std::size_t>(r.lineMoves); ply += 2) {
        const auto mover = KindOf(r.positions[ply].At(r.moves[ply].from));
        story.kingMarches = story.kingMarches || mover == King;
        story.pushesPassed = story.pushesPassed
            || (mover == Pawn && !r.moves[ply].capture && PassedPawn(r.positions[ply + 1], r.moves[ply].to));
    }
}

} // namespace

LineStory ReadStory(const Candidate& c, int tokens)
{
    LineStory story;
    const auto root = Position::FromFen(c.fen);
    if (!root || tokens < 1 || static_cast<std::size_t>(tokens) > c.line.moves.size())
        return story;
    const Replayed r = ReplayCandidate(c, tokens, 16);
    // A line without the engine's scores is read from the board alone, its
    // end as if the score were decisive (as verify judges without an engine).
    const auto last = static_cast<std::size_t>((tokens - 1) / 2);
    const Score after = last < c.line.steps.size() ? c.line.steps[last].after : Score::Cp(kDecisiveCp);
    const LineBoard board = ReplayLine(*root, c.line.moves, tokens);
    story.end = JudgeEnd(c.kind, board, after);
    story.userMoves = (tokens + 1) / 2;
    story.mates = board.mate;
    story.stalemate = story.end == LineEnd::Stalemate;
    story.perpetual = story.end == LineEnd::Perpetual;
    ReadMate(r, story);
    story.found = FindMotifs(r);
    for (const Found& f : story.found) {
        story.motifs.push_back(f.motif);
        story.sacrifice = story.sacrifice || f.motif == Motif::Sacrifice;
    }
    ReadPromotion(r, story);
    ReadMarches(r, story);
    return story;
}

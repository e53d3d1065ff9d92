#include "Hints.h"

#include "BoardFacts.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <set>

using fullchess::Move;
using fullchess::Position;
using namespace facts;

namespace {

// Russian names of the pieces by case; the kind letters are those of FEN.
struct PieceWords {
    const char* nom;
    const char* gen;
    const char* dat;
    const char* acc;
    const char* ins;
    bool feminine;
};

const PieceWords& Words(char kind)
{
    static const std::map<char, PieceWords> words = {
        {'p', {"пешка", "пешки", "пешке", "пешку", "пешкой", true}},
        {'n', {"конь", "коня", "коню", "коня", "конем", false}},
        {'b', {"слон", "слона", "слону", "слона", "слоном", false}},
        {'r', {"ладья", "ладьи", "ладье", "ладью", "ладьей", true}},
        {'q', {"ферзь", "ферзя", "ферзю", "ферзя", "ферзем", false}},
        {'k', {"король", "короля", "королю", "короля", "королем", false}},
    };
    auto it = words.find(kind);
    return it == words.end() ? words.at('p') : it->second;
}

// The first letter in upper case (Cyrillic а–я and ASCII).
std::string Capitalised(const std::string& word)
{
    std::string out = word;
    if (out.size() >= 2 && static_cast<unsigned char>(out[0]) == 0xD0 && static_cast<unsigned char>(out[1]) >= 0xB0
        && static_cast<unsigned char>(out[1]) <= 0xBF) {
        out[1] = static_cast<char>(static_cast<unsigned char>(out[1]) - 0x20);
    } else if (out.size() >= 2 && static_cast<unsigned char>(out[0]) == 0xD1 && static_cast<unsigned char>(out[1]) >= 0x80
               && static_cast<unsigned char>(out[1]) <= 0x8F) {
        out[0] = static_cast<char>(0xD0);
        out[1] = static_cast<char>(static_cast<unsigned char>(out[1]) + 0x20);
    } else if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') {
        out[0] = static_cast<char>(out[0] - 'a' + 'A');
    }
    return out;
}

std::string SideGen(bool white) { return white ? "белых" : "черных"; }

std::string Plural(int n, const char* one, const char* few, const char* many)
{
    const int mod100 = n % 100, mod10 = n % 10;
    if (mod100 >= 11 && mod100 <= 14)
        return many;
    if (mod10 == 1)
        return one;
    if (mod10 >= 2 && mod10 <= 4)
        return few;
    return many;
}

std::string InMoves(int n)
{
    if (n == 1)
        return "в один ход";
    return "в " + std::to_string(n) + " " + Plural(n, "ход", "хода", "ходов");
}

// A piece as the story remembers it: its kind and where it stood at the start
// (-1 when it was not there from the start).
struct PieceRef {
    char kind = ' ';
    int start = -1;
};

struct Found {
    Motif motif = Motif::None;
    int move = 0;            // index of the user move in the line
    PieceRef user;           // the user's piece that does it
    PieceRef enemy, enemy2;  // the enemy pieces it is aimed at
    bool alongLine = false;  // a clearance of a line rather than of a square
};

// The line and its continuation replayed once, with every piece traced back
// to its square at the start.
struct Replayed {
    std::vector<Position> positions;  // before each move; one more than moves
    std::vector<Move> moves;
    std::vector<std::array<int, 64>> origin;  // per position: start square of each piece, -1 if none
    int lineMoves = 0;                        // how many of the moves belong to the line
    bool userWhite = true;

    bool IsUser(std::size_t i) const { return i % 2 == 0; }
    PieceRef Ref(std::size_t ply, int sq) const
    {
        return {Kind(positions[ply].At(sq)), origin[ply][static_cast<std::size_t>(sq)]};
    }
    // The first user move from `from` on that takes the piece that started on
    // `start`: in the line, or the first move after it.
    int UserTakes(std::size_t from, int start) const
    {
        if (start < 0)
            return -1;
        const std::size_t end = std::min(moves.size(), static_cast<std::size_t>(lineMoves) + 2);
        for (std::size_t j = from; j < end; j += 1)
            if (IsUser(j) && moves[j].capture && origin[j][static_cast<std::size_t>(moves[j].to)] == start)
                return static_cast<int>(j);
        return -1;
    }
};

Replayed Replay(const Candidate& c, int tokens, int extra)
{
    Replayed r;
    auto root = Position::FromFen(c.fen);
    if (!root)
        return r;
    r.userWhite = root->WhiteToMove();
    std::vector<std::string> all(c.line.moves.begin(), c.line.moves.begin() + std::min<std::size_t>(tokens, c.line.moves.size()));
    std::vector<std::string> rest(c.line.moves.begin() + static_cast<long>(all.size()), c.line.moves.end());
    rest.insert(rest.end(), c.line.continuation.begin(), c.line.continuation.end());
    if (static_cast<int>(rest.size()) > extra)
        rest.resize(static_cast<std::size_t>(extra));
    r.lineMoves = static_cast<int>(all.size());
    all.insert(all.end(), rest.begin(), rest.end());
    Position p = *root;
    std::array<int, 64> origin{};
    for (int sq = 0; sq < 64; ++sq)
        origin[static_cast<std::size_t>(sq)] = p.At(sq) != 0 ? sq : -1;
    r.positions.push_back(p);
    r.origin.push_back(origin);
    for (const std::string& text : all) {
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

int Balance(const Position& p, bool white) { return Material(p, white) - Material(p, !white); }

bool Defended(const Position& p, int sq)
{
    const int8_t piece = p.At(sq);
    return piece != 0 && !Attackers(p, sq, piece > 0).empty();
}

// Whether the user move at ply i is followed, while the line and its
// continuation last, by a gain: the piece that started on `start` taken, or a
// mate.
bool Pays(const Replayed& r, std::size_t i, int start)
{
    if (r.UserTakes(i + 1, start) >= 0)
        return true;
    const Position& last = r.positions[static_cast<std::size_t>(r.lineMoves)];
    return last.IsCheckmate() && last.WhiteToMove() != r.userWhite;
}

bool LeadsOn(const Replayed& r, std::size_t j)
{
    // A user move of the line that takes something or mates or checks.
    if (j >= static_cast<std::size_t>(r.lineMoves))
        return false;
    return r.moves[j].capture || r.positions[j + 1].InCheck();
}

std::vector<Found> FindMotifs(const Replayed& r)
{
    std::vector<Found> found;
    const bool W = r.userWhite;
    const int startBalance = Balance(r.positions[0], W);
    for (std::size_t i = 0; i < static_cast<std::size_t>(r.lineMoves); i += 2) {
        const Position& B = r.positions[i];
        const Position& A = r.positions[i + 1];
        const Move& m = r.moves[i];
        const int8_t mover = B.At(m.from);
        const PieceRef moverRef = r.Ref(i, m.from);
        const int king = KingOf(A, !W);
        const int userMove = static_cast<int>(i / 2);
        auto add = [&](Motif motif, PieceRef enemy = {}, PieceRef enemy2 = {}) {
            found.push_back({motif, userMove, moverRef, enemy, enemy2});
        };

        // Checks: double and discovered.
        if (A.InCheck() && king >= 0) {
            const auto checkers = Attackers(A, king, W);
            if (checkers.size() >= 2)
                add(Motif::DoubleCheck);
            else if (!checkers.empty() && checkers.front() != m.to)
                add(Motif::DiscoveredCheck);
        }
        // Discovered attack on a piece.
        for (int sq = 0; sq < 64; ++sq) {
            const int type = std::abs(A.At(sq));
            if (sq == m.to || !Own(A.At(sq), W) || type < 3 || type > 5)
                continue;
            for (int t : AttacksFrom(A, sq)) {
                if (!Enemy(A.At(t), W) || std::abs(A.At(t)) == 6 || Value(A.At(t)) < 3 || AttacksSquare(B, sq, t))
                    continue;
                const auto between = Between(sq, t);
                if (std::find(between.begin(), between.end(), m.from) == between.end())
                    continue;
                if ((Value(A.At(t)) > Value(A.At(sq)) || !Defended(A, t)) && Pays(r, i, r.origin[i + 1][static_cast<std::size_t>(t)]))
                    add(Motif::DiscoveredAttack, r.Ref(i + 1, t));
            }
        }
        // Fork: the moved piece hits two things at once and one of them falls.
        {
            std::vector<int> targets;
            for (int t : AttacksFrom(A, m.to)) {
                const int8_t target = A.At(t);
                if (!Enemy(target, W))
                    continue;
                if (std::abs(target) == 6 || Value(target) > Value(mover) || (Value(target) >= 3 && !Defended(A, t)))
                    targets.push_back(t);
            }
            if (targets.size() >= 2) {
                std::sort(targets.begin(), targets.end(), [&](int a, int b) { return Value(A.At(a)) > Value(A.At(b)); });
                // The forking piece must survive the reply: taken at once, it
                // was a sacrifice, not a fork.
                const bool taken = i + 1 < r.moves.size() && r.moves[i + 1].to == m.to;
                bool falls = false;
                for (int t : taken ? std::vector<int>{} : targets)
                    falls = falls || (std::abs(A.At(t)) != 6 && r.UserTakes(i + 1, r.origin[i + 1][static_cast<std::size_t>(t)]) >= 0);
                if (falls && std::abs(A.At(targets[1])) != 1)
                    add(Motif::Fork, r.Ref(i + 1, targets[0]), r.Ref(i + 1, targets[1]));
            }
        }
        // Pin: made by this move, or a pinned piece attacked; it is then won.
        if (std::abs(mover) >= 3 && std::abs(mover) <= 5)
            for (const Pin& pin : PinsBy(A, m.to))
                if (Value(A.At(pin.pinned)) >= 3 && Pays(r, i, r.origin[i + 1][static_cast<std::size_t>(pin.pinned)])
                    && r.UserTakes(i + 1, r.origin[i + 1][static_cast<std::size_t>(pin.pinned)]) >= 0)
                    add(Motif::Pin, r.Ref(i + 1, pin.pinned), r.Ref(i + 1, pin.behind));
        for (int t : AttacksFrom(A, m.to))
            if (Enemy(A.At(t), W) && std::abs(A.At(t)) != 6 && Value(A.At(t)) > Value(mover) && PinnedToKing(A, t)
                && r.UserTakes(i + 1, r.origin[i + 1][static_cast<std::size_t>(t)]) >= 0)
                add(Motif::Pin, r.Ref(i + 1, t), r.Ref(i + 1, KingOf(A, !W)));
        // Trap: an attacked piece with nowhere to go is won.
        for (int t : A.InCheck() ? std::vector<int>{} : AttacksFrom(A, m.to)) {
            const int8_t target = A.At(t);
            if (!Enemy(target, W) || Value(target) < 3 || std::abs(target) == 6 || AttacksSquare(B, m.from, t))
                continue;
            bool escapes = false;
            for (const Move& e : A.LegalMoves()) {
                if (e.from != t)
                    continue;
                const Position after = A.After(e);
                const auto attackers = Attackers(after, e.to, W);
                // Taking a piece worth as much is a trade, not a loss.
                bool safe = attackers.empty() || Value(A.At(e.to)) >= Value(target);
                if (!safe) {
                    int cheapest = 1000;
                    for (int a : attackers)
                        cheapest = std::min(cheapest, Value(after.At(a)));
                    safe = cheapest >= Value(target) && Defended(after, e.to);
                }
                escapes = escapes || safe;
            }
            if (!escapes && r.UserTakes(i + 1, r.origin[i + 1][static_cast<std::size_t>(t)]) >= 0)
                add(Motif::Trap, r.Ref(i + 1, t));
        }
        // Interference: the moved piece cuts an enemy line, and the square it
        // guarded is taken or mated on next.
        if (!m.capture && i + 2 < r.moves.size())
            for (int sq = 0; sq < 64; ++sq) {
                const int type = std::abs(B.At(sq));
                if (!Enemy(B.At(sq), W) || type < 3 || type > 5)
                    continue;
                for (int q : AttacksFrom(B, sq)) {
                    const auto between = Between(sq, q);
                    if (std::find(between.begin(), between.end(), m.to) == between.end())
                        continue;
                    const Move& next = r.moves[i + 2];
                    const Position& later = r.positions[i + 2];
                    if (next.to == q && LeadsOn(r, i + 2) && !AttacksSquare(later, sq, q) && later.At(sq) == B.At(sq))
                        add(Motif::Interference, r.Ref(i, sq));
                }
            }
        // Removal of the defender: take the piece that guards the square the
        // next move strikes.
        if (m.capture && i + 2 < r.moves.size()) {
            const Move& next = r.moves[i + 2];
            const bool guarded = AttacksSquare(B, m.to, next.to) && next.to != m.to;
            const bool stood = Enemy(B.At(next.to), W)
                && r.origin[i + 2][static_cast<std::size_t>(next.to)] == r.origin[i][static_cast<std::size_t>(next.to)];
            const bool mates = r.positions[i + 3].IsCheckmate();
            if (guarded && (stood || mates) && LeadsOn(r, i + 2) && r.positions[i + 2].At(m.to) != B.At(m.to))
                add(Motif::RemovalOfDefender, r.Ref(i, m.to));
        }
        // Clearance: a forcing move empties a square or a line for another piece.
        if (i + 2 < r.moves.size() && (A.InCheck() || m.capture)) {
            const Move& next = r.moves[i + 2];
            const int other = r.origin[i + 2][static_cast<std::size_t>(next.from)];
            const auto path = Between(next.from, next.to);
            const bool through = std::find(path.begin(), path.end(), m.from) != path.end();
            if (other != moverRef.start && (next.to == m.from || through) && LeadsOn(r, i + 2))
                found.push_back({Motif::Clearance, userMove, moverRef, {}, {}, through});
        }
        // The reply and the next user move: sacrifice, deflection, overload,
        // decoy, intermezzo.
        if (i + 1 >= r.moves.size())
            continue;
        const Move& reply = r.moves[i + 1];
        const Position& R = r.positions[i + 2];  // after the reply
        if (reply.capture && Balance(R, W) <= Balance(B, W) - 2 && Balance(R, W) <= startBalance - 2)
            found.push_back({Motif::Sacrifice, userMove, r.Ref(i + 1, reply.to), {}, {}});
        // Breakthrough: a pawn given up so that another one runs through.
        if (std::abs(mover) == 1 && reply.capture && reply.to == m.to && std::abs(A.At(reply.from)) == 1)
            found.push_back({Motif::Breakthrough, userMove, moverRef, {}, {}});
        if (i + 2 >= static_cast<std::size_t>(r.lineMoves))
            continue;
        const Move& next = r.moves[i + 2];
        const Position& N = r.positions[i + 3];
        const int8_t defender = A.At(reply.from);
        if (std::abs(defender) != 6 && std::abs(defender) != 0 && next.to != reply.to && LeadsOn(r, i + 2)
            && AttacksSquare(A, reply.from, next.to) && !AttacksSquare(R, reply.to, next.to)
            && (next.capture || N.IsCheckmate() || (N.InCheck() && Pays(r, i + 2, -1)))) {
            const bool evenTrade = m.capture && reply.capture && reply.to == m.to && Value(B.At(m.to)) >= Value(mover);
            found.push_back({evenTrade ? Motif::Overload : Motif::Deflection, userMove, moverRef, r.Ref(i + 1, reply.from), {}});
        }
        if (reply.capture && reply.to == m.to && std::abs(mover) != 1) {
            const int8_t lured = R.At(m.to);
            const bool checked = std::abs(lured) == 6 && N.InCheck();
            const bool struck = std::abs(lured) != 6 && AttacksSquare(N, next.to, m.to)
                && r.UserTakes(i + 2, r.origin[i + 2][static_cast<std::size_t>(m.to)]) >= 0;
            if ((checked && (Pays(r, i + 2, -1) || Balance(r.positions.back(), W) - startBalance >= kMaterialPoint)) || struck)
                found.push_back({Motif::Decoy, userMove, moverRef, r.Ref(i + 2, m.to), {}});
        }
        if (reply.capture && !next.capture && N.InCheck() && next.to != reply.to) {
            const int taker = r.origin[i + 2][static_cast<std::size_t>(reply.to)];
            if (r.UserTakes(i + 3, taker) >= 0)
                found.push_back({Motif::Intermezzo, userMove + 1, r.Ref(i + 2, next.from), r.Ref(i + 2, reply.to), {}});
        }
    }
    return found;
}

} // namespace

const char* MotifName(Motif motif)
{
    switch (motif) {
    case Motif::None: return "—";
    case Motif::Mate: return "мат";
    case Motif::MatingAttack: return "матовая атака";
    case Motif::Sacrifice: return "жертва";
    case Motif::Fork: return "двойной удар / вилка";
    case Motif::Pin: return "связка";
    case Motif::DiscoveredAttack: return "вскрытое нападение";
    case Motif::DiscoveredCheck: return "вскрытый шах";
    case Motif::DoubleCheck: return "двойной шах";
    case Motif::Deflection: return "отвлечение";
    case Motif::Decoy: return "завлечение";
    case Motif::Interference: return "перекрытие";
    case Motif::RemovalOfDefender: return "уничтожение защиты";
    case Motif::Overload: return "перегрузка";
    case Motif::Intermezzo: return "промежуточный ход";
    case Motif::Clearance: return "освобождение поля или линии";
    case Motif::Trap: return "ловля фигуры";
    case Motif::Breakthrough: return "прорыв";
    case Motif::PassedPawn: return "проходная пешка";
    case Motif::Perpetual: return "вечный шах";
    case Motif::Stalemate: return "пат";
    case Motif::MaterialWin: return "выигрыш материала";
    case Motif::ActiveKing: return "активный король";
    case Motif::Zugzwang: return "цугцванг";
    case Motif::Plan: return "план";
    }
    return "?";
}

bool IsDevice(Motif motif)
{
    return motif != Motif::None && motif != Motif::MatingAttack && motif != Motif::MaterialWin && motif != Motif::Plan
        && motif != Motif::ActiveKing && motif != Motif::Zugzwang;
}

Motif MotifOfHint(const std::string& hint)
{
    // The most particular words first: "вскрытый шах" before "шах", a mate
    // with a sacrifice is a mate.
    static const std::pair<const char*, Motif> words[] = {
        {"Матовая атака", Motif::MatingAttack}, {"король — сильная", Motif::ActiveKing}, {"Активный король", Motif::ActiveKing},
        {"главная фигура этого эндшпиля", Motif::ActiveKing}, {"цугцванг", Motif::Zugzwang},
        {"ничью патом", Motif::Stalemate}, {" пат", Motif::Stalemate}, {"вечн", Motif::Perpetual},
        {"скрытый шах", Motif::DiscoveredCheck}, {"скрытое нападение", Motif::DiscoveredAttack},
        {"войной шах", Motif::DoubleCheck}, {"войного шаха", Motif::DoubleCheck}, {"илк", Motif::Fork},
        {"войной удар", Motif::Fork}, {"вязк", Motif::Pin}, {"связан", Motif::Pin}, {"твлеч", Motif::Deflection}, {"твлек", Motif::Deflection},
        {"авлеч", Motif::Decoy}, {"авлек", Motif::Decoy}, {"ерекры", Motif::Interference},
        {"ничтож", Motif::RemovalOfDefender}, {"защитник —", Motif::RemovalOfDefender}, {"ерегруз", Motif::Overload}, {"ерегруж", Motif::Overload},
        {"ромежуточн", Motif::Intermezzo}, {"свобожд", Motif::Clearance}, {"свобод", Motif::Clearance},
        {"оймайте", Motif::Trap}, {"ловушк", Motif::Trap}, {"рорыв", Motif::Breakthrough},
        {"Жертва ", Motif::Sacrifice}, {"мат", Motif::Mate}, {"Мат", Motif::Mate}, {"Атака на короля", Motif::MatingAttack},
        {"в ферзи", Motif::PassedPawn}, {"роходн", Motif::PassedPawn}, {"гонк", Motif::PassedPawn}, {"жертв", Motif::Sacrifice},
        {"ыиграйте", Motif::MaterialWin}, {"выигрывает", Motif::MaterialWin}, {"обречен", Motif::MaterialWin},
        {"не выдержит атаки", Motif::MatingAttack},
    };
    for (const auto& [word, motif] : words)
        if (hint.find(word) != std::string::npos)
            return motif;
    return Motif::None;
}

LineStory ReadStory(const Candidate& c, int tokens)
{
    LineStory story;
    const auto root = Position::FromFen(c.fen);
    if (!root || tokens < 1 || static_cast<std::size_t>(tokens) > c.line.moves.size())
        return story;
    const Replayed r = Replay(c, tokens, 16);
    const auto& step = c.line.steps[static_cast<std::size_t>((tokens - 1) / 2)];
    const LineBoard board = ReplayLine(*root, c.line.moves, tokens);
    story.end = JudgeEnd(c.kind, board, step.after);
    story.userMoves = (tokens + 1) / 2;
    story.mates = board.mate;
    story.stalemate = story.end == LineEnd::Stalemate;
    story.perpetual = story.end == LineEnd::Perpetual;
    if (story.mates && r.lineMoves > 0) {
        const std::size_t last = static_cast<std::size_t>(r.lineMoves - 1);
        const Position& end = r.positions[last + 1];
        const int to = r.moves[last].to;
        story.matingKind = Kind(end.At(to));
        const int king = KingOf(end, !r.userWhite);
        const int home = r.userWhite ? 7 : 0;
        story.backRank = (std::abs(end.At(to)) == 4 || std::abs(end.At(to)) == 5) && fullchess::RankOf(king) == home
            && fullchess::RankOf(to) == home;
        if (story.matingKind == 'n') {
            bool hemmed = true;
            for (int sq : AttacksFrom(end, king))
                hemmed = hemmed && Own(end.At(sq), !r.userWhite);
            story.smothered = hemmed;
        }
    }
    for (const Found& f : FindMotifs(r)) {
        story.motifs.push_back(f.motif);
        story.sacrifice = story.sacrifice || f.motif == Motif::Sacrifice;
    }
    // A pawn that cannot be stopped: the engine's continuation queens it, and
    // the line ends with the user a decisive edge up.
    const std::size_t lineEnd = static_cast<std::size_t>(r.lineMoves);
    for (std::size_t i = lineEnd; i < r.moves.size() && i < lineEnd + 12; ++i) {
        if (!r.IsUser(i) || !r.moves[i].promotion)
            continue;
        // The pawn that queens, where it stood when the line ended.
        const int start = r.origin[i][static_cast<std::size_t>(r.moves[i].from)];
        for (int sq = 0; sq < 64; ++sq)
            if (r.origin[lineEnd][static_cast<std::size_t>(sq)] == start && start >= 0
                && PassedPawn(r.positions[lineEnd], sq) && RelativeRank(sq, r.userWhite) >= 4
                && (story.end == LineEnd::DecisiveEdge || story.end == LineEnd::MaterialWon)) {
                story.promotes = true;
                story.promoterStart = start;
                for (std::size_t j = 0; j <= i; ++j)
                    story.promoterCaptures = story.promoterCaptures
                        || (r.moves[j].capture && r.origin[j][static_cast<std::size_t>(r.moves[j].from)] == start);
            }
    }
    for (std::size_t i = 0; i < lineEnd; i += 2) {
        const int mover = std::abs(r.positions[i].At(r.moves[i].from));
        story.kingMarches = story.kingMarches || mover == 6;
        // A push, not a capture that leaves a passed pawn behind.
        story.pushesPassed = story.pushesPassed
            || (mover == 1 && !r.moves[i].capture && PassedPawn(r.positions[i + 1], r.moves[i].to));
    }
    return story;
}

namespace {

// The user's piece kinds a hint may name: every piece of that kind has three
// legal moves or more at the start (a pawn only when it is the only pawn).
bool MayName(const Position& root, char kind)
{
    int count = 0;
    for (int sq = 0; sq < 64; ++sq) {
        if (!Own(root.At(sq), root.WhiteToMove()) || Kind(root.At(sq)) != kind)
            continue;
        ++count;
        if (LegalMovesOf(root, sq) < 3)
            return false;
    }
    return count > 0;
}

// Where a piece named by its start square may be named: it stood there at the
// start, and it is not the square the first move goes to.
bool MayPlace(const Position& root, const Move& first, const PieceRef& piece)
{
    return piece.start >= 0 && piece.start != first.to && Kind(root.At(piece.start)) == piece.kind;
}

std::string EnemyGen(const PieceRef& piece, bool userWhite)
{
    return std::string(Words(piece.kind).gen) + " " + SideGen(!userWhite);
}

struct Builder {
    const Position& root;
    Move first;
    bool userWhite;
    std::vector<Hint> out;

    void Add(Motif motif, const std::string& text) { out.push_back({text, motif}); }
    std::string At(const PieceRef& piece) const
    {
        return MayPlace(root, first, piece) ? " на " + Name(piece.start) : std::string();
    }
    std::string Opp() const { return SideGen(!userWhite); }
    std::string Own() const { return SideGen(userWhite); }
};

// Few pieces left: a queen, or a rook and a minor piece, a side at most.
bool Endgame(const Position& p)
{
    int pieces[2] = {0, 0};
    static const int value[] = {0, 0, 3, 3, 5, 9, 0};
    for (int sq = 0; sq < 64; ++sq)
        if (p.At(sq) != 0)
            pieces[p.At(sq) > 0 ? 0 : 1] += value[std::abs(p.At(sq))];
    return pieces[0] <= 9 && pieces[1] <= 9;
}

} // namespace

const Hint* WrittenByHand(const Candidate& c, int tokens)
{
    struct Entry {
        const char* placement;
        int tokens;
        Hint hint;
    };
    static const Entry entries[] = {
        // Kg1-f2: every other move lets the queen check for ever.
        {"4qkbQ/1p4p1/1P1p1p1p/8/5P2/8/6P1/2R3K1", 3,
         {"Слон черных на g8 связан, но сначала обезопасьте короля от шахов.", Motif::Pin}},
        // b6-b5: a king move first loses the race by a tempo.
        {"2r5/5P1K/1p6/8/7P/8/8/2k5", 3, {"В гонке проходных пешек решает каждый темп.", Motif::PassedPawn}},
        // Qb7-h7+, Re1-e5+, Nh8:g6+: the checks win the queen.
        {"7N/1Q6/4p1p1/1p3n1k/5P2/2nq3P/5r2/4R1K1", 7, {"Атака на короля черных неотразима.", Motif::MatingAttack}},
        // Rb5-e5: the rook behind the pawn on e2.
        {"8/4bpkp/6p1/1R6/8/2P2KPN/1P1rpP1P/8", 1,
         {"Проходная пешка черных на e2 — главная опасность: остановите ее.", Motif::PassedPawn}},
        // Qh5-f3: the queen leaves the g6 pawn's attack and pins f6, which
        // attacks the rook on e5.
        {"r1q2b1r/1b3k1p/p4pp1/P2nR2Q/Bp1N4/8/1PP2BPP/R5K1", 1,
         {"Ферзь и ладья белых под ударом: связка спасает обе фигуры.", Motif::Pin}},
        // g5-g4 fixes the last free pawns of white; once the queenside is
        // locked too, the white king has to leave d4.
        {"8/7p/1p2k3/p2pP1p1/3K3P/1P4P1/P7/8", 3,
         {"Лишите белых запасных темпов: цугцванг решает исход пешечного эндшпиля.", Motif::Zugzwang}},
        // Qe7-g5 and the queen goes after the king on b2.
        {"8/4q1k1/p1Q3p1/4p3/1p2R3/1P6/PKP3PP/3r4", 3, {"Король белых на b2 не выдержит атаки.", Motif::MatingAttack}},
        // e5-e6: the pawn runs and the rook gives itself up for it; Rf5:f3
        // first lets Re4:e5 and it is a draw.
        {"8/2k2K2/8/4PR2/4r3/5p2/8/8", 1, {"Не спешите брать пешку черных на f3: в этой гонке решает время.", Motif::PassedPawn}},
    };
    const std::string placement = c.fen.substr(0, c.fen.find(' '));
    for (const Entry& e : entries)
        if (placement == e.placement && tokens == e.tokens)
            return &e.hint;
    return nullptr;
}

namespace {

void TacticHints(Builder& b, const Candidate& c, int tokens, const LineStory& story, const std::vector<Found>& found)
{
    const std::string opp = b.Opp();
    if (story.mates) {
        const std::string in = InMoves(story.userMoves);
        const bool nameMater = story.matingKind != 'p' && MayName(b.root, story.matingKind);
        if (story.sacrifice)
            b.Add(Motif::Mate, kHintMateWithSacrifice);
        b.Add(Motif::Mate, "Мат " + in + ".");
        b.Add(Motif::Mate, "Найдите мат " + in + ".");
        b.Add(Motif::Mate, "Король " + opp + " в матовой сети: мат " + in + ".");
        const int king = KingOf(b.root, !b.userWhite);
        b.Add(Motif::Mate, "Король " + opp + " на " + Name(king) + " беззащитен: мат " + in + ".");
        if (nameMater && story.backRank)
            b.Add(Motif::Mate, std::string("Мат ") + Words(story.matingKind).ins + " по последней горизонтали " + in + ".");
        if (nameMater)
            b.Add(Motif::Mate, std::string("Мат ") + Words(story.matingKind).ins + " " + in + ".");
        if (story.backRank)
            b.Add(Motif::Mate, "Слабость последней горизонтали: мат " + in + ".");
        if (story.smothered)
            b.Add(Motif::Mate, "Спертый мат " + in + ".");
        for (const Found& f : found) {
            switch (f.motif) {
            case Motif::Sacrifice:
                if (MayName(b.root, f.user.kind))
                    b.Add(Motif::Sacrifice, std::string("Жертва ") + Words(f.user.kind).gen + " ведет к мату " + in + ".");
                b.Add(Motif::Mate, "Не жалейте материала: мат " + in + ".");
                break;
            case Motif::DoubleCheck: b.Add(Motif::DoubleCheck, "Двойной шах ведет к мату " + in + "."); break;
            case Motif::DiscoveredCheck: b.Add(Motif::DiscoveredCheck, "Вскрытый шах ведет к мату " + in + "."); break;
            case Motif::Deflection:
                b.Add(Motif::Deflection, "Отвлечение " + EnemyGen(f.enemy, b.userWhite) + " ведет к мату " + in + ".");
                break;
            case Motif::Decoy:
                b.Add(Motif::Decoy, "Завлечение " + EnemyGen(f.enemy, b.userWhite) + " ведет к мату " + in + ".");
                break;
            case Motif::RemovalOfDefender: b.Add(Motif::RemovalOfDefender, "Уничтожение защиты ведет к мату " + in + "."); break;
            case Motif::Interference: b.Add(Motif::Interference, "Перекрытие ведет к мату " + in + "."); break;
            case Motif::Clearance:
                b.Add(Motif::Clearance, std::string(f.alongLine ? "Освобождение линии" : "Освобождение поля") + " ведет к мату " + in + ".");
                break;
            default: break;
            }
        }
        return;
    }
    if (story.end == LineEnd::MateNext || (story.end == LineEnd::DecisiveEdge && c.line.steps[static_cast<std::size_t>((tokens - 1) / 2)].after.Mates())) {
        b.Add(Motif::MatingAttack, "Атака на короля " + opp + " неотразима.");
        b.Add(Motif::MatingAttack, "Король " + opp + " на " + Name(KingOf(b.root, !b.userWhite)) + " не выдержит атаки.");
        b.Add(Motif::MatingAttack, "Матовая атака: королю " + opp + " не спастись.");
    }
    // A line that starts by pushing a passed pawn: while the passed pawns
    // have fewer than three moves, a hint about "the passed pawn" names the
    // move. The race against the enemy king may still be named.
    const bool pawnIsTheMove = std::abs(b.root.At(b.first.from)) == 1 && !b.first.capture
        && PassedPawn(b.root, b.first.from) && PassedPawnMoves(b.root) < 3;
    if (story.promotes) {
        if (!pawnIsTheMove) {
            b.Add(Motif::PassedPawn, kHintQueenThePawn);
            b.Add(Motif::PassedPawn, "Проходная пешка " + b.Own() + " решает исход борьбы.");
            b.Add(Motif::PassedPawn, "Проходную пешку " + b.Own() + " уже не остановить.");
        }
        // How far the pawn has to go, and the king that cannot catch it.
        const int steps = story.promoterStart >= 0 ? 7 - RelativeRank(story.promoterStart, b.userWhite) : 0;
        static const char* const numbers[] = {"", "один", "два", "три", "четыре", "пять"};
        if (steps >= 1 && steps <= 5 && !pawnIsTheMove)
            b.Add(Motif::PassedPawn, "Проходной пешке " + b.Own() + (steps == 1 ? " остался " : " осталось ") + numbers[steps]
                                         + " " + Plural(steps, "шаг", "шага", "шагов") + " до поля превращения.");
        // Only a king away from the pawn's path is one that "cannot catch it",
        // and only in a race: a pawn that queens by taking wins by a fork or
        // a capture, whatever the king does.
        const int king = KingOf(b.root, !b.userWhite);
        bool away = king >= 0 && story.promoterStart >= 0 && !story.promoterCaptures;
        for (int sq = story.promoterStart; away && RelativeRank(sq, b.userWhite) < 7;) {
            sq += b.userWhite ? 8 : -8;
            away = KingDistance(sq, king) >= 2;
        }
        if (away)
            b.Add(Motif::PassedPawn, "Король " + opp + " на " + Name(king) + " не успевает догнать проходную пешку.");
    }
    if (story.pushesPassed && !story.promotes && !pawnIsTheMove
        && (story.end == LineEnd::DecisiveEdge || story.end == LineEnd::MaterialWon)) {
        b.Add(Motif::PassedPawn, "Проходная пешка " + b.Own() + " решает исход борьбы.");
        b.Add(Motif::PassedPawn, "Все решает продвижение проходной пешки " + b.Own() + ".");
    }
    if (story.kingMarches && Endgame(b.root) && MayName(b.root, 'k') && (story.end == LineEnd::DecisiveEdge || story.end == LineEnd::MaterialWon)) {
        b.Add(Motif::ActiveKing, "Активный король " + b.Own() + " решает исход эндшпиля.");
        // "Forward" must leave the king a choice, or it names the move.
        const int own = KingOf(b.root, b.userWhite);
        if (LegalMovesWhere(b.root, [&](const Move& m) {
                return m.from == own && RelativeRank(m.to, b.userWhite) > RelativeRank(own, b.userWhite);
            }) >= 2)
            b.Add(Motif::ActiveKing, "В эндшпиле король — сильная фигура: пусть король " + b.Own() + " идет вперед.");
        b.Add(Motif::ActiveKing, "Король " + b.Own() + " на " + Name(KingOf(b.root, b.userWhite)) + " — главная фигура этого эндшпиля.");
    }
    for (const Found& f : found) {
        const std::string enemy = f.enemy.kind != ' ' ? EnemyGen(f.enemy, b.userWhite) : std::string();
        const PieceWords& ew = Words(f.enemy.kind);
        switch (f.motif) {
        case Motif::Fork: {
            const bool knight = f.user.kind == 'n', pawn = f.user.kind == 'p';
            const std::string device = knight || pawn ? "вилка" : "двойной удар";
            b.Add(Motif::Fork, knight || pawn ? "Найдите вилку." : "Ищите двойной удар.");
            if (MayName(b.root, f.user.kind) && !pawn)
                b.Add(Motif::Fork, Capitalised(device) + " " + Words(f.user.kind).ins + " решает.");
            b.Add(Motif::Fork, Capitalised(device) + ": " + ew.nom + " и " + Words(f.enemy2.kind).nom + " " + opp
                                   + " окажутся под ударом одновременно.");
            if (MayPlace(b.root, b.first, f.enemy) && MayPlace(b.root, b.first, f.enemy2))
                b.Add(Motif::Fork, "Двойной удар по " + std::string(ew.dat) + " " + opp + " на " + Name(f.enemy.start) + " и "
                                       + Words(f.enemy2.kind).dat + " " + opp + " на " + Name(f.enemy2.start) + ".");
            break;
        }
        case Motif::Pin:
            b.Add(Motif::Pin, "Используйте связку.");
            b.Add(Motif::Pin, "Связка " + enemy + " приносит материал.");
            if (MayPlace(b.root, b.first, f.enemy))
                b.Add(Motif::Pin, "Попробуйте выиграть на связке " + enemy + b.At(f.enemy) + ".");
            break;
        case Motif::DiscoveredAttack:
            b.Add(Motif::DiscoveredAttack, "Ищите вскрытое нападение.");
            b.Add(Motif::DiscoveredAttack, std::string("Вскрытое нападение на ") + ew.acc + " " + opp + ".");
            if (MayPlace(b.root, b.first, f.enemy))
                b.Add(Motif::DiscoveredAttack, "Вскрытое нападение: " + std::string(ew.nom) + " " + opp + b.At(f.enemy)
                                                   + " окажется под ударом.");
            break;
        case Motif::DiscoveredCheck:
            b.Add(Motif::DiscoveredCheck, "Вскрытый шах решает.");
            if (story.end == LineEnd::MaterialWon)
                b.Add(Motif::DiscoveredCheck, "Вскрытый шах выигрывает материал.");
            break;
        case Motif::DoubleCheck:
            b.Add(Motif::DoubleCheck, "Двойной шах решает исход борьбы.");
            b.Add(Motif::DoubleCheck, "От двойного шаха закрыться нельзя.");
            break;
        case Motif::Deflection:
            b.Add(Motif::Deflection, "Отвлеките защитника.");
            b.Add(Motif::Deflection, "Отвлеките " + std::string(ew.acc) + " " + opp + " от защиты.");
            if (MayPlace(b.root, b.first, f.enemy))
                b.Add(Motif::Deflection, "Отвлечение " + enemy + b.At(f.enemy) + " решает.");
            break;
        case Motif::Overload:
            b.Add(Motif::Overload, "Используйте перегрузку защитника.");
            b.Add(Motif::Overload, Capitalised(ew.nom) + " " + opp + (ew.feminine ? " перегружена." : " перегружен."));
            if (MayPlace(b.root, b.first, f.enemy))
                b.Add(Motif::Overload, Capitalised(ew.nom) + " " + opp + b.At(f.enemy)
                                           + (ew.feminine ? " перегружена: она" : " перегружен: он")
                                           + " защищает слишком многое.");
            break;
        case Motif::Decoy:
            b.Add(Motif::Decoy, "Завлеките " + std::string(ew.acc) + " " + opp + " на роковое поле.");
            b.Add(Motif::Decoy, "Завлечение " + enemy + " решает.");
            break;
        case Motif::Interference:
            b.Add(Motif::Interference, "Перекройте линию защиты.");
            b.Add(Motif::Interference, "Перекрытие линии " + enemy + " решает.");
            break;
        case Motif::RemovalOfDefender:
            b.Add(Motif::RemovalOfDefender, "Уничтожьте защитника.");
            b.Add(Motif::RemovalOfDefender, "Уничтожение защиты решает.");
            if (MayPlace(b.root, b.first, f.enemy))
                b.Add(Motif::RemovalOfDefender, "Главный защитник — " + std::string(ew.nom) + " " + opp + b.At(f.enemy) + ".");
            break;
        case Motif::Intermezzo:
            b.Add(Motif::Intermezzo, "Не спешите отыгрывать материал: промежуточный шах сильнее.");
            b.Add(Motif::Intermezzo, "Промежуточный ход решает.");
            break;
        case Motif::Clearance:
            b.Add(Motif::Clearance, f.alongLine ? "Освободите линию для другой фигуры." : "Освободите поле для другой фигуры.");
            b.Add(Motif::Clearance, f.alongLine ? "Освобождение линии с темпом решает." : "Освобождение поля с темпом решает.");
            break;
        case Motif::Trap:
            b.Add(Motif::Trap, "Поймайте " + std::string(ew.acc) + " " + opp + ".");
            if (MayPlace(b.root, b.first, f.enemy))
                b.Add(Motif::Trap, Capitalised(ew.nom) + " " + opp + b.At(f.enemy) + " может попасть в ловушку.");
            break;
        case Motif::Breakthrough:
            if (story.promotes || story.end == LineEnd::DecisiveEdge) {
                b.Add(Motif::Breakthrough, "Пешечный прорыв решает.");
                if (story.promotes)
                    b.Add(Motif::Breakthrough, "Пешечный прорыв: пожертвуйте пешку, чтобы провести другую.");
            }
            break;
        case Motif::Sacrifice:
            if (MayName(b.root, f.user.kind) && f.user.kind != 'p' && f.user.kind != 'k')
                b.Add(Motif::Sacrifice, std::string("Жертва ") + Words(f.user.kind).gen + " окупается с лихвой.");
            b.Add(Motif::Sacrifice, "Жертва материала окупается.");
            if (story.userMoves >= 2)
                b.Add(Motif::Sacrifice, "Жертва материала окупается через " + std::to_string(story.userMoves) + " "
                                            + Plural(story.userMoves, "ход", "хода", "ходов") + ".");
            break;
        default: break;
        }
    }
    // What the line wins, when it ends a clear piece up.
    const Replayed r = Replay(c, tokens, 0);
    if (story.end == LineEnd::MaterialWon && !r.positions.empty()) {
        // A piece won is one the opponent lost more of than the user did: a
        // queen taken for a queen is a trade, not the win.
        const auto start = r.positions.front().Count(!r.userWhite), end = r.positions.back().Count(!r.userWhite);
        const auto ownStart = r.positions.front().Count(r.userWhite), ownEnd = r.positions.back().Count(r.userWhite);
        for (int type : {5, 4, 3, 2}) {
            const auto t = static_cast<std::size_t>(type);
            if (start[t] - end[t] > std::max(0, ownStart[t] - ownEnd[t])) {
                const char kind = " pnbrqk"[type];
                // One capture is no combination.
                if (story.userMoves >= 2)
                    b.Add(Motif::MaterialWin, "Комбинация выигрывает " + std::string(Words(kind).acc) + " " + opp + ".");
                b.Add(Motif::MaterialWin, "Выиграйте " + std::string(Words(kind).acc) + " " + opp + ".");
                // The piece that falls, by the square it stood on at the start.
                for (std::size_t j = 0; j < r.moves.size(); ++j) {
                    const int sq = r.moves[j].to;
                    if (!r.IsUser(j) || !r.moves[j].capture || std::abs(r.positions[j].At(sq)) != type)
                        continue;
                    const PieceRef won = r.Ref(j, sq);
                    if (MayPlace(b.root, b.first, won))
                        b.Add(Motif::MaterialWin, Capitalised(Words(kind).nom) + " " + opp + " на " + Name(won.start)
                                                      + (Words(kind).feminine ? " обречена." : " обречен."));
                    break;
                }
                break;
            }
        }
    }
    if (b.out.empty()) {
        b.Add(Motif::None, "Найдите сильнейшее продолжение.");
        b.Add(Motif::None, "Только один ход сохраняет решающее преимущество " + b.Own() + ". Найдите его.");
        b.Add(Motif::None, "У " + b.Own() + " есть выигрыш, но путь к нему единственный.");
        b.Add(Motif::None, "Выигрыш требует точности: найдите лучший ход " + b.Own() + ".");
    }
}

std::string FileName(int sq) { return std::string(1, static_cast<char>('a' + fullchess::FileOf(sq))); }

bool FileHasPawn(const Position& p, int file, int8_t pawn)
{
    for (int rank = 0; rank < 8; ++rank)
        if (p.At(fullchess::MakeSquare(file, rank)) == pawn)
            return true;
    return false;
}

std::string WingPhrase(int sq)
{
    const int f = fullchess::FileOf(sq);
    return f <= 2 ? "на ферзевом фланге" : f >= 5 ? "на королевском фланге" : "в центре";
}

void StrategyHints(Builder& b, const Candidate& c, int tokens)
{
    const Replayed r = Replay(c, tokens, 0);
    if (r.moves.empty())
        return;
    const bool W = r.userWhite;
    const Position& B = r.positions[0];
    const Position& A = r.positions[1];
    const Move& m = r.moves[0];
    const int8_t mover = B.At(m.from);
    const int type = std::abs(mover);
    const int8_t ownPawn = W ? 1 : -1, enemyPawn = W ? -1 : 1;
    const bool endgame = PieceMaterial(B, true) <= 13 && PieceMaterial(B, false) <= 13;
    const bool queensTraded = [&] {
        const auto& end = r.positions.back();
        return B.Count(true)[5] + B.Count(false)[5] > 0 && end.Count(true)[5] + end.Count(false)[5] == 0;
    }();
    const std::string opp = b.Opp();
    const int relTo = RelativeRank(m.to, W);
    // A hint that names the wing of the move for a kind of piece must leave
    // that kind more than one move there, or it names the move.
    auto wingChoice = [&](int kind) {
        return LegalMovesWhere(B, [&](const Move& other) {
                   return std::abs(B.At(other.from)) == kind && WingPhrase(other.to) == WingPhrase(m.to);
               }) >= 2;
    };

    if (type == 1 && !m.capture) {
        bool contact = false;
        for (int t : AttacksFrom(A, m.to))
            contact = contact || A.At(t) == enemyPawn;
        for (int df : {-1, 1}) {
            const int f = fullchess::FileOf(m.to) + df, rr = fullchess::RankOf(m.to) + (W ? 1 : -1);
            if (f >= 0 && f < 8 && rr >= 0 && rr < 8 && A.At(fullchess::MakeSquare(f, rr)) == enemyPawn)
                contact = true;
        }
        if (contact) {
            b.Add(Motif::Plan, "Пешечный подрыв вскрывает игру.");
            b.Add(Motif::Plan, "Ищите подрыв пешечной цепи " + opp + ".");
            if (wingChoice(1))
                b.Add(Motif::Plan, "Подрыв " + WingPhrase(m.to) + " открывает линии для ваших фигур. Вскрытие игры выгодно тому, чьи фигуры активнее.");
        } else if (PassedPawn(A, m.to)) {
            // Only where the passed pawns leave a choice of moves.
            if (PassedPawnMoves(B) >= 3) {
                b.Add(Motif::Plan, "Проходные пешки должны двигаться вперед.");
                b.Add(Motif::Plan, "Продвигайте проходную пешку: соперник будет вынужден держать фигуры на ее пути.");
            }
            const int f = fullchess::FileOf(m.to);
            if (PassedPawnMoves(B, f <= 2 ? 0 : f >= 5 ? 5 : 3, f <= 2 ? 2 : f >= 5 ? 7 : 4) >= 3)
                b.Add(Motif::Plan, "Проходная пешка " + WingPhrase(m.to) + " — главный козырь " + b.Own() + ".");
        } else if (relTo >= 3 && !endgame) {
            b.Add(Motif::Plan, "Захватите пространство.");
            if (wingChoice(1))
                b.Add(Motif::Plan, "Продвижение пешки " + WingPhrase(m.to) + " отнимает у фигур " + opp + " важные поля.");
        }
    }
    // A hint that names a file must leave a choice of heavy-piece moves onto
    // it, or it names the move.
    auto choiceOnto = [&B](int file, bool rooksOnly) {
        return LegalMovesWhere(B, [&](const Move& other) {
                   const int kind = std::abs(B.At(other.from));
                   return (kind == 4 || (kind == 5 && !rooksOnly)) && fullchess::FileOf(other.to) == file
                       && fullchess::FileOf(other.from) != file;
               }) >= 2;
    };
    if ((type == 4 || type == 5) && fullchess::FileOf(m.from) != fullchess::FileOf(m.to) && !m.capture) {
        const int file = fullchess::FileOf(m.to);
        const bool ours = FileHasPawn(A, file, ownPawn), theirs = FileHasPawn(A, file, enemyPawn);
        if (!ours && !theirs) {
            b.Add(Motif::Plan, "Захватите открытую линию.");
            if (choiceOnto(file, false))
                b.Add(Motif::Plan, "Открытая линия «" + FileName(m.to) + "» — ключ к позиции. Займите ее первыми.");
        } else if (!ours) {
            b.Add(Motif::Plan, "Займите полуоткрытую линию.");
            if (choiceOnto(file, false))
                b.Add(Motif::Plan, "По полуоткрытой линии «" + FileName(m.to) + "» тяжелые фигуры давят на пешку " + opp + ".");
        }
    }
    // The seventh rank, named, must leave the rooks more than one way in. A
    // rook already there goes along it; one that goes in is invading.
    const bool alongSeventh = RelativeRank(m.from, W) == 6;
    auto waysIn = [&] {
        return LegalMovesWhere(B, [&](const Move& other) {
            return std::abs(B.At(other.from)) == 4 && RelativeRank(other.to, W) == 6 && RelativeRank(other.from, W) != 6;
        });
    };
    if (type == 4 && relTo == 6 && !m.capture && (alongSeventh || waysIn() >= 2)) {
        b.Add(Motif::Plan, "Ладья на седьмой горизонтали сковывает соперника.");
        if (!alongSeventh)
            b.Add(Motif::Plan, "Вторгнитесь на седьмую горизонталь: там ладья нападает на пешки и стесняет короля.");
    }
    if (type == 2 && relTo >= 3 && relTo <= 5) {
        bool guarded = false, chased = false;
        for (int df : {-1, 1}) {
            const int f = fullchess::FileOf(m.to) + df;
            if (f < 0 || f > 7)
                continue;
            const int back = fullchess::RankOf(m.to) + (W ? -1 : 1);
            if (back >= 0 && back < 8 && A.At(fullchess::MakeSquare(f, back)) == ownPawn)
                guarded = true;
            for (int rr = fullchess::RankOf(m.to) + (W ? 1 : -1); rr >= 0 && rr < 8; rr += W ? 1 : -1)
                chased = chased || A.At(fullchess::MakeSquare(f, rr)) == enemyPawn;
        }
        if (guarded && !chased) {
            b.Add(Motif::Plan, "Найдите форпост для коня.");
            b.Add(Motif::Plan, "Конь на форпосте, откуда его не прогнать пешкой, часто сильнее слона.");
        }
    }
    if (type == 6 && endgame) {
        auto centre = [](int sq) { return std::abs(2 * fullchess::FileOf(sq) - 7) + std::abs(2 * fullchess::RankOf(sq) - 7); };
        if (centre(m.to) < centre(m.from)) {
            b.Add(Motif::Plan, "В эндшпиле король — сильная фигура.");
            b.Add(Motif::Plan, "Активный король в эндшпиле: ведите его ближе к центру и к пешкам.");
        } else {
            b.Add(Motif::Plan, "Король в эндшпиле сам защищает и поддерживает пешки.");
        }
        if (MayName(B, 'k') && wingChoice(6))
            b.Add(Motif::Plan, "В эндшпиле король " + b.Own() + " должен играть " + WingPhrase(m.to) + ".");
    }
    // A weak pawn: isolated or without a guard, attacked by the moved piece,
    // and still on its square when the line ends.
    if (type >= 2 && type <= 5)
        for (int t : AttacksFrom(A, m.to)) {
            if (A.At(t) != enemyPawn || AttacksSquare(B, m.from, t))
                continue;
            bool neighbour = false;
            for (int df : {-1, 1}) {
                const int f = fullchess::FileOf(t) + df;
                neighbour = neighbour || (f >= 0 && f < 8 && FileHasPawn(A, f, enemyPawn));
            }
            const bool stays = r.positions.back().At(t) == enemyPawn || r.UserTakes(1, t) >= 0;
            if ((!neighbour || !Defended(A, t)) && stays && t != m.to) {
                b.Add(Motif::Plan, "Атакуйте слабую пешку.");
                b.Add(Motif::Plan, std::string("Пешка ") + opp + " на " + Name(t) + (neighbour ? " плохо защищена" : " изолирована")
                                       + ": направьте на нее фигуры.");
                break;
            }
        }
    // Restriction: an enemy piece loses most of its moves (not to a check,
    // which takes the moves of every piece for one turn).
    for (int sq = 0; sq < 64 && !A.InCheck(); ++sq) {
        const int8_t piece = A.At(sq);
        if (!Enemy(piece, W) || std::abs(piece) < 2 || std::abs(piece) > 5 || B.At(sq) != piece)
            continue;
        const int was = LegalMovesOf(Flipped(B), sq), now = LegalMovesOf(A, sq);
        if (was >= 3 && now <= 1) {
            const PieceWords& w = Words(Kind(piece));
            b.Add(Motif::Plan, "Ограничьте подвижность фигур " + opp + ".");
            b.Add(Motif::Plan, "Лишите " + std::string(w.acc) + " " + opp + " на " + Name(sq) + " полезных ходов.");
            break;
        }
    }
    if (queensTraded) {
        b.Add(Motif::Plan, "Размен ферзей ведет в выгодный эндшпиль.");
        b.Add(Motif::Plan, "Без ферзей слабости соперника станут заметнее. Меняйте ферзей.");
    } else if (m.capture && type >= 2 && type <= 5 && Value(B.At(m.to)) == Value(mover)) {
        b.Add(Motif::Plan, "Своевременный размен — тоже стратегия.");
        b.Add(Motif::Plan, "Размен фигур упрощает позицию в пользу " + b.Own() + ".");
    }
    const int enemyKing = KingOf(A, !W);
    if (type >= 2 && type <= 5 && !endgame && enemyKing >= 0 && KingDistance(m.to, enemyKing) <= 2
        && KingDistance(m.from, enemyKing) > 2) {
        b.Add(Motif::Plan, "Подключите фигуры к атаке на короля.");
        b.Add(Motif::Plan, "Подтяните фигуры к королю " + opp + ": там каждая из них стоит больше.");
    }
    if (type == 1 && !m.capture && !endgame && enemyKing >= 0
        && std::abs(fullchess::FileOf(m.to) - fullchess::FileOf(enemyKing)) <= 1 && relTo >= 3) {
        b.Add(Motif::Plan, "Пешечный штурм открывает линии против короля.");
        if (wingChoice(1))
            b.Add(Motif::Plan, "Двиньте пешки на фланге, где стоит король " + opp + ": штурм вскроет линии для ладей.");
    }
    if ((type == 3 || type == 5) && !m.capture) {
        const int f = fullchess::FileOf(m.to), rk = fullchess::RankOf(m.to);
        const int ff = fullchess::FileOf(m.from), fr = fullchess::RankOf(m.from);
        if ((f == rk || f + rk == 7) && !(ff == fr || ff + fr == 7)) {
            const bool a1h8 = f == rk;
            const std::string diagonal = a1h8 ? "a1–h8" : "a8–h1";
            b.Add(Motif::Plan, "Займите длинную диагональ.");
            b.Add(Motif::Plan, "С длинной диагонали фигура бьет через всю доску.");
            // Named, it must leave a choice of moves onto it.
            auto onDiagonal = [a1h8](int sq) {
                const int sf = fullchess::FileOf(sq), sr = fullchess::RankOf(sq);
                return a1h8 ? sf == sr : sf + sr == 7;
            };
            const int onto = LegalMovesWhere(B, [&](const Move& other) {
                const int kind = std::abs(B.At(other.from));
                return (kind == 3 || kind == 5) && onDiagonal(other.to) && !onDiagonal(other.from);
            });
            if (onto >= 2)
                b.Add(Motif::Plan, "Большая диагональ " + diagonal + " — ключ к позиции.");
            // The diagonal that runs at the enemy king: it stands on it or next to it.
            if (enemyKing >= 0 && onto >= 2) {
                const int kf = fullchess::FileOf(enemyKing), kr = fullchess::RankOf(enemyKing);
                if (std::abs(a1h8 ? kf - kr : kf + kr - 7) <= 1)
                    b.Add(Motif::Plan, "Большая диагональ " + diagonal + " ведет к королю " + opp + ".");
            }
        }
    }
    const int gain = Balance(r.positions.back(), W) - Balance(B, W);
    if (gain >= 1) {
        b.Add(Motif::Plan, gain == 1 ? "Выиграйте пешку." : "Точная игра выигрывает материал.");
        b.Add(Motif::Plan, gain == 1 ? "Соперник не успевает защитить пешку: заберите ее."
                                     : "Фигуры " + opp + " разобщены: точная игра выигрывает материал.");
        // The first enemy piece the user takes, by the square it stood on.
        for (std::size_t j = 0; j < r.moves.size(); j += 2) {
            if (!r.moves[j].capture)
                continue;
            const PieceRef taken = r.Ref(j, r.moves[j].to);
            if (MayPlace(B, m, taken) && taken.kind != 'k') {
                const PieceWords& w = Words(taken.kind);
                b.Add(Motif::Plan, Capitalised(w.nom) + " " + opp + " на " + Name(taken.start)
                                       + (w.feminine ? " плохо защищена: она не удержится." : " плохо защищен: он не удержится."));
            }
            break;
        }
    }
    if (!m.capture && type >= 2 && type <= 5) {
        const int before = LegalMovesOf(B, m.from), after = LegalMovesOf(Flipped(A), m.to);
        if (before <= 4 && after >= before + 4 && MayName(B, Kind(mover))) {
            const PieceWords& w = Words(Kind(mover));
            b.Add(Motif::Plan, "Улучшите положение худшей фигуры.");
            if (LegalMovesOf(B, m.from) >= 3)
                b.Add(Motif::Plan, Capitalised(w.nom) + " на " + Name(m.from) + (w.feminine ? " стоит пассивно: найдите ей" : " стоит пассивно: найдите ему")
                                       + " поле, где " + (w.feminine ? "она" : "он") + " будет работать.");
        }
    }
    if (!m.capture && type >= 2 && type <= 5) {
        const int before = LegalMovesOf(B, m.from), after = LegalMovesOf(Flipped(A), m.to);
        if (after >= before + 3) {
            b.Add(Motif::Plan, "Активизируйте фигуры.");
            if (MayName(B, Kind(mover)) && wingChoice(type))
                b.Add(Motif::Plan, "Активизируйте " + std::string(Words(Kind(mover)).acc) + " " + WingPhrase(m.to) + ".");
        }
    }
    if (type == 1 && !m.capture) {
        // A pawn majority on the wing of the move.
        auto pawnsOn = [&](int8_t pawn) {
            int n = 0;
            for (int sq = 0; sq < 64; ++sq)
                if (A.At(sq) == pawn && WingPhrase(sq) == WingPhrase(m.to))
                    ++n;
            return n;
        };
        // ... that is still to give a passed pawn: the moved one is not passed yet.
        if (pawnsOn(ownPawn) > pawnsOn(enemyPawn) && pawnsOn(enemyPawn) > 0 && !PassedPawn(A, m.to)
            && WingPhrase(m.to) != "в центре") {
            b.Add(Motif::Plan, "Двигайте пешечное большинство.");
            if (wingChoice(1)) {
                b.Add(Motif::Plan, "Пешечное большинство " + WingPhrase(m.to) + " должно дать проходную.");
                b.Add(Motif::Plan, "Пешечное большинство " + b.Own() + " " + WingPhrase(m.to) + " — залог будущей проходной.");
            }
        }
    }
    // A battery only where it stays: not when the piece is taken at once or
    // the queens come off.
    const bool takenAtOnce = r.moves.size() > 1 && r.moves[1].to == m.to;
    if (!m.capture && (type == 4 || type == 5) && !takenAtOnce && !queensTraded) {
        for (int dr : {1, -1})
            for (int rank = fullchess::RankOf(m.to) + dr; rank >= 0 && rank < 8; rank += dr) {
                const int8_t piece = A.At(fullchess::MakeSquare(fullchess::FileOf(m.to), rank));
                if (piece == 0)
                    continue;
                if (Own(piece, W) && (std::abs(piece) == 4 || std::abs(piece) == 5)) {
                    b.Add(Motif::Plan, "Сдвойте тяжелые фигуры.");
                    if (choiceOnto(fullchess::FileOf(m.to), false))
                        b.Add(Motif::Plan, "Сдвоение тяжелых фигур по линии «" + FileName(m.to) + "» усиливает давление.");
                }
                break;
            }
    }
    if (!m.capture && (type == 2 || type == 3)) {
        const int ahead = m.to + (W ? -8 : 8);
        if (ahead >= 0 && ahead < 64 && A.At(ahead) == enemyPawn && PassedPawn(A, ahead)) {
            b.Add(Motif::Plan, "Блокируйте проходную пешку соперника.");
            b.Add(Motif::Plan, "Проходную пешку " + opp + " на " + Name(ahead) + " надо остановить: поставьте перед ней фигуру.");
        }
    }
    if (!m.capture && type == 4) {
        for (int rank = 0; rank < 8; ++rank) {
            const int sq = fullchess::MakeSquare(fullchess::FileOf(m.to), rank);
            const bool behind = W ? rank > fullchess::RankOf(m.to) : rank < fullchess::RankOf(m.to);
            // With a pawn to name, the file is named as well.
            if (behind && A.At(sq) == ownPawn && PassedPawn(A, sq) && choiceOnto(fullchess::FileOf(sq), true)) {
                b.Add(Motif::Plan, "Ладья должна стоять позади проходной пешки.");
                b.Add(Motif::Plan, "Поддержите проходную пешку по линии «" + FileName(sq) + "» ладьей сзади.");
            }
        }
    }
    if (m.capture && type == 1 && std::abs(B.At(m.to)) == 1 && !FileHasPawn(A, fullchess::FileOf(m.from), ownPawn)) {
        b.Add(Motif::Plan, "Размен пешек вскрывает игру.");
        b.Add(Motif::Plan, "Размен пешек открывает линию «" + FileName(m.from) + "» для ваших фигур.");
    }
    if (b.out.empty()) {
        b.Add(Motif::Plan, "Найдите позиционно сильнейший ход.");
        b.Add(Motif::Plan, "Все ходы, кроме одного, ухудшают позицию. Найдите этот ход.");
    }
}

} // namespace

std::vector<Hint> HintVariants(const Candidate& c, int tokens, bool drawTest)
{
    const auto root = Position::FromFen(c.fen);
    if (!root || c.line.moves.empty())
        return {{"Найдите сильнейшее продолжение.", Motif::None}};
    const auto first = root->ParseUci(c.line.moves.front());
    Builder b{*root, first ? *first : Move{}, root->WhiteToMove(), {}};
    const LineStory story = ReadStory(c, tokens);
    if (drawTest) {
        if (story.stalemate) {
            b.Add(Motif::Stalemate, kHintStalemate);
            b.Add(Motif::Stalemate, "Спасение — в пате.");
            const int king = KingOf(*root, root->WhiteToMove());
            if (king >= 0 && LegalMovesOf(*root, king) == 0)
                b.Add(Motif::Stalemate, "Король " + b.Own() + " заперт: ищите пат.");
        } else if (story.perpetual) {
            b.Add(Motif::Perpetual, "Спасите партию вечным шахом.");
            b.Add(Motif::Perpetual, "Ничью дает вечный шах.");
            const int king = KingOf(*root, !root->WhiteToMove());
            if (king >= 0)
                b.Add(Motif::Perpetual, "Королю " + b.Opp() + " на " + Name(king) + " не уйти от вечного шаха.");
        } else {
            b.Add(Motif::None, "Найдите единственный ход, который сохраняет равновесие.");
            b.Add(Motif::None, "Только точная защита спасает партию.");
            b.Add(Motif::None, "Все ходы, кроме одного, проигрывают. Найдите ничью за " + b.Own() + ".");
        }
        return b.out;
    }
    if (c.kind == TaskKind::Strategy)
        StrategyHints(b, c, tokens);
    else
        TacticHints(b, c, tokens, story, FindMotifs(Replay(c, tokens, 16)));
    // The same text twice is one variant.
    std::vector<Hint> unique;
    for (const Hint& h : b.out)
        if (std::none_of(unique.begin(), unique.end(), [&](const Hint& u) { return u.text == h.text; }))
            unique.push_back(h);
    return unique;
}

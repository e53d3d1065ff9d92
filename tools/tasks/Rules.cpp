#include "Rules.h"

#include "BoardFacts.h"

#include <algorithm>

using fullchess::Move;
using fullchess::Position;
using material::Balance;

StartFacts ReadStart(const Position& root, const std::string& firstMove)
{
    StartFacts facts;
    facts.inCheck = root.InCheck();
    facts.legalMoves = static_cast<int>(root.LegalMoves().size());
    if (const auto move = root.ParseUci(firstMove))
        facts.firstMoveChecks = root.After(*move).InCheck();
    return facts;
}

const char* LineEndName(LineEnd end)
{
    switch (end) {
    case LineEnd::None: return "no point";
    case LineEnd::Mate: return "mate";
    case LineEnd::MateNext: return "mate next move";
    case LineEnd::Stalemate: return "stalemate";
    case LineEnd::Perpetual: return "perpetual check";
    case LineEnd::MaterialWon: return "material won";
    case LineEnd::DecisiveEdge: return "decisive edge";
    case LineEnd::Quiet: return "quiet";
    case LineEnd::Repeats: return "repeats a position";
    }
    return "?";
}

namespace {

// Mating moves of the side to move.
int MatesInOne(const Position& p)
{
    int n = 0;
    for (const Move& m : p.LegalMoves())
        if (p.After(m).IsCheckmate())
            ++n;
    return n;
}

} // namespace

LineBoard ReplayLine(const Position& root, const std::vector<std::string>& moves, int count)
{
    LineBoard board{root, root, {}, 0, false, false, false, false, false, false};
    const bool white = root.WhiteToMove();
    Position p = root;
    std::vector<std::string> seen{root.Placement() + (root.WhiteToMove() ? " w" : " b")};
    for (int i = 0; i < count && i < static_cast<int>(moves.size()); ++i) {
        const auto move = p.ParseUci(moves[static_cast<std::size_t>(i)]);
        if (!move)
            break;
        p.Play(*move);
        board.positions.push_back(p);
        const std::string key = p.Placement() + (p.WhiteToMove() ? " w" : " b");
        for (const auto& k : seen)
            board.repeats = board.repeats || k == key;
        seen.push_back(key);
    }
    board.end = p;
    board.balanceGain = Balance(p, white) - Balance(root, white);
    const auto replies = p.LegalMoves();
    board.lastMoveChecks = p.InCheck();
    board.mate = replies.empty() && p.InCheck();
    board.stalemate = replies.empty() && !p.InCheck();
    if (!replies.empty()) {
        bool always = true, notUnique = false;
        for (const Move& r : replies) {
            const int mates = MatesInOne(p.After(r));
            always = always && mates > 0;
            notUnique = notUnique || mates > 1;
            if (!always)
                break;
        }
        board.mateNext = always && notUnique;
        bool stalemates = true;
        for (const Move& r : replies)
            stalemates = stalemates && p.After(r).IsStalemate();
        board.stalemateForced = stalemates;
    }
    return board;
}

LineEnd JudgeEnd(TaskKind kind, const LineBoard& board, const Score& after)
{
    if (kind == TaskKind::Strategy)
        return board.repeats ? LineEnd::Repeats : LineEnd::Quiet;
    if (board.mate)
        return LineEnd::Mate;
    if (board.stalemate || (kind == TaskKind::Draw && board.stalemateForced))
        return LineEnd::Stalemate;
    if (kind == TaskKind::Draw && board.lastMoveChecks && board.repeats)
        return LineEnd::Perpetual;
    if (kind == TaskKind::Draw)
        return LineEnd::None;
    if (board.mateNext)
        return LineEnd::MateNext;
    if (board.balanceGain >= kMaterialPoint)
        return LineEnd::MaterialWon;
    const bool decisive = after.Mates() || (!after.IsMate() && after.value >= kDecisiveCp);
    if (decisive && board.balanceGain >= 0)
        return LineEnd::DecisiveEdge;
    return LineEnd::None;
}

bool EndIsPoint(TaskKind kind, LineEnd end, const Score& after)
{
    switch (kind) {
    case TaskKind::Strategy:
        return end == LineEnd::Quiet;
    case TaskKind::Draw:
        // A drawing line that is neither stalemate nor perpetual check ends
        // level (a fortress, a drawn ending reached by force).
        return end == LineEnd::Stalemate || end == LineEnd::Perpetual
            || (end == LineEnd::None && !after.IsMate() && after.value >= -kDrawFinalCp && after.value <= kDrawFinalCp);
    case TaskKind::Tactic:
        return end != LineEnd::None && end != LineEnd::Stalemate;
    }
    return false;
}

bool ExchangeEntry(std::string_view entry)
{
    return std::find(kExchangeEntries.begin(), kExchangeEntries.end(), entry) != kExchangeEntries.end();
}

MoveKind KindOfMove(const Position& root, const Move& move)
{
    const Position after = root.After(move);
    return after.IsCheckmate() ? MoveKind::Mate : after.InCheck() ? MoveKind::Check : move.capture ? MoveKind::Capture : MoveKind::Quiet;
}

const char* MoveKindName(MoveKind kind)
{
    switch (kind) {
    case MoveKind::Quiet: return "quiet";
    case MoveKind::Capture: return "capture";
    case MoveKind::Check: return "check";
    case MoveKind::Mate: return "mate";
    }
    return "?";
}

namespace {

// A single move that a club player finds without looking: it takes a man no
// one guards, takes a piece that nothing can take back, or pushes the only
// passed pawn there is.
std::string BelowClubLevel(const Position& root, const Move& move)
{
    const bool white = root.WhiteToMove();
    const fullchess::PieceType taken = material::KindOf(root.At(move.to));
    if (move.capture && taken != fullchess::Empty && !facts::Defended(root, move.to))
        return "a one-move test takes the unguarded man on " + facts::Name(move.to);
    if (move.capture && taken != fullchess::Pawn && taken != fullchess::Empty) {
        const Position after = root.After(move);
        const bool back = facts::LegalMovesWhere(after, [&](const Move& m) { return m.to == move.to; }) > 0;
        if (!back)
            return "a one-move test wins the piece on " + facts::Name(move.to) + " that nothing can take back";
    }
    if (material::KindOf(root.At(move.from)) == fullchess::Pawn && !move.capture && facts::PassedPawn(root, move.from)) {
        int passed = 0;
        for (int sq = 0; sq < 64; ++sq)
            passed += facts::Own(root.At(sq), white) && facts::PassedPawn(root, sq) ? 1 : 0;
        if (passed == 1)
            return "a one-move test pushes the only passed pawn";
    }
    return {};
}

// What the line wins for the user. A line that stops in the middle of an
// exchange (its last move takes, and the piece can be taken back) wins what
// stays once it is taken back: the recapture is the opponent's next move,
// not a choice, and counting the board would make a trade of rooks a rook won.
int GainAfterRecapture(const LineBoard& board)
{
    const Position& before = board.positions.size() > 1 ? board.positions[board.positions.size() - 2] : board.start;
    const Position& end = board.end;
    int gain = board.balanceGain;
    if (board.positions.empty())
        return gain;
    for (const Move& m : before.LegalMoves())
        if (m.capture && before.After(m).Placement() == end.Placement()) {
            if (facts::LegalMovesWhere(end, [&](const Move& r) { return r.to == m.to; }) > 0)
                gain -= material::Worth(material::KindOf(end.At(m.to)));
            break;
        }
    return gain;
}

} // namespace

std::vector<std::string> ContentProblems(TaskKind kind, const Position& root, const std::vector<std::string>& moves,
                                         std::string_view hintEntry)
{
    std::vector<std::string> found;
    const auto first = moves.empty() ? std::nullopt : root.ParseUci(moves.front());
    if (!first)
        return {"no first move"};
    const LineBoard board = ReplayLine(root, moves, static_cast<int>(moves.size()));
    if (kind == TaskKind::Strategy) {
        if (KindOfMove(root, *first) != MoveKind::Quiet && !ExchangeEntry(hintEntry))
            found.push_back(std::string("a strategy test starts with a ")
                            + (first->capture ? "capture" : "check") + " and its hint names no exchange");
        if (const int gain = GainAfterRecapture(board); gain >= kStrategyGainLimit)
            found.push_back("a strategy line wins " + std::to_string(gain) + " points of material");
        return found;
    }
    // A tactics line is judged on the board after its last move: a line
    // that stops with material given teaches giving it.
    if (moves.size() == 1)
        if (const std::string low = BelowClubLevel(root, *first); !low.empty())
            found.push_back(low);
    if (kind == TaskKind::Tactic && board.balanceGain < 0 && !board.mate)
        found.push_back("the line ends " + std::to_string(-board.balanceGain) + " points of material down");
    return found;
}

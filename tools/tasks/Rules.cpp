#include "Rules.h"

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

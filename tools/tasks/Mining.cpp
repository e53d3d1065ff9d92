#include "Mining.h"

#include <cstdlib>

using fullchess::Move;
using fullchess::Position;

char KindLetter(TaskKind kind)
{
    switch (kind) {
    case TaskKind::Tactic: return 'T';
    case TaskKind::Draw: return 'D';
    case TaskKind::Strategy: return 'S';
    }
    return '?';
}

std::optional<TaskKind> KindFromLetter(char c)
{
    switch (c) {
    case 'T': return TaskKind::Tactic;
    case 'D': return TaskKind::Draw;
    case 'S': return TaskKind::Strategy;
    default: return std::nullopt;
    }
}

std::string EngineFen(const Position& position)
{
    return position.Placement() + (position.WhiteToMove() ? " w - - 0 1" : " b - - 0 1");
}

bool UserMoveAcceptable(TaskKind kind, const Score& best, const std::optional<Score>& second, bool first)
{
    switch (kind) {
    case TaskKind::Tactic: {
        const double secondChance = second ? second->WinChance() : -1.0;
        return best.WinChance() - secondChance > kTacticGap;
    }
    case TaskKind::Draw: {
        if (best.IsMate() || best.value < -kDrawFinalCp || best.value > kDrawFinalCp)
            return false;
        return !second || second->Rank() <= kDrawSecondCp;
    }
    case TaskKind::Strategy: {
        if (best.IsMate())
            return false;
        if (first && (best.value > kStrategyOpenCp || best.value < -kStrategyOpenCp))
            return false;
        if (!second)
            return false;  // a forced move teaches nothing
        if (second->IsMate())
            return second->Mated();
        return best.value - second->value >= kStrategyMarginCp;
    }
    }
    return false;
}

bool LineMayEnd(TaskKind kind, const UserStep& step)
{
    switch (kind) {
    case TaskKind::Tactic:
        return step.mateOnBoard || step.after.Mates() || (!step.after.IsMate() && step.after.value >= kTacticFinalCp);
    case TaskKind::Draw:
        return step.stalemateOnBoard
            || (!step.after.IsMate() && step.after.value >= -kDrawFinalCp && step.after.value <= kDrawFinalCp);
    case TaskKind::Strategy:
        return !step.mateOnBoard && !step.stalemateOnBoard;
    }
    return false;
}

namespace {

bool Playable(const Move& m) { return !m.castling && m.promotion == fullchess::Empty && !m.enPassant; }

// Grows `line` by user moves and replies from `position`, the user to move
// after `moves` from the root `fen`. False when a new line's first move is the
// only legal one.
bool GrowLine(TaskKind kind, const std::string& fen, Position position, std::vector<std::string> moves,
              int maxTokens, const Analyser& engine, BuiltLine& line)
{
    for (;;) {
        // The user's move.
        EngineAnswer user;
        if (!engine(fen, moves, 2, user) || user.scores.empty())
            break;
        const bool first = line.steps.empty();
        std::optional<Score> second;
        if (user.scores.size() > 1)
            second = user.scores[1];
        if (first && !second)
            return false;  // the only legal move is no test
        if (!UserMoveAcceptable(kind, user.scores[0], second, first))
            break;
        const auto move = position.ParseUci(user.bestMove);
        if (!move || !Playable(*move))
            break;
        Position next = position.After(*move);
        std::vector<std::string> nextMoves = moves;
        nextMoves.push_back(user.bestMove);

        UserStep step{user.scores[0], second, user.scores[0], false, false};
        EngineAnswer reply;
        const auto replies = next.LegalMoves();
        if (replies.empty()) {
            step.mateOnBoard = next.InCheck();
            step.stalemateOnBoard = !next.InCheck();
            step.after = step.mateOnBoard ? Score::MateIn(1) : Score::Cp(0);
        } else {
            if (!engine(fen, nextMoves, 1, reply) || reply.scores.empty())
                break;
            step.after = reply.scores[0].Negated();
        }
        // Accept the user move into the line (the reply that led here, if
        // any, is already in `moves`).
        line.moves = nextMoves;
        line.steps.push_back(step);
        line.continuation = reply.pv.empty() ? std::vector<std::string>{} : reply.pv;
        moves = nextMoves;
        position = next;
        if (replies.empty() || static_cast<int>(moves.size()) + 2 > maxTokens)
            break;
        const auto answer = position.ParseUci(reply.bestMove);
        if (!answer || !Playable(*answer))
            break;
        position.Play(*answer);
        moves.push_back(reply.bestMove);
    }
    return true;
}

} // namespace

std::optional<BuiltLine> BuildLine(TaskKind kind, const Position& root, int maxTokens, const Analyser& engine)
{
    BuiltLine line;
    if (!GrowLine(kind, EngineFen(root), root, {}, maxTokens, engine, line) || line.steps.empty())
        return std::nullopt;
    return line;
}

BuiltLine ExtendLine(TaskKind kind, const Position& root, const BuiltLine& line, int maxTokens, const Analyser& engine)
{
    BuiltLine longer = line;
    if (line.steps.empty() || line.continuation.empty() || line.steps.back().mateOnBoard
        || line.steps.back().stalemateOnBoard || static_cast<int>(line.moves.size()) + 2 > maxTokens)
        return longer;
    Position position = root;
    std::vector<std::string> moves = line.moves;
    moves.push_back(line.continuation.front());
    for (const auto& uci : moves) {
        const auto move = position.ParseUci(uci);
        if (!move || !Playable(*move))
            return longer;
        position.Play(*move);
    }
    GrowLine(kind, EngineFen(root), position, moves, maxTokens, engine, longer);
    return longer;
}

std::string ReplyProblem(const std::string& fen, const std::vector<std::string>& prefix, const std::string& stored,
                         const EngineAnswer& first, const Analyser& engine)
{
    const auto lost = [](const EngineAnswer& a) { return !a.scores.empty() && a.scores[0].Rank() <= -kLostCp; };
    if (lost(first))
        return {};
    EngineAnswer all;
    if (!engine(fen, prefix, kReplyLines, all) || all.scores.empty())
        return "engine failed";
    if (lost(all))
        return {};
    const std::string number = std::to_string(prefix.size() + 1);
    for (std::size_t k = 0; k < all.moves.size() && k < all.scores.size(); ++k) {
        if (all.moves[k] != stored)
            continue;
        if (all.scores[0].Rank() - all.scores[k].Rank() <= kReplyToleranceCp)
            return {};
        return "reply " + number + " " + stored + " is not within " + std::to_string(kReplyToleranceCp)
            + " cp of the first choice (" + all.scores[0].Text() + " vs " + all.scores[k].Text() + ")";
    }
    return "reply " + number + " " + stored + " is not among the first " + std::to_string(kReplyLines)
        + " choices (" + all.scores[0].Text() + ")";
}

namespace {

// Why a first choice may not stand as a user move: it is not clear of the
// second choice, or (the first move of a strategy test) the start is already
// decided.
std::string UnclearProblem(TaskKind kind, bool first, const std::string& number, const std::string& move,
                           const Score& best, const std::optional<Score>& second)
{
    const std::string both = best.Text() + " vs " + (second ? second->Text() : std::string("none"));
    if (kind == TaskKind::Strategy && first && !best.IsMate() && std::abs(best.value) > kStrategyOpenCp)
        return "the start is already decided (" + both + "; a strategy test starts within "
            + std::to_string(kStrategyOpenCp) + " cp)";
    return "move " + number + " " + move + " is not clear of the second choice (" + both + ")";
}

} // namespace

LineWalk WalkLine(TaskKind kind, const Position& root, const std::vector<std::string>& moves, const Analyser& engine,
                  bool judgeReplies)
{
    LineWalk walk;
    const std::string fen = EngineFen(root);
    Position position = root;
    std::vector<std::string> prefix;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        const auto move = position.ParseUci(moves[i]);
        if (!move) {
            walk.problem = "move " + number + " " + moves[i] + " is illegal";
            return walk;
        }
        if (!Playable(*move)) {
            walk.problem = "move " + number + " castles, promotes or takes en passant";
            return walk;
        }
        if (i % 2 == 1) {
            position.Play(*move);
            prefix.push_back(moves[i]);
            continue;
        }
        EngineAnswer user;
        if (!engine(fen, prefix, 2, user) || user.scores.empty()) {
            walk.problem = "engine failed";
            return walk;
        }
        if (user.bestMove != moves[i]) {
            walk.problem = "move " + number + " " + moves[i] + " is not the first choice (" + user.bestMove + ")";
            return walk;
        }
        std::optional<Score> second;
        if (user.scores.size() > 1)
            second = user.scores[1];
        if (!UserMoveAcceptable(kind, user.scores[0], second, i == 0)) {
            walk.problem = UnclearProblem(kind, i == 0, number, moves[i], user.scores[0], second);
            return walk;
        }
        position.Play(*move);
        prefix.push_back(moves[i]);
        UserStep step{user.scores[0], second, user.scores[0], false, false};
        if (position.LegalMoves().empty()) {
            step.mateOnBoard = position.InCheck();
            step.stalemateOnBoard = !position.InCheck();
            step.after = step.mateOnBoard ? Score::MateIn(1) : Score::Cp(0);
            walk.steps.push_back(step);
            if (i + 1 < moves.size())
                walk.problem = "the line goes on after the game has ended";
            return walk;
        }
        EngineAnswer reply;
        if (!engine(fen, prefix, 1, reply) || reply.scores.empty()) {
            walk.problem = "engine failed";
            return walk;
        }
        step.after = reply.scores[0].Negated();
        walk.steps.push_back(step);
        if (judgeReplies && i + 1 < moves.size() && reply.bestMove != moves[i + 1]) {
            walk.problem = ReplyProblem(fen, prefix, moves[i + 1], reply, engine);
            if (!walk.problem.empty())
                return walk;
        }
    }
    return walk;
}

std::vector<std::string> OnlyMateAfter(const Position& root, const std::vector<std::string>& moves, const Analyser& engine)
{
    const std::string fen = EngineFen(root);
    std::vector<std::string> prefix = moves, rest;
    for (int left = kMateToFinish; left > 0; --left) {
        EngineAnswer defence;  // the other side to move
        if (!engine(fen, prefix, 1, defence) || defence.scores.empty())
            return {};
        const Score& d = defence.scores[0];
        if (!d.Mated() || d.value == 0 || -d.value > left)
            return {};
        prefix.push_back(defence.bestMove);
        rest.push_back(defence.bestMove);
        EngineAnswer user;
        if (!engine(fen, prefix, 2, user) || user.scores.empty() || !user.scores[0].Mates())
            return {};
        if (user.scores.size() > 1 && user.scores[1].Mates())
            return {};  // another move mates as well: the user may finish either way
        prefix.push_back(user.bestMove);
        rest.push_back(user.bestMove);
        if (user.scores[0].value == 1)
            return rest;
    }
    return {};
}

std::string CheckLine(TaskKind kind, const Position& root, const std::vector<std::string>& moves, const Analyser& engine)
{
    if (moves.empty() || moves.size() % 2 == 0)
        return "the line must have an odd number of moves";
    const LineWalk walk = WalkLine(kind, root, moves, engine);
    if (!walk.problem.empty())
        return walk.problem;
    if (!LineMayEnd(kind, walk.steps.back()))
        return "the line ends without the required outcome (" + walk.steps.back().after.Text() + ")";
    return {};
}

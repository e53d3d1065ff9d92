#pragma once
// Finding test positions in master games and building their solution lines
// with the engine.
//
// A test's line alternates the user's moves with the engine's replies and
// ends with a user move. Every user move must be the engine's first choice and
// clear of the second by the kind's margin; every reply is the engine's first
// choice. Lines never hold castling, promotion or en-passant moves, because
// the program's own move rules know none of them.
#include "Score.h"
#include "chess/Position.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class TaskKind { Tactic, Draw, Strategy };
char KindLetter(TaskKind kind);
std::optional<TaskKind> KindFromLetter(char c);

// The engine as the mining and checking code sees it: analyse the position
// `fen` after `moves` with `multiPv` lines; false when the engine failed.
struct EngineAnswer {
    std::vector<Score> scores;  // best first; empty when the side to move has no move
    std::string bestMove;       // UCI, "(none)" when there is no move
    std::vector<std::string> pv;  // the best line
    std::vector<std::string> moves;  // the first move of each line, best first
};
using Analyser = std::function<bool(const std::string& fen, const std::vector<std::string>& moves, int multiPv,
                                    EngineAnswer& out)>;

// Margins. A tactic's user move must beat the second choice by more than
// kTacticGap in win chance; after its last move the user is kTacticFinalCp up
// or mates.
constexpr double kTacticGap = 0.7;
constexpr int kTacticFinalCp = 200;
constexpr int kDrawSecondCp = -200;  // every other move of a draw test loses at least this much
constexpr int kDrawFinalCp = 50;     // a drawn end is within this of equality (or stalemate)
constexpr int kStrategyMarginCp = 40;
constexpr int kStrategyOpenCp = 300;  // a strategy test starts undecided
constexpr int kStrategyStandCp = -100;  // and the user stands at least this well after the first move

// One user move of a line, with what the engine said about it.
struct UserStep {
    Score best;
    std::optional<Score> second;  // none when the move was the only legal one
    Score after;                  // the position after the move, for the user
    bool mateOnBoard = false;     // the move mates
    bool stalemateOnBoard = false;  // the move leaves the other side without a move, not in check

    // How clearly the move stands out: the gap in win chance between the
    // first and the second choice; 2 where the move was the only one.
    double Margin() const { return second ? best.WinChance() - second->WinChance() : 2.0; }
};

struct BuiltLine {
    std::vector<std::string> moves;  // UCI, user moves at even indexes
    std::vector<UserStep> steps;     // one per user move
    std::vector<std::string> continuation;  // engine's line after the last user move
};

// Whether a user move with these scores may stand in a line of this kind.
bool UserMoveAcceptable(TaskKind kind, const Score& best, const std::optional<Score>& second, bool first);
// Whether a line may end after a user move with this outcome.
bool LineMayEnd(TaskKind kind, const UserStep& step);

// Builds the longest line from `root` (user to move) by the rules above, at
// most `maxTokens` tokens. The line may still be cut to any shorter odd length
// whose last step LineMayEnd allows.
std::optional<BuiltLine> BuildLine(TaskKind kind, const fullchess::Position& root, int maxTokens, const Analyser& engine);
// Goes on from the end of `line` by the same rules: the engine's reply stored
// after the last user move, then further user moves while they hold. The line
// comes back unchanged when it cannot grow.
BuiltLine ExtendLine(TaskKind kind, const fullchess::Position& root, const BuiltLine& line, int maxTokens,
                     const Analyser& engine);

// Walks a stored line with the engine: every user move must be the first
// choice and clear of the second by the kind's margin. With `judgeReplies`,
// every reply is the first choice or within kReplyToleranceCp of it, both
// scores from one search of up to kReplyLines lines; in a position already
// lost for the replying side (kLostCp down or mated) any reply stands, as the
// user's next move must still be the only win. Stops at the first failure,
// keeping the steps that held.
constexpr int kReplyToleranceCp = 30;
constexpr int kLostCp = 600;
constexpr int kReplyLines = 4;
struct LineWalk {
    std::vector<UserStep> steps;
    std::string problem;  // empty when the whole line held
};
LineWalk WalkLine(TaskKind kind, const fullchess::Position& root, const std::vector<std::string>& moves,
                  const Analyser& engine, bool judgeReplies = true);
// Why the stored reply `stored` may not stand where the engine's first choice
// (`first`, from a search of one line) differs; empty when it may.
std::string ReplyProblem(const std::string& fen, const std::vector<std::string>& prefix, const std::string& stored,
                         const EngineAnswer& first, const Analyser& engine);

// After the last user move of `moves`: the user's forced mate in at most
// kMateToFinish moves in which every mating move is the only mate, as the UCI
// moves that would finish the line (replies included); empty when the engine
// sees no such mate. A line that stops there stops before its point.
constexpr int kMateToFinish = 3;
std::vector<std::string> OnlyMateAfter(const fullchess::Position& root, const std::vector<std::string>& moves,
                                       const Analyser& engine);

// Re-checks a stored line: the walk, and an allowed outcome after the last
// move; empty string when sound, else the reason.
std::string CheckLine(TaskKind kind, const fullchess::Position& root, const std::vector<std::string>& moves,
                      const Analyser& engine);

// The FEN the engine is given for a stored position: placement and side only,
// no castling rights, no en-passant square.
std::string EngineFen(const fullchess::Position& position);

#pragma once
// What a test must be on the board, apart from the engine's margins: a start
// that asks for thought, and a line that ends at its point. All of it is read
// off the position and the moves, without an engine, so that `select` can
// sort the candidates cheaply and `verify` can say exactly what is wrong.
#include "Material.h"
#include "Mining.h"
#include "chess/Position.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

using material::Material;

// The start: not in check, and at least kMinStartMoves legal moves.
constexpr int kMinStartMoves = 5;
struct StartFacts {
    bool inCheck = false;
    int legalMoves = 0;
    bool firstMoveChecks = false;  // the line's first move gives check
    bool AsksForThought() const { return !inCheck && legalMoves >= kMinStartMoves; }
};
StartFacts ReadStart(const fullchess::Position& root, const std::string& firstMove);

// How a line ends, judged on the board after its last (user) move.
enum class LineEnd {
    None,          // no point reached
    Mate,          // the user's last move mates
    MateNext,      // every defence allows a mate in one, by more than one move
    Stalemate,     // the user's last move stalemates, or every reply stalemates the user
    Perpetual,     // the user's last move checks and repeats a position of the line
    MaterialWon,   // the user is at least kMaterialPoint better off than at the start
    DecisiveEdge,  // the engine gives the user kDecisiveCp or more, material no worse
    Quiet,         // a strategy line that repeats no position
    Repeats,       // a strategy line that comes back to a position it had
};
constexpr int kMaterialPoint = 2;
constexpr int kDecisiveCp = 300;
const char* LineEndName(LineEnd end);

// The board facts of a line cut after `count` moves (UCI, user first).
struct LineBoard {
    fullchess::Position start, end;
    std::vector<fullchess::Position> positions;  // after each move
    int balanceGain = 0;  // (user - opponent material) at the end less at the start
    bool mate = false, stalemate = false, lastMoveChecks = false, repeats = false;
    bool mateNext = false;  // every defence allows a mate in one, and the mate is not unique
    // Every legal reply leaves the user without a move, not in check: the
    // opponent must take the offered piece and stalemate (the line itself
    // ends with the user's move, so this is how a stalemate save ends).
    bool stalemateForced = false;
};
LineBoard ReplayLine(const fullchess::Position& root, const std::vector<std::string>& moves, int count);

// How the line of `kind` cut after `count` moves ends; `after` is the engine's
// score for the user after the last move (from the candidate or a search).
LineEnd JudgeEnd(TaskKind kind, const LineBoard& board, const Score& after);
// Whether that end is the point of a test of this kind (a draw test needs
// stalemate, perpetual check or an even score; see the rules in the .cpp).
bool EndIsPoint(TaskKind kind, LineEnd end, const Score& after);

// What a test of each kind may do with material and with its first move:
//  - a strategy line starts with a quiet move (no capture, no check) unless
//    its hint names an exchange as the device, and wins less than
//    kStrategyGainLimit by its end;
//  - a one-move tactics test does not take an unguarded man, win a piece that
//    cannot be taken back, or push the user's only passed pawn: none of that
//    is a test for a club player;
//  - a tactics line ends with the user's material no worse than at the start,
//    unless it mates (a draw test ends in the draw it asks for).
// `moves` is the line as stored (UCI, user first), `hintEntry` the catalogue
// entry of the record's hint. The selection and verify both judge by this.
constexpr int kStrategyGainLimit = 3;
std::vector<std::string> ContentProblems(TaskKind kind, const fullchess::Position& root,
                                         const std::vector<std::string>& moves, std::string_view hintEntry);
// The catalogue entries whose device is an exchange.
bool ExchangeEntry(std::string_view entry);
inline constexpr std::array<std::string_view, 7> kExchangeEntries{
    "plan.queen-trade", "plan.queen-trade-weaknesses", "plan.trade", "plan.trade-simplifies",
    "plan.pawn-trade", "plan.pawn-trade-file", "by-hand.exchange"};

// What a single move does, the strongest first: mates, checks, takes, or none of these.
enum class MoveKind { Quiet, Capture, Check, Mate };
MoveKind KindOfMove(const fullchess::Position& root, const fullchess::Move& move);
const char* MoveKindName(MoveKind kind);

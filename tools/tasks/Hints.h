#pragma once
// Hints and task texts for the tests, derived from what each solution line
// actually does on the board.
//
// A hint names the idea of its own line in the words of a chess book: the
// mate (by which piece, in how many moves), the sacrifice, the fork, the pin,
// the deflection, the open file, the outpost... Every hint is true of the
// position and of the line as stored, and none gives the move away: it never
// names a piece of the side to move that has fewer than three legal moves,
// nor the square the first move goes to (`HintProblems` checks exactly this).
// Each test gets a list of true hints, from the most general to the most
// particular; the selection picks among them so that general hints repeat a
// little across tests and particular ones stay unique.
#include "Candidate.h"
#include "Rules.h"

#include <string>
#include <vector>

inline const std::string kHintMateWithSacrifice = "Поставьте мат с жертвой.";
inline const std::string kHintQueenThePawn = "Проведите пешку в ферзи.";
inline const std::string kHintStalemate = "Сделайте ничью патом.";

enum class Motif {
    None,
    Mate,
    MatingAttack,
    Sacrifice,
    Fork,
    Pin,
    DiscoveredAttack,
    DiscoveredCheck,
    DoubleCheck,
    Deflection,
    Decoy,
    Interference,
    RemovalOfDefender,
    Overload,
    Intermezzo,
    Clearance,
    Trap,
    Breakthrough,
    PassedPawn,
    Perpetual,
    Stalemate,
    MaterialWin,
    ActiveKing,
    Zugzwang,
    // Strategy.
    Plan,
};
// The Russian term, for reports.
const char* MotifName(Motif motif);
// Whether the motif is one of the named devices of a chess book (not a mere
// attack, a material gain or a plan).
bool IsDevice(Motif motif);
// The motif a hint text speaks of, read from its words (None when it names no
// motif of the list).
Motif MotifOfHint(const std::string& hint);

struct Hint {
    std::string text;
    Motif motif = Motif::None;
};

// The hint a trainer wrote for a line whose idea the reader cannot prove from
// the board, by the placement at the start and the length of the line; null
// for every other line. Each was written after the engine's lines from there.
const Hint* WrittenByHand(const Candidate& c, int tokens);

// What a line does on the board, read by replaying it with the engine's
// continuation. Exposed for the selection and the tests.
struct LineStory {
    LineEnd end = LineEnd::None;
    int userMoves = 0;
    bool mates = false;          // the line ends with the user's mating move
    char matingKind = ' ';       // kind letter of the piece that mates
    bool backRank = false, smothered = false;
    bool sacrifice = false;      // the user gives up material the opponent takes
    bool stalemate = false;      // the line ends in stalemate (on the board or forced)
    bool perpetual = false;
    bool promotes = false;       // a pawn of the user's cannot be stopped: the continuation queens it
    int promoterStart = -1;      // where that pawn stood at the start
    bool promoterCaptures = false;  // it takes something on its way
    bool kingMarches = false;    // the user's king moves in the line
    bool pushesPassed = false;   // the user pushes a passed pawn in the line
    std::vector<Motif> motifs;   // every motif found, in the order of the line
};
LineStory ReadStory(const Candidate& candidate, int tokens);

// True hints for the test, general first. Never empty.
std::vector<Hint> HintVariants(const Candidate& candidate, int tokens, bool drawTest);

// What is wrong with `hint` for the test that starts in `root` (side to move
// = the user) and plays `moves` (UCI, the whole stored line): a named piece
// that is not on its square, a named piece of the user's with fewer than
// three legal moves, the square of the first move, "мат в N ходов" against
// the line, the mating piece. Empty when nothing is wrong.
std::vector<std::string> HintProblems(const std::string& hint, const fullchess::Position& root,
                                      const std::vector<std::string>& moves);

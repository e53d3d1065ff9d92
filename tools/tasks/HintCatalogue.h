#pragma once
// The hint catalogue: one entry per way of putting an idea into words. An
// entry has its name (kept in the provenance of every record), its motif,
// the part of the reading that offers it, its phrasing, the guard that says
// when it may be said and the guard that says when it would give the move
// away. One small interpreter (`HintVariants`) reads it; `HintProblems`
// judges a hint with the same give-away guards.
#include "Hints.h"
#include "LineReading.h"

#include <string>
#include <string_view>
#include <vector>

// Where in the reading of a line an entry is offered, in this order. The
// entries of a "per device" part are offered once for every device of that
// motif the line shows, in the order of the line.
enum class HintPart {
    Stalemate,      // draw tests
    Perpetual,
    DrawSaved,
    Mate,           // tactics that end in mate
    MateDevice,     // per device
    Attack,         // tactics without a mate
    Promotion,
    PassedPush,
    ActiveKing,
    Device,         // per device
    MaterialWon,
    TacticGeneral,  // when nothing else was offered
    Plan,           // strategy
    PlanGeneral,    // when nothing else was offered
};

// The facts of a strategy line's first move that its hints need.
struct PlanFacts {
    int8_t mover = 0;
    fullchess::PieceType type = fullchess::Empty;
    int relTo = 0;  // rank the move goes to, counted from the user's side
    bool endgame = false, queensTraded = false;
    bool lever = false, passedAfter = false;
    int weakPawn = -1;  // an enemy pawn the move attacks and the line goes after
    bool weakPawnNeighbour = false;
    int restricted = -1;  // an enemy piece the move leaves one move or none
    int enemyKing = -1;
    bool outpost = false, kingToCentre = false, battery = false, rookBehindPassed = false;
    bool majority = false;
    int blockade = -1;  // the enemy passed pawn next to the square the move goes to
    bool diagonal = false, diagonalA1H8 = false, diagonalToKing = false;
    int gain = 0;       // material won by the line
    fullchess::PieceType wonKind = fullchess::Empty;  // the biggest piece it wins
    PieceRef taken;     // the first piece the user takes
    int mobilityBefore = 0, mobilityAfter = 0;  // of the moved piece
    int hit = -1;             // the enemy piece the move newly attacks that matters most
    bool kingAttack = false;  // every user move of the line goes at the enemy king
    bool kingOffLine = false; // the king steps off lines enemy line pieces aim at it along
    bool scored = false;      // the engine's scores for the user, before and at the end
    int scoreBefore = 0, scoreAfter = 0;
};

// The facts of a tactics line beyond its story.
struct TacticFacts {
    bool attackMates = false;  // every defence allows mate, or the engine sees one
    int promotionSteps = 0;    // squares the queening pawn has to go
    bool kingTooFar = false;   // the enemy king cannot reach the pawn's path
    fullchess::PieceType wonKind = fullchess::Empty;  // the biggest piece the line wins
    PieceRef wonPiece;         // the first such piece the user takes
    bool wonWhereItStood = false;  // taken on its start square: it never got away
};

// Everything an entry may read, computed once per line.
struct LineFacts {
    const Candidate& candidate;
    int tokens;
    const fullchess::Position& root;  // the start, the user to move
    fullchess::Move first;
    bool userWhite;
    const LineStory& story;
    Replayed cut;  // the line alone, without the continuation
    std::string own, opp;  // "белых", "черных"
    std::string in;        // "в 3 хода": the user's moves
    TacticFacts tactic;
    PlanFacts plan;
};

struct HintEntry {
    const char* name;
    Motif motif;
    HintPart part;
    Motif device;  // for a per-device part: the device that offers the entry
    // When it may be said: it is true of the line and the device `found`.
    bool (*holds)(const LineFacts& facts, const Found& found);
    std::string (*phrase)(const LineFacts& facts, const Found& found);
    // When it would give the move away: the idea it names leaves the user no
    // choice at the start. Null where only the words can do that, which
    // HintProblems reads for every entry.
    bool (*givesAway)(const fullchess::Position& root, const fullchess::Move& first);
};

const std::vector<HintEntry>& HintCatalogue();
// The entry of that name, or null.
const HintEntry* FindHintEntry(std::string_view name);

// The facts of the line cut after `tokens` moves.
LineFacts ReadFacts(const Candidate& candidate, int tokens, const fullchess::Position& root, const LineStory& story);

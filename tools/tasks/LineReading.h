#pragma once
// What a line does on the board, read once: the line and the engine's
// continuation replayed with every piece traced back to its square at the
// start, and the devices a chess book names found in it. The hint catalogue
// phrases these facts; it finds nothing itself.
#include "BoardFacts.h"
#include "Candidate.h"
#include "Motif.h"
#include "Rules.h"

#include <array>
#include <cstddef>
#include <vector>

// A piece as the story remembers it: its kind and where it stood at the start
// (-1 when it was not there from the start).
struct PieceRef {
    fullchess::PieceType kind = fullchess::Empty;
    int start = -1;
};

// One device found in the line.
struct Found {
    Motif motif = Motif::None;
    int move = 0;            // index of the user move in the line
    PieceRef user;           // the user's piece that does it
    PieceRef enemy, enemy2;  // the enemy pieces it is aimed at
    bool alongLine = false;  // a clearance of a line rather than of a square
};

// The line and its continuation replayed once.
struct Replayed {
    std::vector<fullchess::Position> positions;  // before each move; one more than moves
    std::vector<fullchess::Move> moves;
    std::vector<std::array<int, 64>> origin;  // per position: start square of each piece, -1 if none
    int lineMoves = 0;                        // how many of the moves belong to the line
    bool userWhite = true;

    static bool IsUser(std::size_t ply) { return ply % 2 == 0; }
    int Origin(std::size_t ply, int sq) const { return origin[ply][static_cast<std::size_t>(sq)]; }
    PieceRef Ref(std::size_t ply, int sq) const { return {facts::KindOf(positions[ply].At(sq)), Origin(ply, sq)}; }
    // The first user move from ply `from` on that takes the piece that
    // started on `start`: in the line, or the first move after it; -1 if none.
    int UserTakes(std::size_t from, int start) const;
};

// The first `tokens` moves of the line and at most `extra` moves after them
// (the rest of the mined line, then the engine's continuation).
Replayed ReplayCandidate(const Candidate& candidate, int tokens, int extra);

// Every device of the line, in the order of its user moves.
std::vector<Found> FindMotifs(const Replayed& line);

// What the line does, for the hints and the selection.
struct LineStory {
    LineEnd end = LineEnd::None;
    int userMoves = 0;
    bool mates = false;  // the line ends with the user's mating move
    fullchess::PieceType matingKind = fullchess::Empty;  // the piece that mates
    bool backRank = false, smothered = false;
    bool sacrifice = false;   // the user gives up material the opponent takes
    bool stalemate = false;   // the line ends in stalemate (on the board or forced)
    bool perpetual = false;
    bool promotes = false;    // a pawn of the user's cannot be stopped: the continuation queens it
    int promoterStart = -1;   // where that pawn stood at the start
    bool promoterCaptures = false;  // it takes something on its way
    bool kingMarches = false;  // the user's king moves in the line
    bool pushesPassed = false; // the user pushes a passed pawn in the line
    std::vector<Found> found;  // every device found, in the order of the line
    std::vector<Motif> motifs; // their motifs
};
// The story of the candidate's line cut after `tokens` moves, read with up to
// 16 moves of the engine's continuation.
LineStory ReadStory(const Candidate& candidate, int tokens);

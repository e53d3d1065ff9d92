#pragma once
// The "mine" command: walks the master games in a fixed shuffled order, probes
// chosen positions cheaply with the engine, and builds full lines for the
// promising ones. Resumable: the number of games done is checkpointed after
// every game, and candidates are appended (and flushed) as they are found.
#include "chess/Position.h"

#include <string>
#include <vector>

struct MineOptions {
    std::string corpusDir;
    std::string outDir = "tools/tasks/mined";
    std::string engine;  // empty: look for stockfish on PATH and in /usr/games
    int shard = 0;
    int shards = 1;
    long long probeNodes = 20000;
    long long checkNodes = 400000;
    double hours = 0;  // stop after this long (0: run to the end)
    int maxGames = 0;  // stop after this many games in this run (0: no limit)
    // Only the drawn games that end in stalemate, probing their last moves for
    // draw tests (stalemate tests are rare among the rest).
    bool stalemateGames = false;
    // Only the decisive games that the winner finished with a run of at least
    // three checks, longest runs first, probing where the run began: the
    // source of the long forced lines.
    bool checkRuns = false;
    // The same for runs of checks and captures, leaving out the games that
    // the check runs already cover.
    bool forcingRuns = false;
    // Decisive games that ended in an ending with little material: every move
    // of the winner in the last thirty plies, where only-move king and pawn
    // manoeuvres give long lines.
    bool endings = false;
    // The check-run games again, probing the winner's moves further back
    // (from twelve to six plies before the run), where a combination that
    // ended in the run may have begun.
    bool earlyRuns = false;
    // Decisive games that the winner finished with exactly two checks in a
    // row, probed like the check runs.
    bool pairRuns = false;
    // The same for the games finished with a single check.
    bool singleRuns = false;
    // Every game, probing only where a side went on to win material or mate
    // within a few moves (read off the game itself, without the engine), for
    // tactics and draws only: the cheap first pass over the whole corpus.
    bool swings = false;
    // Every game, probing only the positions where the side to move would be
    // stalemated once its few pieces are gone (found without the engine):
    // for stalemate saves.
    bool stalemateTricks = false;
};

// The plies of a game whose side to move could be stalemated once its few
// pieces are gone (its king and pawns have no move), as `stalemateTricks`
// probes them.
std::vector<int> StalemateTrickPlies(const std::vector<fullchess::Position>& positions);

// The plies of a game worth an engine probe in the swing pass: positions
// whose side to move won at least two points of material (1/3/3/5/9, held
// for two plies) or mated within the next ten plies, and the winner's move
// two plies earlier; only positions not in check with five legal moves or
// more, castling and en passant aside.
std::vector<int> SwingPlies(const std::vector<fullchess::Position>& positions);

int RunMine(const MineOptions& options);

// The engine program to use: `wanted` when given, else "stockfish" from PATH,
// else /usr/games/stockfish. Empty when none is found.
std::string FindEngine(const std::string& wanted);

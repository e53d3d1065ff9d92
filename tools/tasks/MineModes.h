#pragma once
// The ways `mine` walks the corpus. A mode is one row of a table: which games
// it takes and in which order, which positions of a game it probes with the
// engine, and which kinds of test it keeps from them. The default mode walks
// every game; the others are narrower passes for the tests the default finds
// too rarely (stalemates, long forced lines, endings).
#include "Corpus.h"
#include "Mining.h"
#include "chess/Position.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A position of a game to probe with the engine.
struct Probe {
    int ply = 0;
    bool tacticSide = false;  // the side to move went on to win the game
    bool drawGame = false;    // the game was drawn: a drawing test may be there
};

struct MineMode {
    std::string_view flag;  // its command-line option; empty for the default
    std::string_view tag;   // names its progress and candidate files ("checks-"); empty for the default
    // The games to walk, taken from `order` (the shuffled corpus) and in the
    // order to walk them. Null: all of `order`.
    std::function<std::vector<std::size_t>(const std::vector<CorpusGame>& games, const std::vector<std::size_t>& order)>
        games;
    std::string_view gamesTaken;  // what those games are, for the log
    // The plies of one game to probe.
    std::function<std::vector<Probe>(const CorpusGame& game, const Replay& replay)> probes;
    // Whether a test of this kind is kept where this mode finds it.
    std::function<bool(TaskKind kind)> keeps;
    // Whether every probe of a game may give a tactic (the passes that look
    // for long lines: each start may give a longer one) rather than only one.
    bool everyTactic = false;
};

// Every mode, the default first.
const std::vector<MineMode>& MineModes();
const MineMode& DefaultMineMode();
// The mode of a command-line option ("--swings"); null when none has it.
const MineMode* FindMineMode(std::string_view flag);

// Positions the program can show faithfully: no castling right and no
// en-passant capture, which the stored placement cannot express.
bool Representable(const fullchess::Position& p);

// The plies of a game whose side to move could be stalemated once its few
// pieces are gone (its king and pawns have no move), as `--stalemate-tricks`
// probes them.
std::vector<int> StalemateTrickPlies(const std::vector<fullchess::Position>& positions);

// The plies of a game worth an engine probe in the swing pass: positions
// whose side to move won at least two points of material (held for two plies)
// or mated within the next ten plies, and the winner's move two plies
// earlier; only positions not in check with five legal moves or more,
// castling and en passant aside.
std::vector<int> SwingPlies(const std::vector<fullchess::Position>& positions);

// The default probes of a game: the winner's moves near the end of a decisive
// game, the last moves of a draw that ended with few pieces or in stalemate,
// and one position of any game after the opening, picked by its id.
std::vector<Probe> ChooseProbes(const CorpusGame& game, const std::vector<fullchess::Position>& positions);

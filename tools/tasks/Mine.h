#pragma once
// The "mine" command: walks the master games in a fixed shuffled order, probes
// chosen positions cheaply with the engine, and builds full lines for the
// promising ones. Resumable: the number of games done is checkpointed after
// every game, and candidates are appended (and flushed) as they are found.
#include "MineModes.h"

#include <optional>
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
    // Which games are walked and which of their positions are probed; see
    // MineModes.h.
    const MineMode* mode = &DefaultMineMode();
};

int RunMine(const MineOptions& options);

// The kind of test a probe's two best lines suggest, if any: a tactic for the
// side that won the game (win chances more than `tacticGap` apart), a draw in
// a drawn game, or a strategy test in a balanced position.
std::optional<TaskKind> Classify(const Probe& probe, const EngineAnswer& answer, double tacticGap);

// The engine program to use: `wanted` when given, else "stockfish" from PATH,
// else /usr/games/stockfish. Empty when none is found.
std::string FindEngine(const std::string& wanted);

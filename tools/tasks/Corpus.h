#pragma once
// The master games, loaded once, and their replay into positions.
#include "Pgn.h"
#include "chess/Position.h"

#include <optional>
#include <string>
#include <vector>

struct CorpusGame {
    std::string file;   // base name of the PGN file
    int index = 0;      // 0-based position of the game in its file
    int line = 0;       // line of its first tag
    std::string white, black, event, site, date, eventDate, result;
    std::vector<std::string> san;

    std::string Id() const { return file + "#" + std::to_string(index); }
    // The year from Date, else EventDate; 0 when neither has one.
    int Year() const;
    // How many of the winner's last moves in a row gave check (or, with
    // `capturesToo`, gave check or took), read from the SAN signs; 0 for a
    // drawn or unfinished game.
    int FinalCheckRun(bool capturesToo = false) const;
};

// Reads every *.pgn file of `directory` in name order. Problems are reported
// on stderr with file and line and the game is still listed (its replay will
// fail and it is skipped then).
std::vector<CorpusGame> LoadCorpus(const std::string& directory);

struct Replay {
    std::vector<fullchess::Position> positions;  // before each ply; one more than moves
    std::vector<fullchess::Move> moves;
};
// Nullopt (with a message naming the ply) when a move is illegal or unreadable.
std::optional<Replay> ReplayGame(const CorpusGame& game, std::string& error);

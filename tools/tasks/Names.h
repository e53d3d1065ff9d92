#pragma once
// Player names in the game headers: one form, "Surname, I.", per player,
// whichever way a game source spelled him ("Svidler,P", "Yates Frederick",
// "Fred Dewhirst Yates", "Kortschnoj, Viktor", "Torre Repetto Carlos (MEX)").
//
// A name written without a comma is ordered by the spellings of the same
// player elsewhere in the corpus ("Surname, Given" forms, counted by game).
// Spellings of one player across transliterations are folded by a small
// explicit table. tools/tasks/players.tsv holds the result for every name in
// the mined candidates, so that `select` needs no corpus.
#include <map>
#include <string>

// The committed table, relative to the repository root.
inline constexpr const char* kPlayersTable = "tools/tasks/players.tsv";

// How often each surname stands before a comma in the corpus, by the first
// initial of the given name.
class NameEvidence {
public:
    void Add(const std::string& raw, int games = 1);
    int Count(const std::string& surname, const std::string& initial) const;

private:
    std::map<std::string, std::map<std::string, int>> counts_;  // lower-case surname -> initial -> games
};

struct PlayerName {
    std::string header;    // "Yates, F.", "Anderssen", "NN"
    bool guessed = false;  // a comma-less name the evidence and the rules could not order
    bool aliased = false;  // the spelling was changed by the alias table
};

// The header form of a raw name; `evidence` orders comma-less names.
PlayerName CanonicalName(const std::string& raw, const NameEvidence& evidence);

// The header form of a raw corpus name: the entry of the table at `tablePath`
// (read once per path), else CanonicalName without evidence.
std::string HeaderName(const std::string& raw, const std::string& tablePath = kPlayersTable);

// "Yates, F." -> "Yates", for a header that must be shorter.
std::string HeaderSurname(const std::string& header);

// raw -> header; an unreadable file gives an empty table.
std::map<std::string, std::string> ReadPlayersTable(const std::string& path);

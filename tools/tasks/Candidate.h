#pragma once
// A mined candidate test, and its one-line text form in the candidate files
// (tools/tasks/mined/*.tsv). Only derived data is kept: the position, the
// engine's line with its scores, and where in which game the position arose.
//
// Line format, tab-separated:
//   kind  game-id  ply  white  black  year  event  fen  game-move  line  steps  continuation  [firm  [firm-nodes]]
// kind is T, D or S; ply is the 0-based half-move index of the position in its
// game; fen is the engine FEN (placement, side, "- - 0 1"); game-move, line and
// continuation are UCI moves (line and continuation space-separated); steps
// holds one entry per user move, separated by ",": best|second|after|flags,
// scores written "c<centipawns>" or "m<moves to mate>" ("-" for none), flags
// "M" (the move mates) or "S" (it stalemates). The optional firm column holds
// the same steps as a second, larger node count saw them, for the prefix of
// the line that held there (empty when even the first move did not), and
// firm-nodes the node counts that walk was made at, ascending and separated by
// "," (older files leave it out; a single count is the form of one stop). Where
// the line was walked at several counts, each step is the worse of what they
// saw, so a margin or an end holds only if it held at every count.
#include "Mining.h"

#include <optional>
#include <string>
#include <vector>

struct Candidate {
    TaskKind kind = TaskKind::Tactic;
    std::string gameId;
    int ply = 0;
    std::string white, black;
    int year = 0;
    std::string event;
    std::string fen;
    std::string gameMove;
    BuiltLine line;
    bool firmChecked = false;     // the line was walked again at the firm node counts
    std::vector<UserStep> firm;   // the steps that held at all of them, from the first
    std::vector<long long> firmBudgets;  // those node counts, ascending; empty where the file did not say
};

// The fields of a tab-separated line (a trailing tab gives an empty last
// field), and a field made safe to write into one.
std::vector<std::string> SplitFields(const std::string& text, char separator);
std::string TsvField(std::string text);

std::string FormatCandidate(const Candidate& candidate);
std::optional<Candidate> ParseCandidate(const std::string& text);

std::string FormatScore(const Score& score);
std::optional<Score> ParseScore(const std::string& text);

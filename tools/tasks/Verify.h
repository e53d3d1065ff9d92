#pragma once
// Checking the compiled collections: every rule of a test, with or without
// the engine.
#include "Mining.h"

#include <string>
#include <vector>

struct RecordText {
    std::string collection;  // "tactics" or "strategy"
    int number = 0;
    std::string position, side, solution, taskText, hint;
};
std::vector<RecordText> CompiledRecords();

// The rules `record` breaks: with an engine, its margins and the outcome of
// the line at the engine's score; without, the start, the end on the board
// (a score is taken as decisive) and what the hint says. `notes` receives what
// a record given as is (the worked examples, the whole-FEN record) breaks.
std::vector<std::string> RecordProblems(const RecordText& record, const Analyser* engine, std::vector<std::string>& notes);
bool FirstMoveChecks(const RecordText& record);

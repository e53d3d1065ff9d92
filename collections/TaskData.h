#pragma once
// One stored test as constant data. The two collections are tables of these,
// generated offline into collections/generated/ and never edited by hand.
#include <cstdint>
#include <span>

struct TaskData {
    const char* header;      // three PGN tag lines (White, Black, EventDate) joined by CR LF
    const char* position;    // FEN piece placement (one record carries a whole FEN record)
    const char* sideToMove;  // "w" or "b"
    const char* solution;    // move tokens such as "e3-g5 f3:d1 b3:e6"
    const char* taskText;    // the instruction
    const char* hint;        // never empty
};

// The tables, numbered from 1: element 0 is test number 1.
std::span<const TaskData> TacticsTasks();
std::span<const TaskData> StrategyTasks();

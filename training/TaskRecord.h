#pragma once
// One test as the training commands use it, and where it comes from.
//
// A TaskRecord is filled from a fresh record of the collection class that a
// base number names (1: `TPart`, the tactics; 2: `TPartstr`, the strategy),
// read once and then dropped. The training commands never see the two
// classes directly: they ask a TaskLoader, so that tests can give them boards
// of their own.
#include "Collections.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TaskRecord {
    std::string header;     // three tag lines joined by CR LF
    std::string position;   // FEN piece placement
    std::string sideToMove; // "w": White moves first; anything else: Black
    std::string solution;   // the solution line
    std::string taskText;   // the instruction
    std::string hint;
    int32_t marker;
};

// The bounds of the task draw for a collection: numbers are drawn from
// 1..Range, in rounds (TaskRounds).
struct CollectionLimits {
    int32_t Range;
    friend bool operator==(const CollectionLimits&, const CollectionLimits&) = default;
};

// Tactics: 225 tests; strategy: 189; std::nullopt for any
// other base (no collection is chosen and nothing is drawn).
std::optional<CollectionLimits> CollectionOf(int32_t base);

// Gives the record of test `number` of the collection `base` names, loaded
// into a fresh record of that class. A number the collection does not hold
// gives an empty record (marker 0). std::nullopt when `base` names no
// collection: no record is created.
using TaskLoader = std::function<std::optional<TaskRecord>(int32_t base, int32_t number)>;

// The real collections, `TPart` and `TPartstr` with their `LoadTask`.
std::optional<TaskRecord> LoadFromCollections(int32_t base, int32_t number);

// The lines the text pane shows for a record, in order: the header's lines
// (split at its CR LF separators, so a standard header gives three), the
// task text, then, when `withHint`, the line "Подсказка" and the hint.
std::vector<std::string> TaskTextLines(const TaskRecord& record, bool withHint);

// The title line above the hint.
inline constexpr const char* kHintTitle = "Подсказка";

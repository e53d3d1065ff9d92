#pragma once
// The draw of the next task number.
#include "RandomSource.h"
#include "TaskRecord.h"

#include <cstdint>
#include <vector>

// Draws the number of the next task, 1-based within the collection:
// - when `usedTasks` holds `limits.Limit` or more entries, the answer is 1;
// - otherwise a uniform number from 1 to `limits.Range` that `usedTasks` does
//   not hold, found by drawing again until one is free.
// The caller re-seeds `random` first. Precondition: 1 <= Limit <= Range.
// While fewer than Limit entries are held, at least Range - Limit + 1 numbers
// of the range are free, so the draw ends.
int32_t DrawTaskNumber(const std::vector<int32_t>& usedTasks, CollectionLimits limits, RandomSource& random);

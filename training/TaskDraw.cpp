#include "TaskDraw.h"

#include <algorithm>

int32_t DrawTaskNumber(const std::vector<int32_t>& usedTasks, CollectionLimits limits, RandomSource& random)
{
    if (usedTasks.size() >= static_cast<std::size_t>(limits.Limit))
        return 1;
    for (;;) {
        const int32_t number = random.Below(limits.Range) + 1;
        if (std::find(usedTasks.begin(), usedTasks.end(), number) == usedTasks.end())
            return number;
    }
}

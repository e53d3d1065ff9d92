#include "TaskDraw.h"

std::vector<int32_t> TaskRounds::Candidates(int32_t base, int32_t range) const
{
    std::vector<int32_t> free;
    free.reserve(static_cast<std::size_t>(range));
    const auto it = m_rounds.find(base);
    if (it == m_rounds.end() || it->second.Drawn.size() != static_cast<std::size_t>(range)) {
        for (int32_t number = 1; number <= range; ++number)
            free.push_back(number);
        return free;
    }
    const Round& round = it->second;
    // A finished round: the next one starts, without the test that ended this
    // one unless it is the collection's only test.
    const bool fresh = round.Count >= range;
    for (int32_t number = 1; number <= range; ++number) {
        if (fresh ? (number != round.Last || range == 1) : !round.Drawn[static_cast<std::size_t>(number - 1)])
            free.push_back(number);
    }
    return free;
}

int32_t TaskRounds::Draw(int32_t base, int32_t range, RandomSource& random)
{
    // One uniform pick among the free numbers: no drawing again until one is
    // free, so the draw is bounded even on the last test of a round.
    const std::vector<int32_t> free = Candidates(base, range);
    const int32_t number = free[static_cast<std::size_t>(random.Below(static_cast<int32_t>(free.size())))];

    Round& round = m_rounds[base];
    if (round.Count >= range || round.Drawn.size() != static_cast<std::size_t>(range)) {
        round.Drawn.assign(static_cast<std::size_t>(range), false);
        round.Count = 0;
    }
    round.Drawn[static_cast<std::size_t>(number - 1)] = true;
    ++round.Count;
    round.Last = number;
    return number;
}

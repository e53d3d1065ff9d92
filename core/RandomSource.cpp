#include "RandomSource.h"

#include <cassert>
#include <chrono>

void ClockRandomSource::Reseed()
{
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    m_engine.seed(static_cast<std::mt19937::result_type>(ticks ^ (ticks >> 32)));
}

int32_t ClockRandomSource::Below(int32_t bound)
{
    assert(bound >= 1);
    std::uniform_int_distribution<int32_t> pick(0, bound - 1);
    return pick(m_engine);
}

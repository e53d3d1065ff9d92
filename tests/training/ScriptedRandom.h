#pragma once
// A random source that hands out a fixed script of values and records what
// it was asked.
#include "RandomSource.h"

#include <deque>
#include <stdexcept>
#include <vector>

class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::deque<int32_t> script = {}) : m_script(std::move(script)) {}

    void Reseed() override { ++Reseeds; }
    int32_t Below(int32_t bound) override
    {
        Bounds.push_back(bound);
        if (m_script.empty() || m_script.front() < 0 || m_script.front() >= bound)
            throw std::logic_error("the script of draws is used up, or its next one is outside the bound");
        const int32_t value = m_script.front();
        m_script.pop_front();
        return value;
    }
    void Push(int32_t value) { m_script.push_back(value); }
    int Reseeds = 0;
    std::vector<int32_t> Bounds;

private:
    std::deque<int32_t> m_script;
};

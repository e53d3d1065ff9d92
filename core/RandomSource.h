#pragma once
// The one source of chance in the program: task draws and quote draws.
//
// Every draw series (a new task, a retry, one quote command) first calls
// Reseed(), which seeds the generator from a clock, and then asks Below()
// one or more times. Tests substitute their own source to make draws
// predictable.
#include <cstdint>
#include <random>

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Seeds the generator afresh (from the clock in the real program).
    virtual void Reseed() = 0;
    // A uniform integer in 0 .. bound-1. Precondition: bound >= 1.
    virtual int32_t Below(int32_t bound) = 0;
};

// The real program's source: a Mersenne twister seeded from the system clock.
class ClockRandomSource final : public RandomSource {
public:
    void Reseed() override;
    int32_t Below(int32_t bound) override;

private:
    std::mt19937 m_engine{5489u};
};

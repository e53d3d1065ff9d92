#pragma once
// The two task collections as the rest of the program names them: the base
// number of the setting "baza1", the number of tests, and the name the user
// knows it by.
#include <cstdint>
#include <string>

inline constexpr int32_t kTacticsBase = 1;
inline constexpr int32_t kStrategyBase = 2;

// Tests per collection, numbered from 1 (`TPart`, `TPartstr`).
inline constexpr int32_t kTacticsCount = 225;
inline constexpr int32_t kStrategyCount = 189;

// The number of tests of the collection `base` names; 0 for any other base.
int32_t CollectionSize(int32_t base);

// "Тактика" for the tactics base, "Стратегия" for the strategy base, "" for
// any other value.
std::string BaseName(int32_t base);

// The program's caption for a base: "Tresolvin Тактика", "Tresolvin Стратегия", or
// the plain "Tresolvin" for any other base.
std::string CaptionForBase(int32_t base);

#pragma once
// The draw of the next task number.
#include "RandomSource.h"

#include <cstdint>
#include <map>
#include <vector>

// The tests each collection has given by new task in the current round of a
// run. A new task never gives a test twice in a round: a round ends when
// every test of the collection has been drawn, and the next one starts with
// all of them free again, except that its first draw never gives the test
// that ended the round before (the test just shown). Each collection keeps
// its own round, so draws from one never block the other; retries and
// playbacks are not draws and use up nothing.
class TaskRounds {
public:
    // The numbers the next draw from collection `base`, of `range` tests
    // (1-based), may give, in ascending order. Never empty for range >= 1.
    std::vector<int32_t> Candidates(int32_t base, int32_t range) const;

    // Draws one of Candidates(base, range) uniformly, with one call of
    // random.Below(count) (the caller re-seeds `random` first), and records
    // it in the round. Precondition: range >= 1, the same for every draw
    // from `base`.
    int32_t Draw(int32_t base, int32_t range, RandomSource& random);

private:
    struct Round {
        std::vector<bool> Drawn; // index number - 1
        int32_t Count = 0;       // numbers drawn in this round
        int32_t Last = 0;        // the number drawn last; 0: none yet
    };
    std::map<int32_t, Round> m_rounds;
};

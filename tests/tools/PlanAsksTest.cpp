// What the plan asks the engine to confirm when a single place of a length is
// open.
#include "Candidate.h"
#include "Plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A quiet white rook line of five tokens that may end after any user move.
Candidate RookLine(int number, bool confirmed)
{
    Candidate c;
    c.kind = TaskKind::Tactic;
    c.gameId = "asks.pgn#" + std::to_string(number);
    c.ply = 30;
    c.white = "Gamma" + std::string(1, static_cast<char>('a' + number)) + ", G.";
    c.black = "Delta" + std::string(1, static_cast<char>('a' + number)) + ", D.";
    c.year = 1960 + number;
    c.event = "Test";
    c.fen = "4k3/pp6/8/8/8/8/PP6/4K2R w - - 0 1";
    c.line.moves = {"h1h3", "e8e7", "h3h4", "e7e8", "h4h3"};
    for (std::size_t i = 0; i < c.line.moves.size(); i += 2)
        c.line.steps.push_back({Score::Cp(900), Score::Cp(0), Score::Cp(900), false, false});
    c.firmChecked = confirmed;
    if (confirmed)
        c.firm = c.line.steps;
    return c;
}

TEST(MakePlan, ASinglePlaceOpenIsAskedFor)
{
    PlanTargets targets;
    targets.tacticsWhite = 1;
    // The fixed records stand on one place of one token and two of three.
    for (const auto& [length, places] : {std::pair{1, 2}, std::pair{3, 3}, std::pair{5, 1}}) {
        targets.tactics.count = {{length, places}};
        const std::vector<Candidate> pool{RookLine(1, false)};
        const PlanResult plan = MakePlan(pool, {}, {}, targets);
        EXPECT_FALSE(plan.complete) << length;
        EXPECT_NE(std::find(plan.toConfirm.begin(), plan.toConfirm.end(), &pool[0]), plan.toConfirm.end()) << length;
    }
}

} // namespace

// Lines built and walked at their limits, against an engine that always has a
// clear first choice: the first legal move, far ahead of the second.
#include "Mining.h"
#include "chess/Position.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fullchess::Position;

const char* const kRoot = "4k3/8/8/8/8/8/8/R3K3 w - - 0 1";

bool ClearChoice(const std::string& fen, const std::vector<std::string>& moves, int, EngineAnswer& out)
{
    Position p = *Position::FromFen(fen);
    for (const std::string& m : moves)
        p.Play(*p.ParseUci(m));
    const auto legal = p.LegalMoves();
    out = {};
    for (const auto& m : legal)
        out.moves.push_back(Position::Uci(m));
    out.bestMove = out.moves.empty() ? "(none)" : out.moves.front();
    out.pv = {out.bestMove};
    const bool user = moves.size() % 2 == 0;
    out.scores = {Score::Cp(user ? 900 : -900), Score::Cp(user ? 0 : -950)};
    return true;
}

TEST(BuildLine, TakesAsManyTokensAsAllowed)
{
    const Position root = *Position::FromFen(kRoot);
    for (int tokens : {1, 3, 5, 7}) {
        const auto line = BuildLine(TaskKind::Tactic, root, tokens, ClearChoice);
        ASSERT_TRUE(line) << tokens;
        EXPECT_EQ(static_cast<int>(line->moves.size()), tokens);
        EXPECT_EQ(static_cast<int>(line->steps.size()), (tokens + 1) / 2);
    }
    // An even limit leaves the last reply out.
    EXPECT_EQ(BuildLine(TaskKind::Tactic, root, 4, ClearChoice)->moves.size(), 3u);
}

TEST(WalkLine, NamesTheMoveThatIsNotLegal)
{
    const Position root = *Position::FromFen(kRoot);
    const std::string first = Position::Uci(root.LegalMoves().front());
    EXPECT_EQ(WalkLine(TaskKind::Tactic, root, {"a1a9"}, ClearChoice, false).problem, "move 1 a1a9 is illegal");
    const LineWalk walk = WalkLine(TaskKind::Tactic, root, {first, "e1e2"}, ClearChoice, false);
    EXPECT_EQ(walk.problem, "move 2 e1e2 is illegal");
    EXPECT_EQ(walk.steps.size(), 1u);
}

} // namespace

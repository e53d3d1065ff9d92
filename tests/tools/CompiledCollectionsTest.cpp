// Every compiled test, read with the offline tool's full chess rules: legal
// chess that the program's own move rules can play (no castling, promotion,
// en passant or capture of a king), from a start no other test shares, with
// the side not to move out of check.
#include "Notation.h"
#include "TaskData.h"
#include "chess/Position.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

TEST(CompiledCollections, EveryTestIsLegalChessThatTheProgramCanPlay)
{
    std::set<std::string> seen;
    for (const auto& [name, table] : {std::pair{"tactics ", TacticsTasks()}, {"strategy ", StrategyTasks()}}) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            const TaskData& r = table[i];
            const std::string side = r.sideToMove;
            SCOPED_TRACE(name + std::to_string(i + 1) + " " + r.solution);
            const std::string position = r.position;
            const std::string placement = position.substr(0, position.find(' '));
            EXPECT_TRUE(seen.insert(placement + side).second);
            auto p = fullchess::Position::FromFen(placement + " " + side + " - - 0 1");
            ASSERT_TRUE(p);
            const auto turned = fullchess::Position::FromFen(placement + (side == "w" ? " b" : " w") + " - - 0 1");
            EXPECT_FALSE(turned->InCheck()) << "the side not to move is in check";
            const std::vector<std::string> tokens = LineTokens(r.solution);
            EXPECT_EQ(tokens.size() % 2, 1u);
            for (const std::string& token : tokens) {
                const auto decoded = ParseToken(token);
                ASSERT_TRUE(decoded);
                const auto move = p->ParseUci(SquareName(decoded->FromColumn, decoded->FromRow) +
                                              SquareName(decoded->ToColumn, decoded->ToRow));
                ASSERT_TRUE(move) << token << " is not legal";
                EXPECT_FALSE(move->castling || move->promotion || move->enPassant) << token;
                EXPECT_EQ(decoded->IsCapture(), move->capture) << token;
                EXPECT_NE(std::abs(p->At(move->to)), fullchess::King) << token;
                p->Play(*move);
            }
        }
    }
}

} // namespace

// Where the default mining mode looks in a game: the winner's last moves, the
// drawing side's last moves, and one position after the opening of every game.
#include "Words.h"
#include "Corpus.h"
#include "MineModes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Both kings walk at once (no castling is left from ply 4 on, so every later
// position can be stored), then the knights go back and forth.
CorpusGame Shuffle(const std::string& file, const std::string& result, int rounds)
{
    CorpusGame game;
    game.file = file;
    game.result = result;
    std::string san = "e4 e5 Ke2 Ke7";
    for (int i = 0; i < rounds; ++i)
        san += " Nf3 Nf6 Ng1 Ng8";
    game.san = Words(san);
    return game;
}

std::vector<Probe> Probes(const CorpusGame& game)
{
    std::string error;
    const auto replay = ReplayGame(game, error);
    EXPECT_TRUE(replay) << error;
    return replay ? ChooseProbes(game, replay->positions) : std::vector<Probe>{};
}

TEST(ChooseProbes, OnePositionAfterTheOpeningOfEveryGame)
{
    // 60 plies, unfinished: only the quiet pick, somewhere from ply 16 to the
    // fifth ply before the end, a different one from game to game.
    std::vector<int> seen;
    for (int i = 0; i < 24; ++i) {
        const auto probes = Probes(Shuffle("games-" + std::to_string(i) + ".pgn", "*", 14));
        ASSERT_EQ(probes.size(), 1u) << i;
        EXPECT_GE(probes[0].ply, 16) << i;
        EXPECT_LT(probes[0].ply, 56) << i;
        EXPECT_FALSE(probes[0].tacticSide || probes[0].drawGame) << i;
        seen.push_back(probes[0].ply);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_GT(std::unique(seen.begin(), seen.end()) - seen.begin(), 5);
    // A short game has no quiet pick; a game that still has castling rights
    // has no position that can be stored.
    EXPECT_TRUE(Probes(Shuffle("short.pgn", "*", 5)).empty());
    CorpusGame castles = Shuffle("castles.pgn", "1-0", 14);
    castles.san[2] = "Nc3";
    castles.san[3] = "Nc6";
    EXPECT_TRUE(Probes(castles).empty());
}

TEST(ChooseProbes, TheWinnersLastMovesAndTheDrawnSide)
{
    for (const char* result : {"1-0", "0-1"}) {
        const bool white = std::string(result) == "1-0";
        const auto probes = Probes(Shuffle("won.pgn", result, 14));
        std::vector<int> window;
        for (const Probe& p : probes) {
            EXPECT_FALSE(p.drawGame) << result;
            EXPECT_EQ(p.tacticSide, (p.ply % 2 == 0) == white) << result << " " << p.ply;
            if (p.ply >= 36)
                window.push_back(p.ply);
        }
        // The last 24 plies: the winner's twelve moves there, up to the last
        // one; besides them at most the quiet pick.
        ASSERT_EQ(window.size(), 12u) << result;
        EXPECT_TRUE(std::all_of(window.begin(), window.end(), [&](int ply) { return (ply % 2 == 0) == white; }));
        EXPECT_EQ(window.back(), white ? 58 : 59) << result;
        EXPECT_LE(probes.size(), 13u) << result;
    }
    // A drawn game with all its men: only the quiet pick, marked as a drawn game.
    const auto drawn = Probes(Shuffle("drawn.pgn", "1/2-1/2", 14));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_TRUE(drawn[0].drawGame && !drawn[0].tacticSide);
}

} // namespace

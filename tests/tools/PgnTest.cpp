// Reading master games: tags, movetext tokens, broken games.
#include "Corpus.h"
#include "Pgn.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(Pgn, MovetextDropsNumbersCommentsVariationsNagsAndResult)
{
    const auto tokens = MovetextTokens(
        "1. e4 {best by test} e5 2.Nf3 $1 (2. f4 exf4 (2... d5)) Nc6 3... a6 ; a rest-of-line comment\n4. Bb5 1-0");
    const std::vector<std::string> expected = {"e4", "e5", "Nf3", "Nc6", "a6", "Bb5"};
    EXPECT_EQ(tokens, expected);
}

TEST(Pgn, ReadsConsecutiveGamesWithTheirTagsAndLines)
{
    std::istringstream in(
        "[Event \"A\"]\r\n[White \"Pilnik, Herman\"]\r\n[Result \"1-0\"]\r\n\r\n1. e4 e5 2. Nf3\r\nNc6 1-0\r\n\r\n"
        "[Event \"B\"]\n[Black \"Euwe, Max\"]\n\n1. d4 d5 1/2-1/2\n");
    PgnReader reader(in);
    auto first = reader.Next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Tag("White"), "Pilnik, Herman");
    EXPECT_EQ(first->Tag("Missing"), "");
    EXPECT_EQ(first->firstLine, 1);
    EXPECT_EQ(first->moves.size(), 4u);
    auto second = reader.Next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Tag("Black"), "Euwe, Max");
    EXPECT_EQ(second->firstLine, 8);
    EXPECT_EQ(second->moves, (std::vector<std::string>{"d4", "d5"}));
    EXPECT_FALSE(reader.Next());
    // A game without a blank line before the next tags still ends there.
    std::istringstream joined("[Event \"A\"]\n\n1. e4 e5 *\n[Event \"B\"]\n\n1. c4 *\n");
    PgnReader split(joined);
    EXPECT_EQ(split.Next()->moves.size(), 2u);
    EXPECT_EQ(split.Next()->Tag("Event"), "B");
}

// A replay gives one position more than moves; an illegal move is reported with its file, line and ply.
TEST(Pgn, ReplayGivesEveryPositionOrTheIllegalMove)
{
    CorpusGame game;
    game.file = "x.pgn";
    game.line = 42;
    game.san = {"e4", "e5", "Nf3"};
    std::string error;
    const auto replay = ReplayGame(game, error);
    ASSERT_TRUE(replay);
    EXPECT_EQ(replay->positions.size(), 4u);
    EXPECT_EQ(replay->positions.back().Placement(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R");
    game.san.back() = "Ke3";
    EXPECT_FALSE(ReplayGame(game, error));
    EXPECT_NE(error.find("x.pgn:42"), std::string::npos) << error;
    EXPECT_NE(error.find("ply 3"), std::string::npos) << error;
}

TEST(Pgn, YearComesFromDateElseEventDate)
{
    CorpusGame game;
    game.date = "1950.??.??";
    EXPECT_EQ(game.Year(), 1950);
    game.date = "????.??.??";
    game.eventDate = "1948.01.02";
    EXPECT_EQ(game.Year(), 1948);
    game.eventDate = "";
    EXPECT_EQ(game.Year(), 0);
}

TEST(Pgn, FinalCheckRunCountsOnlyTheWinnersLastMoves)
{
    CorpusGame game;
    // White's last three moves check; Black's replies between them do not
    // break the run, the quiet fourth-last move of White does.
    game.san = {"e4", "e5", "Bc4", "Nc6", "Qh5", "Nf6", "Qxf7+", "Ke7", "Qxe5+", "Kf7", "Bd5#"};
    game.result = "1-0";
    EXPECT_EQ(game.FinalCheckRun(), 3);
    EXPECT_EQ(game.FinalCheckRun(true), 3);
    game.san.back() = "Bd5";  // a quiet last move ends every run at once
    EXPECT_EQ(game.FinalCheckRun(), 0);

    // Black won: only Black's moves count, and a capture joins the run only
    // when asked for.
    game.san = {"f3", "e5", "g4", "Qh4+", "Kf2", "Qxg4", "Ke3", "Qxg1+", "Kd3", "Qxh2"};
    game.result = "0-1";
    EXPECT_EQ(game.FinalCheckRun(), 0);
    EXPECT_EQ(game.FinalCheckRun(true), 4);
    game.san.pop_back();  // now Qxg1+ is the last: Qxg4 before it gave no check
    EXPECT_EQ(game.FinalCheckRun(), 1);
    EXPECT_EQ(game.FinalCheckRun(true), 3);

    game.result = "1/2-1/2";
    EXPECT_EQ(game.FinalCheckRun(), 0);
    game.result = "*";
    EXPECT_EQ(game.FinalCheckRun(true), 0);
}

} // namespace

#include "SolutionCheck.h"

#include <gtest/gtest.h>

namespace {

struct CheckCase {
    const char* name;
    const char* solution;
    int solutionPos;
    const char* lastMove; // MoveKey of the user's move
    MoveVerdict verdict;
    const char* reply;
    int nextPos;
    bool keyUnreadable;
};

void PrintTo(const CheckCase& row, std::ostream* os)
{
    *os << row.name;
}

class SolutionCheckTable : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SolutionCheckTable, JudgesTheMoveAgainstTheExpectedToken)
{
    const CheckCase& c = GetParam();
    const SolutionStep step = JudgeAgainstSolution(c.solution, c.solutionPos, c.lastMove);
    EXPECT_EQ(step.Verdict, c.verdict);
    EXPECT_EQ(step.ReplyToken, c.reply);
    EXPECT_EQ(step.NextSolutionPos, c.nextPos);
    EXPECT_EQ(step.KeyUnreadable, c.keyUnreadable);
}

constexpr const char* kLine = "e3-g5 f3:d1 b3:e6";

INSTANTIATE_TEST_SUITE_P(
    Rows, SolutionCheckTable,
    ::testing::Values(
        // The worked example: e3-g5 is 65-47, then the reply f3:d1, then b3:e6 (62-35) ends it.
        CheckCase{"FirstMoveGuessedGivesReply", kLine, 1, "65-47", MoveVerdict::Guessed, "f3:d1", 13, false},
        CheckCase{"LastMoveSolves", kLine, 13, "62-35", MoveVerdict::Solved, "", 13, false},
        CheckCase{"WrongFirstMoveFails", kLine, 1, "54-14", MoveVerdict::NotGuessed, "", 7, false},
        CheckCase{"WrongLastMoveFails", kLine, 13, "62-34", MoveVerdict::NotGuessedLast, "", 13, false},
        CheckCase{"ReversedMoveIsNotTheMove", kLine, 1, "47-65", MoveVerdict::NotGuessed, "", 7, false},
        CheckCase{"ProgramMoveKeyNeverMatches", kLine, 1, "00-47", MoveVerdict::NotGuessed, "", 7, false},
        // A capture token matches the same two squares; the separator is not compared.
        CheckCase{"CaptureTokenMatchesBySquares", "g5:f6", 1, "47-36", MoveVerdict::Solved, "", 1, false},
        CheckCase{"OneTokenLineSolvesAtOnce", "h3-h4", 1, "68-58", MoveVerdict::Solved, "", 1, false},
        CheckCase{"OneTokenLineWrongMove", "h3-h4", 1, "68-48", MoveVerdict::NotGuessedLast, "", 1, false},
        CheckCase{"TrailingSpaceLastTokenStillLast", "f5-h6 g7:h6 g5:f6 ", 13, "47-36", MoveVerdict::Solved, "", 13,
                  false},
        CheckCase{"TrailingSpaceFirstTokenNotLast", "f5-h6 g7:h6 g5:f6 ", 1, "46-38", MoveVerdict::Guessed, "g7:h6",
                  13, false},
        // An even line asks for one move past its end: that token cannot be read.
        CheckCase{"PastTheEndIsUnreadable", "e2-e4 e7-e5", 13, "75-55", MoveVerdict::NotGuessedLast, "", 13, true},
        CheckCase{"EmptyLineIsUnreadable", "", 1, "75-55", MoveVerdict::NotGuessedLast, "", 1, true},
        CheckCase{"EmptyMoveKeyNeverMatchesUnreadableToken", "", 1, "", MoveVerdict::NotGuessedLast, "", 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SolutionCheckTest, EveryTokenOfALongLineIsReachedInTurn)
{
    // Playing the line through move by move: the user's tokens are 1, 3, 5,
    // the replies 2, 4; only the fifth is last.
    const std::string line = "a2-a3 h7-h6 b2-b3 g7-g6 c2-c3";
    const char* userKeys[] = {"71-61", "72-62", "73-63"};
    const char* replies[] = {"h7-h6", "g7-g6"};
    int pos = 1;
    for (int i = 0; i < 2; ++i) {
        const SolutionStep step = JudgeAgainstSolution(line, pos, userKeys[i]);
        ASSERT_EQ(step.Verdict, MoveVerdict::Guessed) << "move " << i;
        EXPECT_EQ(step.ReplyToken, replies[i]);
        pos = step.NextSolutionPos;
    }
    EXPECT_EQ(pos, 25);
    EXPECT_EQ(JudgeAgainstSolution(line, pos, userKeys[2]).Verdict, MoveVerdict::Solved);
}

TEST(SolutionCheckTest, OnlyGuessedLeavesTheAttemptRunning)
{
    EXPECT_FALSE(EndsAttempt(MoveVerdict::Guessed));
    EXPECT_TRUE(EndsAttempt(MoveVerdict::NotGuessed));
    EXPECT_TRUE(EndsAttempt(MoveVerdict::Solved));
    EXPECT_TRUE(EndsAttempt(MoveVerdict::NotGuessedLast));
}

} // namespace

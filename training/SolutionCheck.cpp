#include "SolutionCheck.h"

#include "Notation.h"

SolutionStep JudgeAgainstSolution(std::string_view solution, int solutionPos, std::string_view lastMoveText)
{
    SolutionStep step;
    const std::optional<std::string> key = TokenToMoveKey(TokenAt(solution, solutionPos));
    step.KeyUnreadable = !key.has_value();
    // An unreadable token gives the empty key, and no move's key is empty.
    const bool matches = key.has_value() && *key == lastMoveText;

    if (IsLastToken(solution, solutionPos)) {
        step.Verdict = matches ? MoveVerdict::Solved : MoveVerdict::NotGuessedLast;
        step.NextSolutionPos = solutionPos;
    } else if (matches) {
        step.Verdict = MoveVerdict::Guessed;
        step.ReplyToken = TokenAt(solution, solutionPos + 6);
        step.NextSolutionPos = solutionPos + 12;
    } else {
        step.Verdict = MoveVerdict::NotGuessed;
        step.NextSolutionPos = solutionPos + 6;
    }
    return step;
}

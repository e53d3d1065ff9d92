#pragma once
// The check of the user's move against the solution line.
//
// During an attempt `SolutionPos` points at the token the user is to play
// (1, 13, 25, ...: every token takes six characters, and each correct move is
// followed by the program's reply). The move made on the board is known by
// its MoveKey (`LastMoveText`); it matches the expected token when the keys
// are equal as whole strings, so neither the separator of the token nor the
// piece that moved plays a part.
#include <string>
#include <string_view>

enum class MoveVerdict {
    // Matched a token that is not the last: confirm it, then play the reply.
    Guessed,
    // Did not match a token that is not the last: the attempt has failed.
    NotGuessed,
    // Matched the last token: the attempt is solved.
    Solved,
    // Did not match the last token: the attempt has failed.
    NotGuessedLast,
};

struct SolutionStep {
    MoveVerdict Verdict;
    // The expected token could not be read (it lies past the end of the line,
    // for instance); the user is told "Данная операция сейчас не возможна"
    // and the move counts as not matching.
    bool KeyUnreadable;
    // For Guessed: the program's reply, the token six characters further on.
    std::string ReplyToken;
    // `SolutionPos` after the step: +12 for Guessed (past the move and its
    // reply), +6 for NotGuessed, unchanged when the last token was judged.
    int NextSolutionPos;
};

// Judges the move with key `lastMoveText` against the token of `solution`
// at the 1-based position `solutionPos`. The token is the last one when
// Length(solution) - 6 < solutionPos.
SolutionStep JudgeAgainstSolution(std::string_view solution, int solutionPos, std::string_view lastMoveText);

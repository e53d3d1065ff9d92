#pragma once
// The coordinate notation of the solution lines and the MoveKey.
//
// A MoveToken is five characters: from-square name, separator, to-square name
// ("e3-g5", "f3:d1"). A square name is a file letter "a".."h" (column 1..8)
// and a rank digit d (row 9 - d). The separator is "-" for a move to an empty
// square and ":" for a capture.
//
// A solution line is its tokens joined by single spaces, possibly with one
// trailing space; token k (from 1) begins at the 1-based character position
// 6k - 5.
//
// A MoveKey is five characters: from-row digit, from-column digit, "-",
// to-row digit, to-column digit, in board coordinates ("e3-g5" is 65-47).
// Whether a move captures plays no part in it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The column of a file letter: "a" -> 1 .. "h" -> 8. Anything else (an upper
// case letter, another character, a text that is not exactly one character)
// gives 0, which is no column.
int FileNumber(std::string_view letter);

// The MoveKey of a token, or std::nullopt when the token cannot be converted:
// shorter than five characters, a file character outside "a".."h" or a rank
// character outside "1".."8". Character 3 (the separator) is not read.
// On std::nullopt the caller reports the failure and goes on with the empty
// key "", which matches no move.
std::optional<std::string> TokenToMoveKey(std::string_view token);

// A token decoded for playing it on the board.
struct DecodedToken {
    int FromColumn;
    int FromRow;
    char Separator;
    int ToColumn;
    int ToRow;

    // A token is played as a capture whenever its separator is not "-".
    bool IsCapture() const { return Separator != '-'; }
};

// Decodes a token for play, or std::nullopt when it is not well formed (the
// same conditions as TokenToMoveKey). The separator may be any character.
std::optional<DecodedToken> DecodeToken(std::string_view token);

// A token as the collections store it: exactly five characters, both squares
// on the board and the separator "-" or ":". What the program plays it reads
// more leniently (DecodeToken); what is written and checked offline is this.
std::optional<DecodedToken> ParseToken(std::string_view token);

// The name of a square: (column 5, row 6) is "e3". Precondition: 1..8 each.
std::string SquareName(int column, int row);

// Writes a token: from-square name, ":" for a capture or "-", to-square name.
// ParseToken gives the same squares and separator back.
std::string WriteToken(int fromColumn, int fromRow, bool capture, int toColumn, int toRow);

// The tokens of a solution line, split at blanks (a trailing blank adds none),
// and a line written from tokens, joined by single blanks.
std::vector<std::string> LineTokens(std::string_view line);
std::string JoinTokens(const std::vector<std::string>& tokens);

// The MoveKey of a move made on the board: the decimal text of from-row,
// from-column, "-", to-row, to-column, concatenated. The program's own moves
// pass 0 for the from-square, giving "00-" followed by the to-square.
std::string BuildMoveKey(int fromRow, int fromColumn, int toRow, int toColumn);

// The token of `line` that begins at the 1-based character position `pos`:
// the (at most) five characters from there; shorter or empty when the line
// ends earlier or pos < 1.
std::string TokenAt(std::string_view line, int pos);

// Last-token rule: the token at `pos` is the last of `line` when
// Length(line) - 6 < pos. For a line of n tokens (length 6n - 1, or 6n with
// a trailing space) this holds exactly for the n-th token.
bool IsLastToken(std::string_view line, int pos);

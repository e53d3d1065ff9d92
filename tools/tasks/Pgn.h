#pragma once
// Reading master games from PGN text.
//
// Format, as the game files hold it: tag pairs `[Name "Value"]`, one per line,
// then the movetext: move numbers ("12." or "12..."), SAN moves, optional
// comments in braces or after ";", variations in parentheses, NAGs ("$1") and
// a result ("1-0", "0-1", "1/2-1/2", "*"). A blank line separates games.
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct PgnGame {
    std::map<std::string, std::string> tags;
    std::vector<std::string> moves;  // SAN tokens of the main line
    int firstLine = 0;               // line number of the game's first tag, 1-based
    std::string Tag(const std::string& name) const;
};

class PgnReader {
public:
    explicit PgnReader(std::istream& in) : m_in(in) {}
    // The next game, or nullopt at the end of the input. A game whose text
    // cannot be read is still returned; replaying it tells whether its moves
    // are legal.
    std::optional<PgnGame> Next();

private:
    bool ReadLine(std::string& line);
    std::istream& m_in;
    int m_lineNumber = 0;
    std::optional<std::string> m_pending;
};

// Splits movetext into SAN tokens, dropping numbers, comments, variations,
// NAGs and the result.
std::vector<std::string> MovetextTokens(const std::string& text);

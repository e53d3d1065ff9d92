#include "Notation.h"

#include <algorithm>

namespace {

// Row of a rank character: "1" is row 8, "8" is row 1; 0 for anything else.
int RowOfRank(char rank)
{
    if (rank < '1' || rank > '8')
        return 0;
    return 9 - (rank - '0');
}

} // namespace

int FileNumber(std::string_view letter)
{
    if (letter.size() != 1)
        return 0;
    static constexpr std::string_view kFiles = "abcdefgh";
    const auto index = kFiles.find(letter.front());
    return index == std::string_view::npos ? 0 : static_cast<int>(index) + 1;
}

std::optional<DecodedToken> DecodeToken(std::string_view token)
{
    // The collections hold only well-formed tokens; a token that is cut
    // short (a position past the end of a line) or carries a character
    // outside the board is refused rather than read beyond its end or turned
    // into a square off the board.
    if (token.size() < 5)
        return std::nullopt;
    DecodedToken decoded;
    decoded.FromColumn = FileNumber(token.substr(0, 1));
    decoded.FromRow = RowOfRank(token[1]);
    decoded.Separator = token[2];
    decoded.ToColumn = FileNumber(token.substr(3, 1));
    decoded.ToRow = RowOfRank(token[4]);
    if (decoded.FromColumn == 0 || decoded.FromRow == 0 || decoded.ToColumn == 0 || decoded.ToRow == 0)
        return std::nullopt;
    return decoded;
}

std::optional<DecodedToken> ParseToken(std::string_view token)
{
    if (token.size() != 5 || (token[2] != '-' && token[2] != ':'))
        return std::nullopt;
    return DecodeToken(token);
}

std::string SquareName(int column, int row)
{
    return {static_cast<char>('a' + column - 1), static_cast<char>('0' + 9 - row)};
}

std::string WriteToken(int fromColumn, int fromRow, bool capture, int toColumn, int toRow)
{
    return SquareName(fromColumn, fromRow) + (capture ? ":" : "-") + SquareName(toColumn, toRow);
}

std::vector<std::string> LineTokens(std::string_view line)
{
    std::vector<std::string> tokens;
    for (std::size_t start = 0; start < line.size();) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end > start)
            tokens.emplace_back(line.substr(start, end - start));
        start = end + 1;
    }
    return tokens;
}

std::string JoinTokens(const std::vector<std::string>& tokens)
{
    std::string line;
    for (const std::string& token : tokens)
        line += (line.empty() ? "" : " ") + token;
    return line;
}

std::optional<std::string> TokenToMoveKey(std::string_view token)
{
    const auto decoded = DecodeToken(token);
    if (!decoded)
        return std::nullopt;
    return BuildMoveKey(decoded->FromRow, decoded->FromColumn, decoded->ToRow, decoded->ToColumn);
}

std::string BuildMoveKey(int fromRow, int fromColumn, int toRow, int toColumn)
{
    return std::to_string(fromRow) + std::to_string(fromColumn) + "-" + std::to_string(toRow) +
           std::to_string(toColumn);
}

std::string TokenAt(std::string_view line, int pos)
{
    if (pos < 1 || static_cast<std::size_t>(pos) > line.size())
        return {};
    return std::string(line.substr(static_cast<std::size_t>(pos) - 1, 5));
}

bool IsLastToken(std::string_view line, int pos)
{
    return static_cast<long long>(line.size()) - 6 < pos;
}

#include "Pgn.h"

#include <algorithm>
#include <cctype>

std::string PgnGame::Tag(const std::string& name) const
{
    auto it = tags.find(name);
    return it == tags.end() ? std::string() : it->second;
}

bool PgnReader::ReadLine(std::string& line)
{
    if (m_pending) {
        line = *m_pending;
        m_pending.reset();
        return true;
    }
    if (!std::getline(m_in, line))
        return false;
    ++m_lineNumber;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

std::optional<PgnGame> PgnReader::Next()
{
    std::string line;
    PgnGame game;
    // Skip blank lines up to the first tag or movetext.
    do {
        if (!ReadLine(line))
            return std::nullopt;
    } while (line.find_first_not_of(" \t") == std::string::npos);
    game.firstLine = m_lineNumber;
    while (!line.empty() && line[0] == '[') {
        const auto space = line.find(' ');
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        if (space != std::string::npos && open != std::string::npos && close > open)
            game.tags[line.substr(1, space - 1)] = line.substr(open + 1, close - open - 1);
        if (!ReadLine(line))
            return game;
    }
    std::string movetext;
    for (;;) {
        if (line.find_first_not_of(" \t") == std::string::npos) {
            // A blank line ends the movetext unless nothing has come yet.
            if (!movetext.empty())
                break;
        } else if (line[0] == '[' && !movetext.empty()) {
            m_pending = line;
            break;
        } else {
            movetext += line;
            movetext += '\n';
        }
        if (!ReadLine(line))
            break;
    }
    game.moves = MovetextTokens(movetext);
    return game;
}

namespace {

bool EndsWord(char c) { return std::isspace(static_cast<unsigned char>(c)) || c == '{' || c == '(' || c == ')' || c == ';'; }

// The move a movetext word holds, without its move number ("12.e4",
// "12...Nf6"); empty for a bare number, a NAG or the result.
std::string MoveOfWord(const std::string& word)
{
    if (word[0] == '$' || word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*")
        return {};
    std::size_t k = 0;
    while (k < word.size() && std::isdigit(static_cast<unsigned char>(word[k])))
        ++k;
    if (k == word.size())
        return {};
    if (k > 0 && word[k] == '.') {
        while (k < word.size() && word[k] == '.')
            ++k;
        return word.substr(k);
    }
    return word;
}

} // namespace

std::vector<std::string> MovetextTokens(const std::string& text)
{
    std::vector<std::string> tokens;
    int depth = 0;  // inside this many variations
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '{' || c == ';') {
            const auto end = text.find(c == '{' ? '}' : '\n', i);
            i = end == std::string::npos ? text.size() : end + 1;
        } else if (c == '(' || c == ')') {
            depth = c == '(' ? depth + 1 : std::max(0, depth - 1);
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else {
            std::size_t j = i;
            while (j < text.size() && !EndsWord(text[j]))
                ++j;
            if (const std::string move = MoveOfWord(text.substr(i, j - i)); depth == 0 && !move.empty())
                tokens.push_back(move);
            i = j;
        }
    }
    return tokens;
}

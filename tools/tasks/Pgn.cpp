#include "Pgn.h"

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

std::vector<std::string> MovetextTokens(const std::string& text)
{
    std::vector<std::string> tokens;
    int depth = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '{') {
            const auto end = text.find('}', i);
            i = end == std::string::npos ? text.size() : end + 1;
            continue;
        }
        if (c == ';') {
            const auto end = text.find('\n', i);
            i = end == std::string::npos ? text.size() : end + 1;
            continue;
        }
        if (c == '(') { ++depth; ++i; continue; }
        if (c == ')') { if (depth > 0) --depth; ++i; continue; }
        if (std::isspace(static_cast<unsigned char>(c))) { ++i; continue; }
        std::size_t j = i;
        while (j < text.size() && !std::isspace(static_cast<unsigned char>(text[j])) && text[j] != '{'
               && text[j] != '(' && text[j] != ')' && text[j] != ';')
            ++j;
        std::string token = text.substr(i, j - i);
        i = j;
        if (depth > 0 || token.empty() || token[0] == '$')
            continue;
        if (token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*")
            continue;
        // Strip a leading move number: "12." "12..." or "12.e4".
        std::size_t k = 0;
        while (k < token.size() && std::isdigit(static_cast<unsigned char>(token[k])))
            ++k;
        if (k > 0 && k < token.size() && token[k] == '.') {
            while (k < token.size() && token[k] == '.')
                ++k;
            token = token.substr(k);
        } else if (k == token.size()) {
            continue;
        }
        if (!token.empty())
            tokens.push_back(token);
    }
    return tokens;
}

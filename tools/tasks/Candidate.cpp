#include "Candidate.h"

#include <sstream>

std::vector<std::string> SplitFields(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

std::string TsvField(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

namespace {

std::string Join(const std::vector<std::string>& parts, char separator)
{
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += separator;
        out += parts[i];
    }
    return out;
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

} // namespace

std::string FormatScore(const Score& score)
{
    return (score.IsMate() ? "m" : "c") + std::to_string(score.value);
}

std::optional<Score> ParseScore(const std::string& text)
{
    if (text.size() < 2 || (text[0] != 'c' && text[0] != 'm'))
        return std::nullopt;
    try {
        std::size_t used = 0;
        const int value = std::stoi(text.substr(1), &used);
        if (used != text.size() - 1)
            return std::nullopt;
        return text[0] == 'm' ? Score::MateIn(value) : Score::Cp(value);
    } catch (...) {
        return std::nullopt;
    }
}

namespace {

std::string FormatSteps(const std::vector<UserStep>& list)
{
    std::vector<std::string> steps;
    for (const UserStep& s : list) {
        std::string flags;
        if (s.mateOnBoard)
            flags += 'M';
        if (s.stalemateOnBoard)
            flags += 'S';
        steps.push_back(FormatScore(s.best) + "|" + (s.second ? FormatScore(*s.second) : std::string("-")) + "|"
                        + FormatScore(s.after) + "|" + flags);
    }
    return Join(steps, ',');
}

bool ParseSteps(const std::string& text, std::vector<UserStep>& out)
{
    for (const std::string& step : SplitFields(text, ',')) {
        if (step.empty())
            continue;
        const auto parts = SplitFields(step, '|');
        if (parts.size() != 4)
            return false;
        UserStep s;
        const auto best = ParseScore(parts[0]);
        const auto after = ParseScore(parts[2]);
        if (!best || !after)
            return false;
        s.best = *best;
        s.after = *after;
        if (parts[1] != "-") {
            s.second = ParseScore(parts[1]);
            if (!s.second)
                return false;
        }
        s.mateOnBoard = parts[3].find('M') != std::string::npos;
        s.stalemateOnBoard = parts[3].find('S') != std::string::npos;
        out.push_back(s);
    }
    return true;
}

} // namespace

std::string FormatCandidate(const Candidate& c)
{
    std::ostringstream out;
    out << KindLetter(c.kind) << '\t' << TsvField(c.gameId) << '\t' << c.ply << '\t' << TsvField(c.white) << '\t'
        << TsvField(c.black) << '\t' << c.year << '\t' << TsvField(c.event) << '\t' << c.fen << '\t' << c.gameMove << '\t'
        << Join(c.line.moves, ' ') << '\t' << FormatSteps(c.line.steps) << '\t' << Join(c.line.continuation, ' ');
    if (c.firmChecked)
        out << '\t' << FormatSteps(c.firm);
    if (c.firmChecked && !c.firmBudgets.empty()) {
        std::vector<std::string> counts;
        for (long long nodes : c.firmBudgets)
            counts.push_back(std::to_string(nodes));
        out << '\t' << Join(counts, ',');
    }
    return out.str();
}

std::optional<Candidate> ParseCandidate(const std::string& text)
{
    const auto fields = SplitFields(text, '\t');
    if (fields.size() < 12 || fields.size() > 14 || fields[0].size() != 1)
        return std::nullopt;
    Candidate c;
    const auto kind = KindFromLetter(fields[0][0]);
    if (!kind)
        return std::nullopt;
    c.kind = *kind;
    c.gameId = fields[1];
    try {
        c.ply = std::stoi(fields[2]);
        c.year = std::stoi(fields[5]);
    } catch (...) {
        return std::nullopt;
    }
    c.white = fields[3];
    c.black = fields[4];
    c.event = fields[6];
    c.fen = fields[7];
    c.gameMove = fields[8];
    c.line.moves = Words(fields[9]);
    if (!ParseSteps(fields[10], c.line.steps))
        return std::nullopt;
    c.line.continuation = Words(fields[11]);
    if (fields.size() >= 13) {
        c.firmChecked = true;
        if (!ParseSteps(fields[12], c.firm) || c.firm.size() > c.line.steps.size())
            return std::nullopt;
    }
    if (fields.size() == 14) {
        for (const std::string& count : SplitFields(fields[13], ',')) {
            try {
                std::size_t used = 0;
                const long long nodes = std::stoll(count, &used);
                if (used != count.size() || nodes <= 0 || (!c.firmBudgets.empty() && nodes <= c.firmBudgets.back()))
                    return std::nullopt;
                c.firmBudgets.push_back(nodes);
            } catch (...) {
                return std::nullopt;
            }
        }
        if (c.firmBudgets.empty())
            return std::nullopt;
    }
    if (c.line.steps.empty() || c.line.moves.size() != 2 * c.line.steps.size() - 1)
        return std::nullopt;
    return c;
}

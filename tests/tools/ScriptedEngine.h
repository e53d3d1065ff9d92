#pragma once
// An engine for the tool tests that answers from a script.
#include "Mining.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// Answers by the moves played so far (joined by spaces); a position that is not in the script makes the engine fail.
class ScriptedEngine {
public:
    void Set(const std::string& moves, std::vector<Score> scores, std::string best, std::vector<std::string> lines = {})
    {
        m_answers[moves] = {std::move(scores), best, {best}, lines.empty() ? std::vector<std::string>{best} : std::move(lines)};
    }
    Analyser AsAnalyser()
    {
        return [this](const std::string&, const std::vector<std::string>& moves, int multiPv, EngineAnswer& out) {
            std::string key;
            for (const auto& m : moves)
                key += (key.empty() ? "" : " ") + m;
            ++calls;
            auto it = m_answers.find(key);
            if (it == m_answers.end())
                return false;
            out = it->second;
            out.scores.resize(std::min(out.scores.size(), static_cast<std::size_t>(multiPv)));
            out.moves.resize(std::min(out.moves.size(), static_cast<std::size_t>(multiPv)));
            return true;
        };
    }
    int calls = 0;

private:
    std::map<std::string, EngineAnswer> m_answers;
};

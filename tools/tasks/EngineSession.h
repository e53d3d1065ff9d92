#pragma once
// One engine process for the tools, restarted once when it crashes or hangs.
#include "Mining.h"
#include "Uci.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

class EngineSession {
public:
    explicit EngineSession(std::string program) : m_program(std::move(program)) {}

    bool Analyse(const std::string& fen, const std::vector<std::string>& moves, long long nodes, int multiPv,
                 EngineAnswer& out)
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!m_engine && !Restart())
                return false;
            Analysis analysis;
            const EngineError error = m_engine->Analyse(fen, moves, nodes, multiPv, analysis);
            if (error == EngineError::None) {
                out = {};
                out.bestMove = analysis.bestMove;
                for (const auto& line : analysis.lines) {
                    out.scores.push_back(line.score);
                    out.moves.push_back(line.pv.empty() ? std::string() : line.pv.front());
                }
                if (!analysis.lines.empty())
                    out.pv = analysis.lines.front().pv;
                if (out.bestMove == "(none)") {
                    out.scores.clear();
                    out.pv.clear();
                    out.moves.clear();
                }
                return true;
            }
            std::cerr << "engine: " << ErrorText(error) << " (" << m_engine->LastError() << "); restarting\n";
            m_engine.reset();
        }
        return false;
    }

    Analyser WithNodes(long long nodes)
    {
        return [this, nodes](const std::string& fen, const std::vector<std::string>& moves, int multiPv, EngineAnswer& out) {
            return Analyse(fen, moves, nodes, multiPv, out);
        };
    }

private:
    bool Restart()
    {
        auto io = StartProcess(m_program);
        if (!io)
            return false;
        // A search of millions of nodes on a busy, niced machine can take
        // minutes; the deadline is only there to tell a hung engine.
        UciEngine::Options options;
        options.searchTimeout = std::chrono::minutes(10);
        m_engine = std::make_unique<UciEngine>(std::move(io), options);
        if (m_engine->Start() != EngineError::None) {
            m_engine.reset();
            return false;
        }
        return true;
    }

    std::string m_program;
    std::unique_ptr<UciEngine> m_engine;
};


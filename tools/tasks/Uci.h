#pragma once
// Driving a UCI engine as a child process.
//
// The protocol code talks to an EngineIo, not to the process, so that tests
// can feed it text. Every wait has a deadline; a timeout is told apart from a
// crash (the engine's output closing).
#include "Score.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class EngineIo {
public:
    enum class Read { Line, Timeout, Closed };
    virtual ~EngineIo() = default;
    virtual bool WriteLine(const std::string& line) = 0;
    virtual Read ReadLine(std::string& line, std::chrono::milliseconds timeout) = 0;
};

// Starts `program` with no arguments and talks to it through pipes. Returns
// null when the program cannot be started.
std::unique_ptr<EngineIo> StartProcess(const std::string& program);

// One "info" line, as far as we read it.
struct InfoLine {
    std::optional<int> depth;
    std::optional<int> multipv;
    std::optional<Score> score;
    bool bound = false;  // "lowerbound" or "upperbound": not an exact score
    std::optional<long long> nodes;
    std::vector<std::string> pv;
};

// Reads an engine output line token by token; nullopt when it is not an
// "info" line or carries no score ("info string ...", "info currmove ...").
std::optional<InfoLine> ParseInfo(const std::string& line);

struct PvLine {
    Score score;
    std::vector<std::string> pv;  // UCI moves
};

// The lines of one search to use: every line from the same finished
// iteration, never a bound (`infos` in the order the engine sent them).
std::vector<PvLine> ChooseLines(const std::vector<InfoLine>& infos, int multiPv);

struct Analysis {
    std::vector<PvLine> lines;  // by multipv, best first
    std::string bestMove;       // "(none)" when the side to move has no move
};

enum class EngineError { None, Timeout, Crashed, Protocol };
std::string ErrorText(EngineError error);

class UciEngine {
public:
    struct Options {
        int threads = 1;
        int hashMb = 64;
        std::chrono::milliseconds handshakeTimeout{10000};
        // Generous: the deadline tells a hung engine from a slow one.
        std::chrono::milliseconds searchTimeout{120000};
    };

    UciEngine(std::unique_ptr<EngineIo> io, Options options);
    ~UciEngine();

    // uci/uciok, the options, isready/readyok.
    EngineError Start();
    // A fresh search of `fen` after `moves` (UCI), limited by nodes, with
    // `multiPv` lines. Clears the hash first ("ucinewgame"), so the same call
    // gives the same answer every time with one thread.
    EngineError Analyse(const std::string& fen, const std::vector<std::string>& moves, long long nodes,
                        int multiPv, Analysis& out);
    // "quit"; the process is ended by the EngineIo's destructor if it lingers.
    void Quit();
    const std::string& LastError() const { return m_lastError; }

private:
    EngineError WaitFor(const std::string& token, std::chrono::milliseconds timeout, std::string* lastLine = nullptr);
    EngineError Sync();

    std::unique_ptr<EngineIo> m_io;
    Options m_options;
    int m_multiPv = -1;
    std::string m_lastError;
};

#include "Uci.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class ProcessIo final : public EngineIo {
public:
    ProcessIo(pid_t pid, int toChild, int fromChild) : m_pid(pid), m_to(toChild), m_from(fromChild) {}
    ~ProcessIo() override
    {
        ::close(m_to);
        // Give the engine a moment to leave after "quit", then make sure.
        for (int i = 0; i < 50; ++i) {
            if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                ::close(m_from);
                return;
            }
            ::usleep(10000);
        }
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        ::close(m_from);
    }

    bool WriteLine(const std::string& line) override
    {
        const std::string text = line + "\n";
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(m_to, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    Read ReadLine(std::string& line, std::chrono::milliseconds timeout) override
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (auto nl = m_buffer.find('\n'); nl != std::string::npos) {
                line = m_buffer.substr(0, nl);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                m_buffer.erase(0, nl + 1);
                return Read::Line;
            }
            if (m_closed)
                return Read::Closed;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return Read::Timeout;
            pollfd fd{m_from, POLLIN, 0};
            const int ready = ::poll(&fd, 1, static_cast<int>(left.count()));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                continue;
            char chunk[4096];
            const ssize_t n = ::read(m_from, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                m_closed = true;
            else
                m_buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }

private:
    pid_t m_pid;
    int m_to;
    int m_from;
    std::string m_buffer;
    bool m_closed = false;
};

} // namespace

std::unique_ptr<EngineIo> StartProcess(const std::string& program)
{
    int toChild[2], fromChild[2], execCheck[2];
    if (::pipe(toChild) != 0)
        return nullptr;
    if (::pipe(fromChild) != 0) {
        ::close(toChild[0]); ::close(toChild[1]);
        return nullptr;
    }
    if (::pipe2(execCheck, O_CLOEXEC) != 0) {
        ::close(toChild[0]); ::close(toChild[1]); ::close(fromChild[0]); ::close(fromChild[1]);
        return nullptr;
    }
    std::signal(SIGPIPE, SIG_IGN);
    const pid_t pid = ::fork();
    if (pid < 0)
        return nullptr;
    if (pid == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        ::close(toChild[0]); ::close(toChild[1]); ::close(fromChild[0]); ::close(fromChild[1]);
        ::close(execCheck[0]);
        ::execlp(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        const char failed = 1;
        [[maybe_unused]] auto ignored = ::write(execCheck[1], &failed, 1);
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    ::close(execCheck[1]);
    char failed = 0;
    const bool execFailed = ::read(execCheck[0], &failed, 1) == 1;
    ::close(execCheck[0]);
    if (execFailed) {
        ::close(toChild[1]);
        ::close(fromChild[0]);
        ::waitpid(pid, nullptr, 0);
        return nullptr;
    }
    return std::make_unique<ProcessIo>(pid, toChild[1], fromChild[0]);
}

std::optional<InfoLine> ParseInfo(const std::string& line)
{
    std::istringstream in(line);
    std::string token;
    if (!(in >> token) || token != "info")
        return std::nullopt;
    InfoLine info;
    auto readInt = [&](auto& target) {
        std::string value;
        if (!(in >> value))
            return false;
        try {
            std::size_t used = 0;
            const long long n = std::stoll(value, &used);
            if (used != value.size())
                return false;
            target = static_cast<std::remove_reference_t<decltype(*target)>>(n);
            return true;
        } catch (...) {
            return false;
        }
    };
    while (in >> token) {
        if (token == "depth") {
            if (!readInt(info.depth)) return std::nullopt;
        } else if (token == "multipv") {
            if (!readInt(info.multipv)) return std::nullopt;
        } else if (token == "nodes") {
            if (!readInt(info.nodes)) return std::nullopt;
        } else if (token == "score") {
            std::string kind;
            std::optional<int> value;
            if (!(in >> kind) || !readInt(value))
                return std::nullopt;
            if (kind == "cp")
                info.score = Score::Cp(*value);
            else if (kind == "mate")
                info.score = Score::MateIn(*value);
            else
                return std::nullopt;
        } else if (token == "lowerbound" || token == "upperbound") {
            info.bound = true;
        } else if (token == "pv") {
            while (in >> token)
                info.pv.push_back(token);
        } else if (token == "string") {
            return std::nullopt;
        }
        // Other fields (seldepth, nps, time, hashfull, tbhits, wdl ...) carry a
        // value we do not need; their numbers are skipped as unknown tokens.
    }
    if (!info.score)
        return std::nullopt;
    return info;
}

std::vector<PvLine> ChooseLines(const std::vector<InfoLine>& infos, int multiPv)
{
    // Exact lines by depth and index; bounds are left out.
    std::map<int, std::map<int, const InfoLine*>> byDepth;
    int deepest = 0;
    for (const InfoLine& info : infos) {
        const int index = info.multipv.value_or(1);
        if (info.bound || index < 1 || index > multiPv)
            continue;
        byDepth[info.depth.value_or(0)][index] = &info;
        deepest = std::max(deepest, info.depth.value_or(0));
    }
    std::size_t wanted = 0;  // fewer lines than asked when there are fewer moves
    for (const auto& [depth, lines] : byDepth)
        wanted = std::max(wanted, static_cast<std::size_t>(lines.rbegin()->first));
    // The iterations that gave every line. With one line the deepest exact
    // one is taken as is. With more, the deepest such iteration is not taken
    // while it is also the last depth reached and an earlier one exists: a
    // stopped search reports the line it was searching with the depth it had
    // begun, as if that iteration had finished.
    std::vector<int> complete;
    for (const auto& [depth, lines] : byDepth)
        if (lines.size() == wanted && lines.rbegin()->first == static_cast<int>(wanted))
            complete.push_back(depth);
    std::vector<PvLine> chosen;
    if (!complete.empty()) {
        int depth = complete.back();
        if (wanted > 1 && depth == deepest && complete.size() > 1)
            depth = complete[complete.size() - 2];
        for (const auto& [index, info] : byDepth[depth])
            chosen.push_back({*info->score, info->pv});
        return chosen;
    }
    // No iteration gave every line (a search stopped at its very start): the
    // last exact line of each index, else the last bound.
    for (int index = 1; index <= multiPv; ++index) {
        const InfoLine* exact = nullptr;
        const InfoLine* any = nullptr;
        for (const InfoLine& info : infos)
            if (info.multipv.value_or(1) == index) {
                any = &info;
                exact = info.bound ? exact : &info;
            }
        const InfoLine* line = exact ? exact : any;
        if (!line)
            break;
        chosen.push_back({*line->score, line->pv});
    }
    return chosen;
}

std::string ErrorText(EngineError error)
{
    switch (error) {
    case EngineError::None: return "no error";
    case EngineError::Timeout: return "the engine did not answer in time";
    case EngineError::Crashed: return "the engine stopped (its output closed)";
    case EngineError::Protocol: return "the engine sent something unexpected";
    }
    return "unknown";
}

UciEngine::UciEngine(std::unique_ptr<EngineIo> io, Options options) : m_io(std::move(io)), m_options(options) {}

UciEngine::~UciEngine()
{
    if (m_io)
        Quit();
}

EngineError UciEngine::WaitFor(const std::string& token, std::chrono::milliseconds timeout, std::string* lastLine)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string line;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        switch (m_io->ReadLine(line, std::max(left, std::chrono::milliseconds(0)))) {
        case EngineIo::Read::Timeout:
            m_lastError = "timeout waiting for " + token;
            return EngineError::Timeout;
        case EngineIo::Read::Closed:
            m_lastError = "engine output closed while waiting for " + token;
            return EngineError::Crashed;
        case EngineIo::Read::Line:
            if (line == token || line.rfind(token + " ", 0) == 0) {
                if (lastLine)
                    *lastLine = line;
                return EngineError::None;
            }
            break;
        }
    }
}

EngineError UciEngine::Sync()
{
    if (!m_io->WriteLine("isready"))
        return EngineError::Crashed;
    return WaitFor("readyok", m_options.handshakeTimeout);
}

EngineError UciEngine::Start()
{
    if (!m_io->WriteLine("uci"))
        return EngineError::Crashed;
    if (auto e = WaitFor("uciok", m_options.handshakeTimeout); e != EngineError::None)
        return e;
    m_io->WriteLine("setoption name Threads value " + std::to_string(m_options.threads));
    m_io->WriteLine("setoption name Hash value " + std::to_string(m_options.hashMb));
    return Sync();
}

EngineError UciEngine::Analyse(const std::string& fen, const std::vector<std::string>& moves, long long nodes,
                               int multiPv, Analysis& out)
{
    out = {};
    if (multiPv != m_multiPv) {
        m_io->WriteLine("setoption name MultiPV value " + std::to_string(multiPv));
        m_multiPv = multiPv;
    }
    if (!m_io->WriteLine("ucinewgame"))
        return EngineError::Crashed;
    if (auto e = Sync(); e != EngineError::None)
        return e;
    std::string position = "position fen " + fen;
    if (!moves.empty()) {
        position += " moves";
        for (const auto& m : moves)
            position += " " + m;
    }
    m_io->WriteLine(position);
    if (!m_io->WriteLine("go nodes " + std::to_string(nodes)))
        return EngineError::Crashed;

    std::vector<InfoLine> infos;
    const auto deadline = std::chrono::steady_clock::now() + m_options.searchTimeout;
    std::string line;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        switch (m_io->ReadLine(line, std::max(left, std::chrono::milliseconds(0)))) {
        case EngineIo::Read::Timeout:
            m_io->WriteLine("stop");
            m_lastError = "search timeout";
            return EngineError::Timeout;
        case EngineIo::Read::Closed:
            m_lastError = "engine output closed during search";
            return EngineError::Crashed;
        case EngineIo::Read::Line:
            break;
        }
        if (line.rfind("bestmove", 0) == 0) {
            std::istringstream in(line);
            std::string word;
            in >> word >> out.bestMove;
            if (out.bestMove.empty()) {
                m_lastError = "bestmove without a move";
                return EngineError::Protocol;
            }
            break;
        }
        if (auto info = ParseInfo(line); info && !info->pv.empty()) {
            infos.push_back(*info);
        } else if (info && info->pv.empty() && info->score && info->score->IsMate() && info->score->value == 0) {
            // A mated (or stalemated) position reports a score with no move.
            info->multipv = 1;
            infos.push_back(*info);
        }
    }
    out.lines = ChooseLines(infos, multiPv);
    // The first choice is the first line's move, from the same iteration as
    // the scores (the engine's own "bestmove" may come from a later, unfinished
    // one).
    if (multiPv > 1 && !out.lines.empty() && !out.lines.front().pv.empty())
        out.bestMove = out.lines.front().pv.front();
    return EngineError::None;
}

void UciEngine::Quit()
{
    if (!m_io)
        return;
    m_io->WriteLine("quit");
    m_io.reset();
}

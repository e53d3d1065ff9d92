#include "Commands.h"

#include "EngineSession.h"
#include "Mine.h"
#include "Unit2.h"
#include "Unitstrategy.h"

#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>
#include <stdexcept>

using fullchess::Position;

namespace {

// The three worked examples stand as given; they are checked for legality
// only, not for the engine's margins.
bool Exempt(const std::string& collection, const std::string& position)
{
    return (collection == "tactics"
            && (position == "r2qrbk1/1bp2ppp/p2p1n2/2p2NB1/4P3/2N2Q2/PPP2PPP/R3R1K1"
                || position == "4Q3/7k/2p2q1p/1p3p1K/5P2/p6P/8/8"))
        || (collection == "strategy" && position == "8/8/5pkp/3Q4/5P2/1P4K1/6P1/1r5r");
}

// Tokens such as "e3-g5" to UCI moves on `root`; empty with a reason on error.
std::vector<std::string> UciLine(const Position& root, const std::string& solution, std::string& error)
{
    std::vector<std::string> moves;
    std::istringstream in(solution);
    std::string token;
    Position p = root;
    while (in >> token) {
        if (token.size() != 5 || (token[2] != '-' && token[2] != ':')) {
            error = "malformed token " + token;
            return {};
        }
        const std::string uci = token.substr(0, 2) + token.substr(3, 2);
        const auto move = p.ParseUci(uci);
        if (!move) {
            error = "illegal move " + token;
            return {};
        }
        if ((token[2] == ':') != move->capture) {
            error = "token " + token + " marks a capture wrongly";
            return {};
        }
        p.Play(*move);
        moves.push_back(uci);
    }
    return moves;
}

} // namespace

int CommandVerify(const std::vector<std::string>& args)
{
    long long nodes = 2000000;
    std::string engineName, only;
    int from = 1;
    int jobs = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        auto value = [&] {
            if (i + 1 >= args.size())
                throw std::invalid_argument(args[i] + " needs a value");
            return args[++i];
        };
        if (args[i] == "--nodes")
            nodes = std::stoll(value());
        else if (args[i] == "--engine")
            engineName = value();
        else if (args[i] == "--only")
            only = value();
        else if (args[i] == "--from")
            from = std::stoi(value());
        else if (args[i] == "--jobs")
            jobs = std::max(1, std::stoi(value()));
        else
            throw std::invalid_argument("verify: unknown argument " + args[i]);
    }
    if (nodes < 2000000)
        std::cerr << "verify: note: fewer nodes than the collections were built with\n";
    const std::string engine = FindEngine(engineName);
    if (engine.empty())
        throw std::runtime_error("no engine found (install the Debian package stockfish)");
    struct Entry {
        std::string collection;
        int number;
        std::string position, side, solution, taskText;
    };
    std::vector<Entry> entries;
    for (int n = 1; n <= 225; ++n) {
        TPart r;
        r.LoadTask(n);
        entries.push_back({"tactics", n, r.position, r.sideToMove, r.solution, r.taskText});
    }
    for (int n = 1; n <= 189; ++n) {
        TPartstr r;
        r.LoadTask(n);
        entries.push_back({"strategy", n, r.position, r.sideToMove, r.solution, r.taskText});
    }
    std::vector<const Entry*> work;
    for (const Entry& e : entries)
        if ((only.empty() || e.collection == only) && e.number >= from)
            work.push_back(&e);
    // Each engine is used alone, one search at a time, so the answers do not
    // depend on how many jobs run; results are printed in record order.
    std::vector<std::string> problems(work.size());
    std::mutex mutex;
    std::size_t next = 0;
    auto worker = [&] {
        EngineSession session(engine);
        const Analyser analyser = session.WithNodes(nodes);
        for (;;) {
            std::size_t index;
            {
                std::lock_guard lock(mutex);
                if (next >= work.size())
                    return;
                index = next++;
            }
            const Entry& e = *work[index];
            const std::string placement = e.position.substr(0, e.position.find(' '));
            const auto root = Position::FromFen(placement + " " + e.side + " - - 0 1");
            std::string problem;
            std::vector<std::string> moves;
            if (e.position.empty())
                problem = "no such record";
            else if (!root)
                problem = "the position cannot be read";
            else
                moves = UciLine(*root, e.solution, problem);
            if (problem.empty() && !Exempt(e.collection, placement)) {
                const TaskKind kind = e.collection == "strategy" ? TaskKind::Strategy
                    : e.taskText.find("Сделайте ничью") != std::string::npos ? TaskKind::Draw
                                                                             : TaskKind::Tactic;
                problem = CheckLine(kind, *root, moves, analyser);
                if (problem.empty() && kind == TaskKind::Strategy && moves.size() == 1) {
                    const auto m = root->ParseUci(moves[0]);
                    if (m->capture || root->After(*m).InCheck())
                        problem = "a one-move strategy test must be a quiet move";
                }
            }
            std::lock_guard lock(mutex);
            problems[index] = problem.empty() ? "" : e.collection + " " + std::to_string(e.number) + ": " + problem;
            if (!problem.empty())
                std::cout << problems[index] << "\n" << std::flush;
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < jobs; ++i)
        threads.emplace_back(worker);
    for (auto& t : threads)
        t.join();
    int sound = 0;
    const int checked = static_cast<int>(work.size());
    for (const auto& p : problems)
        sound += p.empty() ? 1 : 0;
    std::cout << "verified: " << sound << " of " << checked << " sound\n";
    return sound == checked ? 0 : 1;
}

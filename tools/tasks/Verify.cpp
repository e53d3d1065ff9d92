#include "Commands.h"
#include "Verify.h"

#include "EngineSession.h"
#include "Collections.h"
#include "Hints.h"
#include "Notation.h"
#include "Mine.h"
#include "Plan.h"
#include "Rules.h"
#include "Unit2.h"
#include "Unitstrategy.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
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

// Those three and the whole-FEN record stand as given where they break a rule
// of the start or the end; what they break is noted, not counted.
bool GivenAsIs(const std::string& collection, const std::string& position)
{
    const std::string wholeFen = kWholeFen;
    return Exempt(collection, position) || position == wholeFen.substr(0, wholeFen.find(' '));
}

// Tokens such as "e3-g5" to UCI moves on `root`; empty with a reason on error.
std::vector<std::string> UciLine(const Position& root, const std::string& solution, std::string& error)
{
    std::vector<std::string> moves;
    Position p = root;
    for (const std::string& token : LineTokens(solution)) {
        const auto parsed = ParseToken(token);
        if (!parsed) {
            error = "malformed token " + token;
            return {};
        }
        const std::string uci = SquareName(parsed->FromColumn, parsed->FromRow) + SquareName(parsed->ToColumn, parsed->ToRow);
        const auto move = p.ParseUci(uci);
        if (!move) {
            error = "illegal move " + token;
            return {};
        }
        if (parsed->IsCapture() != move->capture) {
            error = "token " + token + " marks a capture wrongly";
            return {};
        }
        p.Play(*move);
        moves.push_back(uci);
    }
    return moves;
}

// What a verdict depends on: the record's text, the budget and the engine
// binary. A kept verdict is taken again only while all of them are the same;
// the record's number is not part of it, so a record that moves to another
// place in a new edition keeps its verdict.
std::string VerdictKey(const RecordText& e, long long nodes, const std::string& engine)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(engine, ec);
    const auto stamp = std::filesystem::last_write_time(engine, ec).time_since_epoch().count();
    const std::string text = e.collection + '\n' + e.position + '\n' + e.side + '\n'
        + e.solution + '\n' + e.taskText + '\n' + e.hint + '\n' + std::to_string(nodes) + '\n' + engine + '\n'
        + std::to_string(size) + '\n' + std::to_string(stamp);
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (const unsigned char c : text)
        hash = (hash ^ c) * 1099511628211ull;
    std::ostringstream out;
    out << std::hex << hash;
    return out.str();
}

struct Verdict {
    std::string key, problem, note;
};

// A verdict file holds one line per checked record: collection, number, key,
// problem, note (tab-separated; empty problem means sound). Verdicts are
// found by key; later lines win.
std::map<std::string, Verdict> ReadVerdicts(const std::string& file)
{
    std::map<std::string, Verdict> kept;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (const auto f = SplitFields(line, '\t'); f.size() == 5)
            kept[f[2]] = {f[2], f[3], f[4]};
    return kept;
}

} // namespace

std::vector<RecordText> CompiledRecords()
{
    std::vector<RecordText> entries;
    for (int n = 1; n <= kTacticsCount; ++n) {
        TPart r;
        r.LoadTask(n);
        entries.push_back({"tactics", n, r.position, r.sideToMove, r.solution, r.taskText, r.hint});
    }
    for (int n = 1; n <= kStrategyCount; ++n) {
        TPartstr r;
        r.LoadTask(n);
        entries.push_back({"strategy", n, r.position, r.sideToMove, r.solution, r.taskText, r.hint});
    }
    return entries;
}

std::vector<std::string> RecordProblems(const RecordText& e, const Analyser* engine, std::vector<std::string>& notes)
{
    std::vector<std::string> found;
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
    if (!problem.empty() || moves.empty()) {
        found.push_back(problem.empty() ? "no moves" : problem);
        return found;
    }
    const bool asIs = GivenAsIs(e.collection, placement);
    std::vector<std::string>& rules = asIs ? notes : found;
    const TaskKind kind = e.collection == "strategy" ? TaskKind::Strategy
        : e.taskText.find("Сделайте ничью") != std::string::npos ? TaskKind::Draw
                                                                 : TaskKind::Tactic;
    // Without an engine the end is judged as if the score were decisive.
    std::optional<Score> after = Score::Cp(kDecisiveCp);
    if (engine && !Exempt(e.collection, placement)) {
        const LineWalk walk = WalkLine(kind, *root, moves, *engine);
        after.reset();
        if (!walk.problem.empty())
            found.push_back(walk.problem);
        else if (!LineMayEnd(kind, walk.steps.back()))
            found.push_back("the line ends without the required outcome (" + walk.steps.back().after.Text() + ")");
        else
            after = walk.steps.back().after;
    }
    if (after && kind == TaskKind::Draw && !engine)
        after = Score::Cp(0);
    if (after && !Exempt(e.collection, placement)) {
        const LineEnd end = JudgeEnd(kind, ReplayLine(*root, moves, static_cast<int>(moves.size())), *after);
        if (!EndIsPoint(kind, end, *after))
            rules.push_back(std::string("the line stops before its point (") + LineEndName(end) + ", " + after->Text() + ")");
    }
    if (kind == TaskKind::Strategy && moves.size() == 1 && !Exempt(e.collection, placement)) {
        const auto m = root->ParseUci(moves[0]);
        if (m->capture || root->After(*m).InCheck())
            found.push_back("a one-move strategy test must be a quiet move");
    }
    const StartFacts start = ReadStart(*root, moves.front());
    if (start.inCheck)
        rules.push_back("the side to move starts in check");
    if (start.legalMoves < kMinStartMoves)
        rules.push_back("only " + std::to_string(start.legalMoves) + " legal moves at the start");
    for (const std::string& h : HintProblems(e.hint, *root, moves, HintOriginOf(e.collection, e.number).entry))
        rules.push_back("hint: " + h);
    return found;
}

bool FirstMoveChecks(const RecordText& e)
{
    const std::string placement = e.position.substr(0, e.position.find(' '));
    const auto root = Position::FromFen(placement + " " + e.side + " - - 0 1");
    std::string problem;
    const auto moves = root ? UciLine(*root, e.solution, problem) : std::vector<std::string>{};
    return !moves.empty() && ReadStart(*root, moves.front()).firstMoveChecks;
}

int CommandVerify(const std::vector<std::string>& args)
{
    long long nodes = 2000000;
    std::string engineName, only;
    int from = 1;
    int jobs = 1;
    bool rulesOnly = false;
    std::string verdictFile;
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
        else if (args[i] == "--rules-only")
            rulesOnly = true;
        else if (args[i] == "--record")
            verdictFile = value();
        else
            throw std::invalid_argument("verify: unknown argument " + args[i]);
    }
    if (nodes < 2000000 && !rulesOnly)
        std::cerr << "verify: note: fewer nodes than the collections were built with\n";
    const std::string engine = rulesOnly ? std::string() : FindEngine(engineName);
    if (engine.empty() && !rulesOnly)
        throw std::runtime_error("no engine found (install the Debian package stockfish)");
    const auto entries = CompiledRecords();
    std::vector<const RecordText*> work;
    for (const RecordText& e : entries)
        if ((only.empty() || e.collection == only) && e.number >= from)
            work.push_back(&e);
    // Each engine is used alone, one search at a time with a cleared hash, so
    // the answers do not depend on how many jobs run; results are printed in
    // record order.
    std::vector<std::string> problems(work.size()), notes(work.size());
    std::mutex mutex;
    std::size_t next = 0;
    // With --record, verdicts are kept as they are found, so a long check can
    // stop and go on later without checking a record twice.
    if (rulesOnly)
        verdictFile.clear();
    const auto kept = verdictFile.empty() ? decltype(ReadVerdicts("")){} : ReadVerdicts(verdictFile);
    int reused = 0;
    auto worker = [&] {
        std::unique_ptr<EngineSession> session;
        Analyser analyser;
        if (!rulesOnly) {
            session = std::make_unique<EngineSession>(engine);
            analyser = session->WithNodes(nodes);
        }
        for (;;) {
            std::size_t index;
            {
                std::lock_guard lock(mutex);
                if (next >= work.size())
                    return;
                index = next++;
            }
            const RecordText& e = *work[index];
            const std::string key = verdictFile.empty() ? std::string() : VerdictKey(e, nodes, engine);
            const auto old = kept.find(key);
            const bool known = !key.empty() && old != kept.end();
            std::string problem, note;
            if (known) {
                problem = old->second.problem;
                note = old->second.note;
            } else {
                std::vector<std::string> given;
                const auto found = RecordProblems(e, rulesOnly ? nullptr : &analyser, given);
                for (const std::string& f : found)
                    problem += (problem.empty() ? "" : "; ") + f;
                for (const std::string& n : given)
                    note += (note.empty() ? "" : "; ") + n;
            }
            const std::string name = e.collection + " " + std::to_string(e.number) + ": ";
            std::lock_guard lock(mutex);
            if (known)
                ++reused;
            else if (!verdictFile.empty())
                std::ofstream(verdictFile, std::ios::app) << e.collection << '\t' << e.number << '\t' << key << '\t'
                                                          << TsvField(problem) << '\t' << TsvField(note) << '\n';
            problems[index] = problem.empty() ? "" : name + problem;
            notes[index] = note.empty() ? "" : name + "given as is: " + note;
            if (!problem.empty())
                std::cout << problems[index] << "\n" << std::flush;
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < jobs; ++i)
        threads.emplace_back(worker);
    for (auto& t : threads)
        t.join();
    for (const auto& n : notes)
        if (!n.empty())
            std::cout << n << "\n";
    if (!verdictFile.empty())
        std::cout << "verdicts taken from " << verdictFile << ": " << reused << " of " << work.size() << "\n";
    int sound = 0, checkStarts = 0, tacticsChecked = 0;
    std::map<Motif, int> motifs;
    for (std::size_t i = 0; i < work.size(); ++i) {
        sound += problems[i].empty() ? 1 : 0;
        if (work[i]->collection == "tactics") {
            ++tacticsChecked;
            checkStarts += FirstMoveChecks(*work[i]) ? 1 : 0;
            ++motifs[HintOriginOf(work[i]->collection, work[i]->number).motif];
        }
    }
    const int checked = static_cast<int>(work.size());
    bool startsOk = true;
    if (tacticsChecked == kTacticsCount) {
        startsOk = checkStarts * 2 <= tacticsChecked;
        std::cout << "tactics starting with a check: " << checkStarts << " of " << tacticsChecked
                  << (startsOk ? "" : " (more than half)") << "\ntactics hints by motif:";
        for (const auto& [motif, count] : motifs)
            std::cout << " " << MotifName(motif) << " " << count << ";";
        std::cout << "\n";
    }
    std::cout << (rulesOnly ? "rules: " : "verified: ") << sound << " of " << checked
              << (rulesOnly ? " keep the rules of a test (no engine)\n" : " sound and complete\n");
    return sound == checked && startsOk ? 0 : 1;
}

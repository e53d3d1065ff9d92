#include "Select.h"

#include "Commands.h"
#include "EngineSession.h"
#include "Hints.h"
#include "Mine.h"
#include "Plan.h"
#include "Rules.h"
#include "Verify.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <thread>

using fullchess::Position;

namespace {

// Whether the line may end after its user move `index` as `step` saw it.
bool StepMayEnd(const Candidate& candidate, const Position& root, std::size_t index, const UserStep& step)
{
    const int tokens = static_cast<int>(2 * index + 1);
    const LineBoard board = ReplayLine(root, candidate.line.moves, tokens);
    return LineMayEnd(candidate.kind, step) && EndIsPoint(candidate.kind, JudgeEnd(candidate.kind, board, step.after), step.after);
}

} // namespace

std::vector<int> EndLengths(const Candidate& candidate)
{
    std::vector<int> lengths;
    const auto root = Position::FromFen(candidate.fen);
    if (!root)
        return lengths;
    // After the first move of a strategy test the user must still stand, by
    // the firm count as verify judges it.
    if (candidate.kind == TaskKind::Strategy && candidate.firmChecked && !candidate.firm.empty()
        && candidate.firm.front().after.Rank() < kStrategyStandCp)
        return lengths;
    // With a firm walk, only the prefix that held there, judged by both counts.
    const std::size_t steps = candidate.firmChecked ? candidate.firm.size() : candidate.line.steps.size();
    for (std::size_t i = 0; i < steps; ++i)
        if (StepMayEnd(candidate, *root, i, candidate.line.steps[i])
            && (!candidate.firmChecked || StepMayEnd(candidate, *root, i, candidate.firm[i])))
            lengths.push_back(static_cast<int>(2 * i + 1));
    return lengths;
}

std::vector<long long> FirmBudgetsFor(TaskKind kind, const std::vector<long long>& asked)
{
    std::vector<long long> sorted = asked;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    const long long largest = LargestBudget(kind == TaskKind::Strategy ? "strategy" : "tactics");
    std::vector<long long> budgets;
    for (long long nodes : sorted)
        if (nodes <= largest)
            budgets.push_back(nodes);
    if (budgets.empty() && !sorted.empty())
        budgets.push_back(sorted.front());
    return budgets;
}

void WalkFirm(Candidate& confirmed, const Position& root, const std::vector<FirmCount>& counts)
{
    // Each step kept is the worse of two sights of it: the one that may not
    // end (or, first in a strategy test, leaves the user standing too low),
    // else the one with the narrower margin.
    const auto fails = [&](std::size_t i, const UserStep& s) {
        return !StepMayEnd(confirmed, root, i, s)
            || (confirmed.kind == TaskKind::Strategy && i == 0 && s.after.Rank() < kStrategyStandCp);
    };
    confirmed.firmChecked = false;
    confirmed.firm.clear();
    confirmed.firmBudgets.clear();
    for (std::size_t k = 0; k < counts.size(); ++k) {
        const auto lengths = EndLengths(confirmed);
        confirmed.firmBudgets.push_back(counts[k].nodes);
        if (confirmed.firmChecked && lengths.empty())
            continue;  // nothing held: a larger count cannot bring it back
        const std::size_t upTo = lengths.empty() ? 1 : static_cast<std::size_t>(lengths.back());
        const std::vector<std::string> moves(confirmed.line.moves.begin(), confirmed.line.moves.begin() + static_cast<long>(upTo));
        // Replies are judged at the largest count only, as verify does.
        const LineWalk walk = WalkLine(confirmed.kind, root, moves, counts[k].engine, k + 1 == counts.size());
        if (!confirmed.firmChecked) {
            confirmed.firm = walk.steps;
            confirmed.firmChecked = true;
            continue;
        }
        std::vector<UserStep> worse;
        for (std::size_t i = 0; i < confirmed.firm.size() && i < walk.steps.size(); ++i) {
            const UserStep& seen = confirmed.firm[i];
            const UserStep& now = walk.steps[i];
            const bool seenFails = fails(i, seen), nowFails = fails(i, now);
            worse.push_back(seenFails != nowFails ? (seenFails ? seen : now) : now.Margin() < seen.Margin() ? now : seen);
        }
        confirmed.firm = std::move(worse);
    }
}

std::string EraOf(const Candidate& candidate)
{
    return candidate.gameId.substr(0, candidate.gameId.find('#'));
}

std::string KeyOf(const Candidate& candidate)
{
    return std::string(1, KindLetter(candidate.kind)) + " " + candidate.gameId + " " + std::to_string(candidate.ply);
}

namespace {

std::vector<Candidate> ReadCandidateFile(const std::filesystem::path& path)
{
    std::vector<Candidate> out;
    std::ifstream in(path);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty())
            continue;
        if (auto c = ParseCandidate(line))
            out.push_back(std::move(*c));
        else
            std::cerr << path.string() << ":" << number << ": unreadable candidate skipped\n";
    }
    return out;
}

} // namespace

std::vector<Candidate> LoadCandidates(const std::string& dir)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("candidates-", 0) == 0 && entry.path().extension() == ".tsv")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<Candidate> all;
    std::set<std::string> seen;
    for (const auto& path : files)
        for (auto& c : ReadCandidateFile(path))
            if (seen.insert(KeyOf(c)).second)
                all.push_back(std::move(c));
    return all;
}

namespace {

struct Store {
    std::filesystem::path confirmedPath, rejectedPath;
    std::map<std::string, Candidate> confirmed;
    std::set<std::string> rejected;
    std::mutex mutex;

    explicit Store(const std::string& dir)
        : confirmedPath(std::filesystem::path(dir) / "confirmed.tsv"),
          rejectedPath(std::filesystem::path(dir) / "rejected.tsv")
    {
        for (auto& c : ReadCandidateFile(confirmedPath))
            confirmed[KeyOf(c)] = c;
        std::ifstream in(rejectedPath);
        std::string line;
        while (std::getline(in, line))
            rejected.insert(line.substr(0, line.find('\t')));
    }

    void Confirm(const Candidate& c)
    {
        std::lock_guard lock(mutex);
        confirmed[KeyOf(c)] = c;
        std::ofstream out(confirmedPath, std::ios::app);
        out << FormatCandidate(c) << '\n';
    }

    void Reject(const Candidate& c, const std::string& why)
    {
        std::lock_guard lock(mutex);
        rejected.insert(KeyOf(c));
        std::ofstream out(rejectedPath, std::ios::app);
        out << KeyOf(c) << '\t' << why << '\n';
    }
};

// How far a confirmed tactics line may grow beyond the mined one.
constexpr int kExtendTokens = 11;

// The line of a mined candidate built again at full depth, as long as the
// mined one (a record with no line yet, the fixed one, may grow to the
// longest). A tactics line may go on where the mining count stopped it, as
// far as --extend does. Empty when it holds, else why not.
std::string BuildAgain(const Candidate& c, const Position& root, const Analyser& analyser, Candidate& confirmed)
{
    const int mined = static_cast<int>(c.line.moves.size());
    const int maxTokens = c.line.steps.empty() ? 13
        : c.kind == TaskKind::Tactic            ? std::max(mined, kExtendTokens)
                                                : mined;
    const auto line = BuildLine(c.kind, root, maxTokens, analyser);
    if (!line)
        return "first move not sound at full depth";
    confirmed.line = *line;
    return EndLengths(confirmed).empty() ? "no sound end at full depth" : "";
}

// Builds an asked-for line again at full depth; a line already built (and
// chosen by the plan) is walked once more at the firm count, where a margin
// that held only at one budget shows. The result replaces the candidate's.
void ConfirmAll(const std::vector<const Candidate*>& work, Store& store, const std::string& engine, long long nodes,
                const std::vector<long long>& firmBudgets, int jobs)
{
    std::mutex queueMutex;
    std::size_t next = 0;
    std::size_t finished = 0;
    auto worker = [&] {
        EngineSession session(engine);
        const Analyser analyser = session.WithNodes(nodes);
        const auto countsFor = [&](TaskKind kind) {
            std::vector<FirmCount> counts;
            for (long long n : FirmBudgetsFor(kind, firmBudgets))
                counts.push_back({n, session.WithNodes(n)});
            return counts;
        };
        for (;;) {
            const Candidate* c;
            bool built;
            {
                std::lock_guard lock(queueMutex);
                if (next >= work.size())
                    return;
                c = work[next++];
                built = store.confirmed.count(KeyOf(*c)) > 0;
            }
            const auto root = Position::FromFen(c->fen);
            Candidate confirmed = built ? store.confirmed.at(KeyOf(*c)) : *c;
            const std::string failure = !root ? "the position cannot be read"
                : built                       ? ""
                                              : BuildAgain(*c, *root, analyser, confirmed);
            // A line built just now waits for the plan to choose it; a chosen
            // one is walked at the firm counts of its kind.
            if (failure.empty() && built)
                WalkFirm(confirmed, *root, countsFor(confirmed.kind));
            if (failure.empty())
                store.Confirm(confirmed);
            else
                store.Reject(*c, failure);
            std::lock_guard lock(queueMutex);
            ++finished;
            if (finished % 10 == 0 || finished == work.size())
                std::cerr << "select: confirmed " << finished << "/" << work.size() << "\n";
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < jobs; ++i)
        threads.emplace_back(worker);
    for (auto& t : threads)
        t.join();
}

// Lines built at the mining count often stop where a second move looked as
// good; at the full count they may go on. Every confirmed tactics line of
// `fromTokens` tokens or more is grown once at the full count, up to
// `toTokens`; a line that grew is stored again and waits for the plan (and
// its firm walk) like a new one. Tried keys are kept in extended.tsv.
void ExtendAll(Store& store, const std::string& dir, const std::string& engine, long long nodes, int jobs,
               int fromTokens, int toTokens)
{
    const auto triedPath = std::filesystem::path(dir) / "extended.tsv";
    std::set<std::string> tried;
    {
        std::ifstream in(triedPath);
        std::string line;
        while (std::getline(in, line))
            tried.insert(line.substr(0, line.find('\t')));
    }
    std::vector<Candidate> work;
    for (const auto& [key, c] : store.confirmed) {
        const int tokens = static_cast<int>(c.line.moves.size());
        if (c.kind == TaskKind::Tactic && !tried.count(key + " " + std::to_string(toTokens)) && tokens >= fromTokens
            && tokens + 2 <= toTokens && !c.line.continuation.empty())
            work.push_back(c);
    }
    std::cerr << "select: " << work.size() << " confirmed lines to grow at " << nodes << " nodes\n";
    std::mutex mutex;
    std::size_t next = 0, grown = 0, finished = 0;
    auto worker = [&] {
        EngineSession session(engine);
        const Analyser analyser = session.WithNodes(nodes);
        for (;;) {
            Candidate c;
            {
                std::lock_guard lock(mutex);
                if (next >= work.size())
                    return;
                c = work[next++];
            }
            const auto root = Position::FromFen(c.fen);
            const std::size_t before = c.line.moves.size();
            if (root) {
                const BuiltLine longer = ExtendLine(c.kind, *root, c.line, toTokens, analyser);
                if (longer.moves.size() > before) {
                    c.line = longer;
                    c.firmChecked = false;
                    c.firm.clear();
                    c.firmBudgets.clear();
                    store.Confirm(c);
                }
            }
            std::lock_guard lock(mutex);
            grown += c.line.moves.size() > before ? 1 : 0;
            std::ofstream(triedPath, std::ios::app) << KeyOf(c) << " " << toTokens << '\t' << before << " -> "
                                                    << c.line.moves.size() << '\n';
            if (++finished % 10 == 0 || finished == work.size())
                std::cerr << "select: grown " << grown << " of " << finished << "/" << work.size() << "\n";
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < jobs; ++i)
        threads.emplace_back(worker);
    for (auto& t : threads)
        t.join();
}

} // namespace

std::vector<Candidate> ForPlanning(const std::map<std::string, Candidate>& confirmed,
                                   const std::vector<long long>& firmBudgets, const std::vector<RecordText>& current)
{
    std::set<std::string> inForce;
    for (const RecordText& r : current)
        inForce.insert(PlacementSide(r));
    std::vector<Candidate> out;
    for (const auto& [key, stored] : confirmed) {
        Candidate c = stored;
        const std::vector<long long> walked =
            c.firmBudgets.empty() ? std::vector<long long>{kFirmNodesBeforeRecorded} : c.firmBudgets;
        bool made = true;
        for (long long nodes : FirmBudgetsFor(c.kind, firmBudgets))
            made = made && std::find(walked.begin(), walked.end(), nodes) != walked.end();
        if (c.firmChecked && !made && !inForce.count(PlacementSide(c))) {
            c.firmChecked = false;
            c.firm.clear();
            c.firmBudgets.clear();
        }
        out.push_back(std::move(c));
    }
    return out;
}

namespace {

std::string TakeValue(const std::vector<std::string>& args, std::size_t& i)
{
    if (i + 1 >= args.size())
        throw std::invalid_argument(args[i] + " needs a value");
    return args[++i];
}

// The options of `select`, as its command line gives them.
struct SelectOptions {
    std::string mined = "tools/tasks/mined";
    std::string out = "collections/generated";
    std::string engineName;
    long long nodes = 2000000;
    std::vector<long long> firmBudgets{kFirmNodesBeforeRecorded};
    int jobs = 2;
    bool confirm = true;
    bool preview = false;
    bool showHints = false;
    std::size_t maxConfirm = 0;  // 0: all a round asks for
    int extendFrom = 0;  // grow the confirmed tactics lines of at least this many tokens
};

SelectOptions ReadSelectOptions(const std::vector<std::string>& args)
{
    SelectOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--mined")
            o.mined = TakeValue(args, i);
        else if (args[i] == "--out")
            o.out = TakeValue(args, i);
        else if (args[i] == "--engine")
            o.engineName = TakeValue(args, i);
        else if (args[i] == "--nodes")
            o.nodes = std::stoll(TakeValue(args, i));
        else if (args[i] == "--firm-nodes")
            o.firmBudgets = ReadBudgets(TakeValue(args, i));
        else if (args[i] == "--jobs")
            o.jobs = std::stoi(TakeValue(args, i));
        else if (args[i] == "--no-confirm")
            o.confirm = false;
        else if (args[i] == "--max-confirm")
            o.maxConfirm = static_cast<std::size_t>(std::stoul(TakeValue(args, i)));
        else if (args[i] == "--extend")
            o.extendFrom = std::stoi(TakeValue(args, i));
        else if (args[i] == "--show-hints")
            o.showHints = true;
        else if (args[i] == "--preview")
            o.preview = true, o.confirm = false;  // plan over the unconfirmed lines, to look at hints and counts
        else
            throw std::invalid_argument("select: unknown argument " + args[i]);
    }
    return o;
}

} // namespace

int CommandSelect(const std::vector<std::string>& args)
{
    const SelectOptions o = ReadSelectOptions(args);
    const std::string& mined = o.mined;
    const long long nodes = o.nodes;
    const int jobs = o.jobs;
    const auto candidates = LoadCandidates(mined);
    LoadWrittenByHand(std::filesystem::path(mined) / "hints-by-hand.tsv");
    Store store(mined);
    std::cerr << "select: " << candidates.size() << " candidates, " << store.confirmed.size() << " confirmed, "
              << store.rejected.size() << " rejected\n";
    const std::string engine = FindEngine(o.engineName);
    if ((o.confirm || o.extendFrom > 0) && engine.empty())
        throw std::runtime_error("no engine found (install the Debian package stockfish)");

    if (o.extendFrom > 0) {
        ExtendAll(store, mined, engine, nodes, jobs, o.extendFrom, kExtendTokens);
        return 0;
    }
    // The edition in force: its records stay where they still keep the rules.
    const std::vector<RecordText> current = CompiledRecords();
    for (int round = 0;; ++round) {
        std::vector<Candidate> confirmed = ForPlanning(store.confirmed, o.firmBudgets, current);
        if (o.preview)
            confirmed.insert(confirmed.end(), candidates.begin(), candidates.end());
        PlanResult plan = MakePlan(candidates, confirmed, store.rejected, EditionTargets(), current);
        if (plan.toConfirm.empty() || !o.confirm) {
            std::cerr << plan.report;
            if (!plan.complete)
                std::cerr << "select: the collections cannot be filled yet (" << plan.toConfirm.size()
                          << " candidates to confirm next); writing what is there\n";
            if (o.showHints)
                ShowHints(plan, std::cout);
            WriteCollections(plan, o.out, current);
            return plan.complete ? 0 : 3;
        }
        std::cerr << "select: round " << round << ": " << plan.toConfirm.size() << " candidates to confirm at "
                  << nodes << " nodes, walked at";
        for (long long n : o.firmBudgets)
            std::cerr << " " << n;
        std::cerr << "\n";
        if (o.maxConfirm > 0 && plan.toConfirm.size() > o.maxConfirm)
            plan.toConfirm.resize(o.maxConfirm);
        ConfirmAll(plan.toConfirm, store, engine, nodes, o.firmBudgets, jobs);
        if (o.maxConfirm > 0) {
            std::cerr << "select: stopped after " << plan.toConfirm.size() << " confirmations (--max-confirm)\n";
            return 3;
        }
    }
}

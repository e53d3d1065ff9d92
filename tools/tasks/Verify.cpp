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

#include <chrono>
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

std::string Joined(const std::vector<std::string>& parts, const std::string& between = "; ")
{
    std::string text;
    for (const std::string& p : parts)
        if (!p.empty())
            text += (text.empty() ? "" : between) + p;
    return text;
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

// What a kept verdict depends on: the record's position, line and task text,
// the budget, the rules of judging a line and the engine binary (its path and size: a reinstall of the same
// engine keeps the verdicts). The hint and the start are not part of it: they
// cost no search and are judged afresh on every run. The record's number is
// not part of it either, so a record that moves to another place in a new
// edition keeps its verdict.
// Raised whenever the judging of a line changes, so that verdicts found under
// the old rules are searched again.
constexpr const char* kJudgeRules = "line rules 3";

std::string VerdictKey(const RecordText& e, long long nodes, const std::string& engine)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(engine, ec);
    const std::string text = e.collection + '\n' + e.position + '\n' + e.side + '\n' + e.solution + '\n'
        + e.taskText + '\n' + std::to_string(nodes) + '\n' + engine + '\n' + std::to_string(size) + '\n' + kJudgeRules;
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

// The one place where a record's hint is judged.
// The one judge of a stored hint: the catalogue's guards, with the give-away
// guard of the entry that phrased it (from the provenance table).
std::vector<std::string> JudgeHint(const RecordText& e, const Position& root, const std::vector<std::string>& moves)
{
    return HintProblems(e.hint, root, moves, HintOriginOf(e.collection, e.number).entry);
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

namespace {

// A record read onto the board: its root position and UCI moves, or why not.
struct ReadRecord {
    std::optional<Position> root;
    std::vector<std::string> moves;
    std::string problem;
    std::string placement;
    bool asIs = false;
    TaskKind kind = TaskKind::Tactic;
};

ReadRecord Read(const RecordText& e)
{
    ReadRecord r;
    r.placement = e.position.substr(0, e.position.find(' '));
    r.root = Position::FromFen(r.placement + " " + e.side + " - - 0 1");
    if (e.position.empty())
        r.problem = "no such record";
    else if (!r.root)
        r.problem = "the position cannot be read";
    else
        r.moves = UciLine(*r.root, e.solution, r.problem);
    if (r.problem.empty() && r.moves.empty())
        r.problem = "no moves";
    r.asIs = GivenAsIs(e.collection, r.placement);
    r.kind = e.collection == "strategy" ? TaskKind::Strategy
        : e.taskText.find("Сделайте ничью") != std::string::npos ? TaskKind::Draw
                                                                 : TaskKind::Tactic;
    return r;
}

// What a walk judges besides the user moves: the replies and an only mate
// after the last move (at the largest budget of the collection), and where a
// strategy test leaves the user after the first move.
struct Judging {
    bool replies = true;
    bool standing = true;
};

// What the line shows at the engine's scores (without an engine, the end is
// judged as if the score were decisive): the part of a verdict that costs a
// search and is kept between runs.
std::vector<std::string> LineProblems(const RecordText& e, const ReadRecord& r, const Analyser* engine,
                                      std::vector<std::string>& notes, Judging judging, std::vector<UserStep>* steps)
{
    std::vector<std::string> found;
    std::vector<std::string>& rules = r.asIs ? notes : found;
    std::optional<Score> after = Score::Cp(kDecisiveCp);
    const bool exempt = Exempt(e.collection, r.placement);
    if (engine && !exempt) {
        const LineWalk walk = WalkLine(r.kind, *r.root, r.moves, *engine, judging.replies);
        if (steps)
            *steps = walk.steps;
        after.reset();
        if (!walk.problem.empty())
            found.push_back(walk.problem);
        else if (!LineMayEnd(r.kind, walk.steps.back()))
            found.push_back("the line ends without the required outcome (" + walk.steps.back().after.Text() + ")");
        else
            after = walk.steps.back().after;
        if (judging.standing && r.kind == TaskKind::Strategy && !walk.steps.empty()
            && walk.steps.front().after.Rank() < kStrategyStandCp)
            found.push_back("after the first move the user stands below " + std::to_string(kStrategyStandCp) + " cp ("
                            + walk.steps.front().after.Text() + ")");
        if (after && judging.replies && r.kind != TaskKind::Draw)
            if (const auto mate = OnlyMateAfter(*r.root, r.moves, *engine); !mate.empty())
                rules.push_back("the line stops before an only mate in " + std::to_string(mate.size() / 2) + " ("
                                + Joined(mate, " ") + ")");
    }
    if (after && r.kind == TaskKind::Draw && !engine)
        after = Score::Cp(0);
    if (after && !exempt) {
        const LineEnd end = JudgeEnd(r.kind, ReplayLine(*r.root, r.moves, static_cast<int>(r.moves.size())), *after);
        if (!EndIsPoint(r.kind, end, *after))
            rules.push_back(std::string("the line stops before its point (") + LineEndName(end) + ", " + after->Text() + ")");
    }
    return found;
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

// The rules that need no engine: the start, the shape of the line, the hint.
// Cheap, so judged afresh on every run.
std::vector<std::string> RuleProblems(const RecordText& e, const ReadRecord& r, std::vector<std::string>& notes)
{
    std::vector<std::string> found;
    std::vector<std::string>& rules = r.asIs ? notes : found;
    if (r.kind == TaskKind::Strategy && r.moves.size() == 1 && !Exempt(e.collection, r.placement)) {
        const auto m = r.root->ParseUci(r.moves[0]);
        if (m->capture || r.root->After(*m).InCheck())
            found.push_back("a one-move strategy test must be a quiet move");
    }
    const StartFacts start = ReadStart(*r.root, r.moves.front());
    if (start.inCheck)
        rules.push_back("the side to move starts in check");
    if (start.legalMoves < kMinStartMoves)
        rules.push_back("only " + std::to_string(start.legalMoves) + " legal moves at the start");
    for (const std::string& h : JudgeHint(e, *r.root, r.moves))
        rules.push_back("hint: " + h);
    Append(rules, ContentProblems(r.kind, *r.root, r.moves, HintOriginOf(e.collection, e.number).entry));
    return found;
}

} // namespace

std::vector<std::string> RecordProblems(const RecordText& e, const Analyser* engine, std::vector<std::string>& notes,
                                        bool judgeReplies, std::vector<UserStep>* steps)
{
    const ReadRecord r = Read(e);
    if (!r.problem.empty())
        return {r.problem};
    std::vector<std::string> found = LineProblems(e, r, engine, notes, {judgeReplies, judgeReplies}, steps);
    Append(found, RuleProblems(e, r, notes));
    return found;
}

std::vector<std::string> RecordRuleProblems(const RecordText& e, std::vector<std::string>& notes)
{
    const ReadRecord r = Read(e);
    return r.problem.empty() ? RuleProblems(e, r, notes) : std::vector<std::string>{r.problem};
}

bool FirstMoveChecks(const RecordText& e)
{
    const ReadRecord r = Read(e);
    return r.problem.empty() && ReadStart(*r.root, r.moves.front()).firstMoveChecks;
}

namespace {

// What the first move of a record does; none when the record cannot be read,
// or, with `oneMove`, when its line is longer.
std::optional<MoveKind> FirstMoveKind(const RecordText& e, bool oneMove)
{
    const ReadRecord r = Read(e);
    if (!r.problem.empty() || (oneMove && r.moves.size() != 1))
        return std::nullopt;
    return KindOfMove(*r.root, *r.root->ParseUci(r.moves.front()));
}

} // namespace

BudgetVerdict JudgeAtBudget(const RecordText& record, long long nodes, const Analyser& engine,
                            std::vector<std::string>& notes)
{
    BudgetVerdict verdict;
    verdict.searched = nodes <= LargestBudget(record.collection);
    if (!verdict.searched)
        return verdict;
    const ReadRecord r = Read(record);
    if (!r.problem.empty())
        verdict.problems = {r.problem};
    else
        verdict.problems =
            LineProblems(record, r, &engine, notes, {nodes >= LargestBudget(record.collection), nodes == kStrategyStandBudget},
                         &verdict.steps);
    return verdict;
}

std::vector<long long> ReadBudgets(const std::string& text)
{
    std::vector<long long> budgets;
    for (const std::string& field : SplitFields(text, ',')) {
        std::size_t used = 0;
        const long long nodes = std::stoll(field, &used);
        if (used != field.size() || nodes <= 0)
            throw std::invalid_argument("verify: bad node budget " + field);
        budgets.push_back(nodes);
    }
    if (budgets.empty())
        throw std::invalid_argument("verify: no node budget");
    return budgets;
}

long long LargestBudget(const std::string& collection)
{
    return collection == "strategy" ? kStrategyLargestBudget : kTacticsLargestBudget;
}

namespace {

struct VerifyOptions {
    std::vector<long long> budgets{kDefaultBudgets.begin(), kDefaultBudgets.end()};
    std::string engineName, only, verdictDir = "tools/tasks/mined";
    int from = 1, to = 1000000;
    int jobs = 1;
    bool rulesOnly = false;
    bool record = true;
};

VerifyOptions ReadVerifyOptions(const std::vector<std::string>& args)
{
    VerifyOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        auto value = [&] {
            if (i + 1 >= args.size())
                throw std::invalid_argument(args[i] + " needs a value");
            return args[++i];
        };
        const std::string& a = args[i];
        if (a == "--nodes")
            o.budgets = ReadBudgets(value());
        else if (a == "--engine")
            o.engineName = value();
        else if (a == "--only")
            o.only = value();
        else if (a == "--from")
            o.from = std::stoi(value());
        else if (a == "--to")
            o.to = std::stoi(value());
        else if (a == "--jobs")
            o.jobs = std::max(1, std::stoi(value()));
        else if (a == "--rules-only")
            o.rulesOnly = true;
        else if (a == "--record")
            o.verdictDir = value();
        else if (a == "--no-record")
            o.record = false;
        else
            throw std::invalid_argument("verify: unknown argument " + a);
    }
    if (o.rulesOnly) {
        o.budgets = {0};
        o.record = false;
    }
    return o;
}

std::string VerdictFile(const VerifyOptions& o, long long nodes)
{
    if (!o.record)
        return {};
    if (!std::filesystem::is_directory(o.verdictDir)) {
        std::cerr << "verify: note: no directory " << o.verdictDir << ", verdicts are not kept\n";
        return {};
    }
    return o.verdictDir + "/verify-" + std::to_string(nodes) + ".tsv";
}

// The scores of the user moves that held, "cp 63/cp 0, ...", for the log.
std::string StepScores(const std::vector<UserStep>& steps)
{
    std::string text;
    for (const UserStep& s : steps)
        text += (text.empty() ? "" : ", ") + s.best.Text() + "/" + (s.second ? s.second->Text() : std::string("none"));
    return text;
}


// One record at one budget.
struct Outcome {
    std::string problem, note;
    bool searched = true;  // false where the budget is beyond the record's collection
};

// Judges the records of `work` at one budget, `jobs` at a time, keeping and
// reusing verdicts in `verdictFile` (none when empty).
class BudgetPass {
public:
    BudgetPass(const std::vector<const RecordText*>& work, long long nodes, std::string engine, std::string verdictFile)
        : m_work(work), m_nodes(nodes), m_engine(std::move(engine)), m_file(std::move(verdictFile)),
          m_kept(m_file.empty() ? std::map<std::string, Verdict>{} : ReadVerdicts(m_file)), m_outcomes(work.size())
    {
    }

    void Run(int jobs)
    {
        std::vector<std::thread> threads;
        for (int i = 0; i < jobs; ++i)
            threads.emplace_back([this] { Work(); });
        for (auto& t : threads)
            t.join();
    }

    const std::vector<Outcome>& Outcomes() const { return m_outcomes; }
    int Reused() const { return m_reused; }
    int Searched() const { return m_searched; }
    const std::string& File() const { return m_file; }

private:
    bool RulesOnly() const { return m_engine.empty(); }

    void Work()
    {
        std::unique_ptr<EngineSession> session;
        Analyser analyser;
        if (!RulesOnly()) {
            session = std::make_unique<EngineSession>(m_engine);
            analyser = session->WithNodes(m_nodes);
        }
        for (;;) {
            std::size_t index = 0;
            {
                std::lock_guard lock(m_mutex);
                if (m_next >= m_work.size())
                    return;
                index = m_next++;
            }
            Judge(index, RulesOnly() ? nullptr : &analyser);
        }
    }

    void Judge(std::size_t index, const Analyser* analyser)
    {
        const RecordText& e = *m_work[index];
        Outcome outcome;
        std::string scores;
        const std::string key = m_file.empty() ? std::string() : VerdictKey(e, m_nodes, m_engine);
        const auto old = m_kept.find(key);
        const bool known = !key.empty() && old != m_kept.end();
        const auto started = std::chrono::steady_clock::now();
        if (known) {
            outcome.problem = old->second.problem;
            outcome.note = old->second.note;
        } else {
            std::vector<std::string> given;
            if (analyser) {
                const BudgetVerdict verdict = JudgeAtBudget(e, m_nodes, *analyser, given);
                outcome.searched = verdict.searched;
                outcome.problem = Joined(verdict.problems);
                scores = StepScores(verdict.steps);
            } else {
                outcome.problem = Joined(RecordProblems(e, nullptr, given));
            }
            outcome.note = Joined(given);
        }
        const Outcome searched = outcome;  // what is kept: the rules below are judged afresh
        if (analyser) {
            std::vector<std::string> notes;
            const std::vector<std::string> rules = RecordRuleProblems(e, notes);
            outcome.problem = Joined({outcome.problem, Joined(rules)});
            outcome.note = Joined({outcome.note, Joined(notes)});
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started);
        std::lock_guard lock(m_mutex);
        m_outcomes[index] = outcome;
        if (!outcome.searched)
            return;
        const std::string name = e.collection + " " + std::to_string(e.number);
        if (known) {
            ++m_reused;
        } else {
            ++m_searched;
            if (!m_file.empty())
                std::ofstream(m_file, std::ios::app) << e.collection << '\t' << e.number << '\t' << key << '\t'
                                                     << TsvField(searched.problem) << '\t' << TsvField(searched.note) << '\n';
            if (analyser)
                std::cerr << "verify " << m_nodes << ": " << name << " searched in " << seconds.count()
                          << " s; first and second choice: " << scores << "\n";
        }
        if (!outcome.problem.empty())
            std::cout << (analyser ? "[" + std::to_string(m_nodes) + "] " : std::string()) << name << ": "
                      << outcome.problem << "\n" << std::flush;
    }

    const std::vector<const RecordText*>& m_work;
    long long m_nodes;
    std::string m_engine, m_file;
    std::map<std::string, Verdict> m_kept;
    std::vector<Outcome> m_outcomes;
    std::mutex m_mutex;
    std::size_t m_next = 0;
    int m_reused = 0, m_searched = 0;
};

std::vector<const RecordText*> SelectWork(const std::vector<RecordText>& entries, const VerifyOptions& o)
{
    std::vector<const RecordText*> work;
    for (const RecordText& e : entries)
        if ((o.only.empty() || e.collection == o.only) && e.number >= o.from && e.number <= o.to)
            work.push_back(&e);
    return work;
}

void PrintKinds(const char* title, std::map<MoveKind, int>& kinds)
{
    std::cout << title;
    for (const MoveKind kind : {MoveKind::Quiet, MoveKind::Capture, MoveKind::Check, MoveKind::Mate})
        std::cout << " " << MoveKindName(kind) << " " << kinds[kind] << ";";
    std::cout << "\n";
}

// The first moves of the strategy tests by kind, when every strategy record is
// checked; the check starts and the motifs of the tactics hints, when every
// tactics record is; false when more than half of them start with a check.
bool ReportStarts(const std::vector<const RecordText*>& work)
{
    int checkStarts = 0, tactics = 0, strategy = 0;
    std::map<Motif, int> motifs;
    std::map<MoveKind, int> oneMove, strategyStarts;
    for (const RecordText* e : work)
        if (e->collection == "tactics") {
            ++tactics;
            checkStarts += FirstMoveChecks(*e) ? 1 : 0;
            ++motifs[HintOriginOf(e->collection, e->number).motif];
            if (const auto kind = FirstMoveKind(*e, true))
                ++oneMove[*kind];
        } else if (const auto kind = FirstMoveKind(*e, false)) {
            ++strategy;
            ++strategyStarts[*kind];
        }
    if (strategy == kStrategyCount)
        PrintKinds("strategy starts by kind:", strategyStarts);
    if (tactics != kTacticsCount)
        return true;
    const bool ok = checkStarts * 2 <= tactics;
    std::cout << "tactics starting with a check: " << checkStarts << " of " << tactics << (ok ? "" : " (more than half)")
              << "\n";
    PrintKinds("one-move tactics by kind:", oneMove);
    std::cout << "tactics hints by motif:";
    for (const auto& [motif, count] : motifs)
        std::cout << " " << MotifName(motif) << " " << count << ";";
    std::cout << "\n";
    return ok;
}

// The notes of the records given as is, once (from the first pass that
// judged them).
void ReportNotes(const std::vector<const RecordText*>& work, const std::vector<std::vector<Outcome>>& passes)
{
    for (std::size_t i = 0; i < work.size(); ++i)
        for (const auto& pass : passes)
            if (pass[i].searched) {
                if (!pass[i].note.empty())
                    std::cout << work[i]->collection << " " << work[i]->number << ": given as is: " << pass[i].note << "\n";
                break;
            }
}

// "verified: N of M sound and complete" for one budget; true when all are.
bool ReportBudget(long long nodes, const std::vector<Outcome>& outcomes, bool rulesOnly)
{
    int sound = 0, skipped = 0;
    for (const Outcome& o : outcomes) {
        sound += o.problem.empty() ? 1 : 0;
        skipped += o.searched ? 0 : 1;
    }
    const int checked = static_cast<int>(outcomes.size());
    if (rulesOnly) {
        std::cout << "rules: " << sound << " of " << checked << " keep the rules of a test (no engine)\n";
    } else {
        std::cout << "verified: " << sound << " of " << checked << " sound and complete at " << nodes << " nodes";
        if (skipped > 0)
            std::cout << " (" << skipped << " not searched: beyond the largest budget of their collection)";
        std::cout << "\n";
    }
    return sound == checked;
}

} // namespace

int CommandVerify(const std::vector<std::string>& args)
{
    const VerifyOptions o = ReadVerifyOptions(args);
    const std::string engine = o.rulesOnly ? std::string() : FindEngine(o.engineName);
    if (engine.empty() && !o.rulesOnly)
        throw std::runtime_error("no engine found (install the Debian package stockfish)");
    if (!o.rulesOnly) {
        std::cout << "budgets:";
        for (const long long nodes : o.budgets)
            std::cout << " " << nodes;
        std::cout << " nodes (tactics and draws up to " << kTacticsLargestBudget << ", strategy up to "
                  << kStrategyLargestBudget << "; replies at the largest)\n" << std::flush;
    }
    const auto entries = CompiledRecords();
    const auto work = SelectWork(entries, o);
    std::vector<std::vector<Outcome>> passes;
    std::vector<std::string> kept;
    for (const long long nodes : o.budgets) {
        BudgetPass pass(work, nodes, engine, VerdictFile(o, nodes));
        pass.Run(o.jobs);
        passes.push_back(pass.Outcomes());
        if (!pass.File().empty())
            kept.push_back("verdicts taken from " + pass.File() + ": " + std::to_string(pass.Reused()) + " of "
                           + std::to_string(work.size()) + ", searched " + std::to_string(pass.Searched()));
    }
    ReportNotes(work, passes);
    for (const std::string& line : kept)
        std::cout << line << "\n";
    bool ok = ReportStarts(work);
    for (std::size_t b = 0; b < o.budgets.size(); ++b)
        ok = ReportBudget(o.budgets[b], passes[b], o.rulesOnly) && ok;
    return ok ? 0 : 1;
}

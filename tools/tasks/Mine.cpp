#include "Mine.h"

#include "Candidate.h"
#include "Corpus.h"
#include "EngineSession.h"
#include "Rules.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>

using fullchess::Position;

std::optional<TaskKind> Classify(const Probe& probe, const EngineAnswer& answer, double tacticGap)
{
    if (answer.scores.size() < 2)
        return std::nullopt;
    const Score& best = answer.scores[0];
    const Score& second = answer.scores[1];
    if (probe.tacticSide && best.WinChance() - second.WinChance() > tacticGap
        && (best.Mates() || (!best.IsMate() && best.value >= 150)))
        return TaskKind::Tactic;
    if (probe.drawGame && !best.IsMate() && best.value >= -60 && best.value <= 60 && second.Rank() <= -150)
        return TaskKind::Draw;
    if (!best.IsMate() && !second.IsMate() && best.value >= -250 && best.value <= 250 && best.value - second.value >= 50)
        return TaskKind::Strategy;
    return std::nullopt;
}

namespace {

std::vector<std::size_t> ShuffledOrder(std::size_t count)
{
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = i;
    std::mt19937 random(20261206u);
    for (std::size_t i = count; i > 1; --i) {
        const std::size_t j = random() % i;
        std::swap(order[i - 1], order[j]);
    }
    return order;
}

void WriteAtomically(const std::filesystem::path& path, const std::string& text)
{
    const auto temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text;
        out.flush();
        if (!out)
            throw std::runtime_error("cannot write " + temporary);
    }
    std::filesystem::rename(temporary, path);
}

std::string Duration(double seconds)
{
    const long total = static_cast<long>(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ldh%02ldm", total / 3600, (total / 60) % 60);
    return text;
}

// Where the run of one mode and shard keeps its state: the number of games
// done, and the candidates found (one line each, see Candidate.h).
struct MineFiles {
    std::filesystem::path progress;
    std::filesystem::path candidates;
};

MineFiles FilesOf(const MineOptions& options)
{
    const std::string tag = std::string(options.mode->tag) + std::to_string(options.shard) + "of" + std::to_string(options.shards);
    const std::filesystem::path dir(options.outDir);
    return {dir / ("progress-" + tag + ".txt"), dir / ("candidates-" + tag + ".tsv")};
}

// The games of this mode and shard, in the order they are walked.
std::vector<std::size_t> GamesOfShard(const std::vector<CorpusGame>& games, const MineOptions& options)
{
    auto order = ShuffledOrder(games.size());
    if (options.mode->games) {
        order = options.mode->games(games, order);
        std::cerr << "mine: " << order.size() << " " << options.mode->gamesTaken << "\n";
    }
    std::vector<std::size_t> shard;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (static_cast<int>(i % static_cast<std::size_t>(options.shards)) == options.shard)
            shard.push_back(order[i]);
    return shard;
}

// How far an earlier run of the same mode and shard got.
struct Tally {
    std::size_t done = 0;
    std::map<char, int> found;  // candidates by kind letter
};

Tally Resume(const MineFiles& files)
{
    Tally tally;
    std::ifstream progress(files.progress);
    progress >> tally.done;
    std::ifstream candidates(files.candidates);
    std::string line;
    while (std::getline(candidates, line))
        if (auto c = ParseCandidate(line))
            ++tally.found[KindLetter(c->kind)];
    return tally;
}

std::string Found(const std::map<char, int>& found)
{
    auto of = [&](char kind) {
        const auto it = found.find(kind);
        return std::to_string(it == found.end() ? 0 : it->second);
    };
    return "candidates T " + of('T') + " D " + of('D') + " S " + of('S');
}

// The clock of one run: when to stop, and a line on stderr every half minute.
class Pace {
public:
    explicit Pace(const MineOptions& options) : m_options(options) {}
    bool Over(int gamesThisRun) const
    {
        return (m_options.hours > 0 && Elapsed() > m_options.hours * 3600)
            || (m_options.maxGames > 0 && gamesThisRun >= m_options.maxGames);
    }
    void Report(int gamesThisRun, std::size_t done, std::size_t total, const std::map<char, int>& found)
    {
        const auto now = std::chrono::steady_clock::now();
        if (gamesThisRun == 0 || std::chrono::duration<double>(now - m_lastReport).count() < 30)
            return;
        m_lastReport = now;
        const double perGame = Elapsed() / gamesThisRun;
        std::cerr << "mine: " << done << "/" << total << " games, " << Found(found) << ", " << Duration(Elapsed())
                  << " this run, " << perGame << " s a game, about "
                  << Duration(perGame * static_cast<double>(total - done)) << " left for the whole corpus\n";
    }

private:
    double Elapsed() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count(); }
    const MineOptions& m_options;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point m_lastReport = m_start;
};

// Probes the positions of a game its mode chooses and writes down the
// candidates whose lines the engine builds.
class Miner {
public:
    Miner(const MineOptions& options, const MineFiles& files, EngineSession& engine)
        : m_mode(*options.mode)
        , m_files(files)
        , m_probe(engine.WithNodes(options.probeNodes))
        , m_check(engine.WithNodes(options.checkNodes))
    {
    }

    void MineGame(const CorpusGame& game, const Replay& replay, std::map<char, int>& found)
    {
        std::array<bool, 3> taken{};  // a test of this kind came from the game already
        for (const Probe& p : m_mode.probes(game, replay)) {
            const Position& root = replay.positions[static_cast<std::size_t>(p.ply)];
            EngineAnswer answer;
            if (!m_probe(EngineFen(root), {}, 2, answer))
                continue;
            const auto kind = Classify(p, answer, 0.5);
            if (!kind || !m_mode.keeps(*kind))
                continue;
            bool& takenKind = taken[static_cast<std::size_t>(*kind)];
            // One test of a kind per game is enough, except where long lines
            // are sought: there every start may give a longer one.
            if (takenKind && !(m_mode.everyTactic && *kind == TaskKind::Tactic))
                continue;
            if (!WorthALine(*kind, replay, p.ply, answer.bestMove))
                continue;
            if (auto line = LineFrom(*kind, root)) {
                Append(MakeCandidate(*kind, game, replay, p.ply, *line));
                ++found[KindLetter(*kind)];
                takenKind = true;
            }
        }
    }

private:
    // What the board says before the costly line is built.
    static bool WorthALine(TaskKind kind, const Replay& replay, int ply, const std::string& bestMove)
    {
        // Taking back a piece that was just taken is no test.
        if (ply > 0) {
            const auto first = replay.positions[static_cast<std::size_t>(ply)].ParseUci(bestMove);
            const auto& previous = replay.moves[static_cast<std::size_t>(ply - 1)];
            if (first && previous.capture && first->to == previous.to)
                return false;
        }
        // Quiet tests are plentiful: keep only those where the master found
        // the move himself.
        return kind != TaskKind::Strategy || bestMove == Position::Uci(replay.moves[static_cast<std::size_t>(ply)]);
    }

    // A firmer look at the first move, then the line, built at the checking
    // depth; the chosen ones are built again at full depth when the
    // collections are selected. Nullopt when no cut of it may end there.
    std::optional<BuiltLine> LineFrom(TaskKind kind, const Position& root) const
    {
        EngineAnswer firm;
        if (!m_check(EngineFen(root), {}, 2, firm) || firm.scores.size() < 2)
            return std::nullopt;
        if (!UserMoveAcceptable(kind, firm.scores[0], firm.scores[1], true))
            return std::nullopt;
        auto line = BuildLine(kind, root, kind == TaskKind::Strategy ? 15 : 13, m_check);
        if (!line)
            return std::nullopt;
        for (const UserStep& step : line->steps)
            if (LineMayEnd(kind, step))
                return line;
        return std::nullopt;
    }

    static Candidate MakeCandidate(TaskKind kind, const CorpusGame& game, const Replay& replay, int ply, const BuiltLine& line)
    {
        Candidate c;
        c.kind = kind;
        c.gameId = game.Id();
        c.ply = ply;
        c.white = game.white;
        c.black = game.black;
        c.year = game.Year();
        c.event = game.event;
        c.fen = EngineFen(replay.positions[static_cast<std::size_t>(ply)]);
        c.gameMove = Position::Uci(replay.moves[static_cast<std::size_t>(ply)]);
        c.line = line;
        return c;
    }

    void Append(const Candidate& c) const
    {
        // Opened for each candidate, so that a file replaced meanwhile (a
        // checkout of the mined data) still gets every line.
        std::ofstream candidates(m_files.candidates, std::ios::app);
        candidates << FormatCandidate(c) << '\n';
        if (!candidates.flush())
            throw std::runtime_error("cannot write " + m_files.candidates.string());
    }

    const MineMode& m_mode;
    const MineFiles& m_files;
    Analyser m_probe;
    Analyser m_check;
};

} // namespace

std::string FindEngine(const std::string& wanted)
{
    if (!wanted.empty())
        return wanted;
    if (const char* path = std::getenv("PATH")) {
        std::istringstream dirs(path);
        std::string dir;
        while (std::getline(dirs, dir, ':'))
            if (!dir.empty() && std::filesystem::exists(std::filesystem::path(dir) / "stockfish"))
                return (std::filesystem::path(dir) / "stockfish").string();
    }
    if (std::filesystem::exists("/usr/games/stockfish"))
        return "/usr/games/stockfish";
    return {};
}

int RunMine(const MineOptions& options)
{
    const std::string engineProgram = FindEngine(options.engine);
    if (engineProgram.empty()) {
        std::cerr << "mine: no engine found (install the Debian package stockfish)\n";
        return 2;
    }
    std::cerr << "mine: reading games from " << options.corpusDir << "\n";
    const auto games = LoadCorpus(options.corpusDir);
    if (games.empty()) {
        std::cerr << "mine: no games in " << options.corpusDir << "\n";
        return 2;
    }
    const auto shard = GamesOfShard(games, options);
    std::filesystem::create_directories(options.outDir);
    const MineFiles files = FilesOf(options);
    Tally tally = Resume(files);
    std::cerr << "mine: " << games.size() << " games, " << shard.size() << " in this shard, " << tally.done
              << " already done; engine " << engineProgram << "\n";

    EngineSession engine(engineProgram);
    Miner miner(options, files, engine);
    Pace pace(options);
    for (int gamesThisRun = 0; tally.done < shard.size() && !pace.Over(gamesThisRun); ++tally.done, ++gamesThisRun) {
        pace.Report(gamesThisRun, tally.done, shard.size(), tally.found);
        const CorpusGame& game = games[shard[tally.done]];
        std::string error;
        if (const auto replay = ReplayGame(game, error))
            miner.MineGame(game, *replay, tally.found);
        else
            std::cerr << error << "\n";
        WriteAtomically(files.progress, std::to_string(tally.done + 1) + "\n");
    }
    std::cerr << "mine: stopped at " << tally.done << "/" << shard.size() << " games; " << Found(tally.found) << "\n";
    return 0;
}

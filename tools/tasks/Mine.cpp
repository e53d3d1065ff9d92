#include "Mine.h"

#include "Candidate.h"
#include "Corpus.h"
#include "EngineSession.h"
#include "Rules.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>

using fullchess::Position;

namespace {

uint64_t Fnv1a(const std::string& text)
{
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Positions the program can show faithfully: no castling right and no
// en-passant capture, which the stored placement cannot express.
bool Representable(const Position& p)
{
    if (p.Castling() != 0)
        return false;
    if (p.EnPassant() >= 0)
        for (const auto& m : p.LegalMoves())
            if (m.enPassant)
                return false;
    return true;
}

} // namespace

std::vector<int> SwingPlies(const std::vector<Position>& positions)
{
    const int plies = static_cast<int>(positions.size()) - 1;
    auto balance = [&](int ply, bool white) { return material::Balance(positions[static_cast<std::size_t>(ply)], white); };
    std::set<int> chosen;
    for (int ply = 10; ply < plies; ++ply) {
        const bool white = positions[static_cast<std::size_t>(ply)].WhiteToMove();
        const int before = balance(ply, white);
        bool swing = false;
        for (int j = ply + 1; j <= std::min(plies, ply + 10) && !swing; ++j) {
            const int held = j < plies ? std::min(balance(j, white), balance(j + 1, white)) : balance(j, white);
            swing = held - before >= 2;
        }
        const Position& last = positions.back();
        swing = swing || (plies - ply <= 10 && last.IsCheckmate() && last.WhiteToMove() != white);
        if (!swing)
            continue;
        for (int start : {ply, ply - 2}) {
            if (start < 10)
                continue;
            const Position& p = positions[static_cast<std::size_t>(start)];
            if (!p.InCheck() && p.LegalMoves().size() >= static_cast<std::size_t>(kMinStartMoves) && Representable(p))
                chosen.insert(start);
        }
    }
    return {chosen.begin(), chosen.end()};
}

std::vector<int> StalemateTrickPlies(const std::vector<Position>& positions)
{
    std::vector<int> plies;
    for (int ply = 20; ply + 1 < static_cast<int>(positions.size()); ++ply) {
        const Position& p = positions[static_cast<std::size_t>(ply)];
        if (p.InCheck() || !Representable(p))
            continue;
        const auto moves = p.LegalMoves();
        if (moves.size() < static_cast<std::size_t>(kMinStartMoves))
            continue;
        // Few pieces to give away, and only they can move: the king and the
        // pawns are stuck, so that losing the pieces leaves no move at all.
        const auto own = p.Count(p.WhiteToMove());
        if (own[2] + own[3] + own[4] + own[5] > 3)
            continue;
        bool trick = true;
        for (const auto& m : moves)
            trick = trick && std::abs(p.At(m.from)) != 6 && std::abs(p.At(m.from)) != 1;
        if (trick)
            plies.push_back(ply);
    }
    return plies;
}

namespace {

struct Probe {
    int ply;
    bool tacticSide;  // the side to move went on to win the game
    bool drawGame;
};

std::vector<Probe> ChooseProbes(const CorpusGame& game, const std::vector<Position>& positions)
{
    std::vector<Probe> probes;
    const int plies = static_cast<int>(positions.size()) - 1;
    const bool whiteWon = game.result == "1-0", blackWon = game.result == "0-1";
    const bool drawn = game.result == "1/2-1/2";
    std::set<int> chosen;
    // Decisive games: the winner's moves near the end, where the game was won.
    if (whiteWon || blackWon) {
        for (int ply = std::max(10, plies - 24); ply < plies; ++ply)
            if (positions[static_cast<std::size_t>(ply)].WhiteToMove() == whiteWon)
                chosen.insert(ply);
    }
    // Drawn games that ended with little material or in stalemate: the last
    // moves, where one side may have had to find the only draw.
    if (drawn && plies > 20) {
        const Position& end = positions.back();
        int pieces = 0;
        for (int sq = 0; sq < 64; ++sq)
            pieces += end.At(sq) != 0 ? 1 : 0;
        if (pieces <= 14 || end.IsStalemate())
            for (int ply = std::max(20, plies - 10); ply < plies; ++ply)
                chosen.insert(ply);
    }
    // Every game: one position anywhere after the opening, for quiet tests.
    std::mt19937 pick(static_cast<uint32_t>(Fnv1a(game.Id())));
    if (plies > 24)
        chosen.insert(16 + static_cast<int>(pick() % static_cast<uint32_t>(plies - 20)));
    for (int ply : chosen) {
        const Position& p = positions[static_cast<std::size_t>(ply)];
        if (!Representable(p))
            continue;
        const bool winnerToMove = (whiteWon && p.WhiteToMove()) || (blackWon && !p.WhiteToMove());
        probes.push_back({ply, winnerToMove, drawn});
    }
    return probes;
}

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
    auto order = ShuffledOrder(games.size());
    if (options.stalemateGames) {
        std::vector<std::size_t> stalemates;
        for (std::size_t index : order) {
            const CorpusGame& g = games[index];
            if (g.result != "1/2-1/2" || g.san.empty() || g.san.back().find_first_of("+#") != std::string::npos)
                continue;
            std::string error;
            const auto replay = ReplayGame(g, error);
            if (replay && replay->positions.back().IsStalemate())
                stalemates.push_back(index);
        }
        std::cerr << "mine: " << stalemates.size() << " drawn games end in stalemate\n";
        order = stalemates;
    }
    if (options.endings) {
        std::vector<std::size_t> endings;
        for (std::size_t index : order) {
            const CorpusGame& g = games[index];
            if (g.result != "1-0" && g.result != "0-1")
                continue;
            std::string error;
            const auto replay = ReplayGame(g, error);
            if (!replay)
                continue;
            const Position& end = replay->positions.back();
            if (material::PieceMaterial(end, true) <= 5 && material::PieceMaterial(end, false) <= 5)
                endings.push_back(index);
        }
        std::cerr << "mine: " << endings.size() << " decisive games end with little material\n";
        order = endings;
    }
    const bool runMode = options.checkRuns || options.forcingRuns || options.earlyRuns || options.pairRuns || options.singleRuns;
    // The length of the final check run the exact-run modes look for.
    const int exactRun = options.pairRuns ? 2 : options.singleRuns ? 1 : 0;
    if (runMode) {
        std::vector<std::pair<int, std::size_t>> runs;
        for (std::size_t index : order) {
            const int checks = games[index].FinalCheckRun();
            const int run = options.forcingRuns ? (checks >= 3 ? 0 : games[index].FinalCheckRun(true)) : checks;
            if (exactRun > 0 ? run == exactRun : run >= 3)
                runs.push_back({run, index});
        }
        std::stable_sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        std::cerr << "mine: " << runs.size() << " games end in a run of "
                  << (exactRun == 2 ? "exactly two" : exactRun == 1 ? "exactly one" : "three or more")
                  << (options.forcingRuns ? " checks and captures\n" : exactRun == 1 ? " check\n" : " checks\n");
        order.clear();
        for (const auto& [run, index] : runs)
            order.push_back(index);
    }
    std::vector<std::size_t> mine;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (static_cast<int>(i % static_cast<std::size_t>(options.shards)) == options.shard)
            mine.push_back(order[i]);

    std::filesystem::create_directories(options.outDir);
    const std::string tag = std::string(options.stalemateGames ? "stalemate-"
                                            : options.checkRuns  ? "checks-"
                                            : options.forcingRuns ? "forcing-"
                                            : options.earlyRuns  ? "early-"
                                            : options.pairRuns   ? "pairs-"
                                            : options.singleRuns ? "single-"
                                            : options.endings    ? "endings-"
                                            : options.swings     ? "swings-"
                                            : options.stalemateTricks ? "tricks-"
                                                                 : "")
        + std::to_string(options.shard) + "of"
        + std::to_string(options.shards);
    const std::filesystem::path progressPath = std::filesystem::path(options.outDir) / ("progress-" + tag + ".txt");
    const std::filesystem::path candidatesPath = std::filesystem::path(options.outDir) / ("candidates-" + tag + ".tsv");

    std::size_t done = 0;
    std::map<char, int> found;
    {
        std::ifstream in(progressPath);
        in >> done;
        std::ifstream candidates(candidatesPath);
        std::string line;
        while (std::getline(candidates, line))
            if (auto c = ParseCandidate(line))
                ++found[KindLetter(c->kind)];
    }
    std::cerr << "mine: " << games.size() << " games, " << mine.size() << " in this shard, " << done
              << " already done; engine " << engineProgram << "\n";

    EngineSession engine(engineProgram);
    const Analyser probe = engine.WithNodes(options.probeNodes);
    const Analyser check = engine.WithNodes(options.checkNodes);

    const auto start = std::chrono::steady_clock::now();
    auto lastReport = start;
    int gamesThisRun = 0;
    for (; done < mine.size(); ++done) {
        const auto now = std::chrono::steady_clock::now();
        const double elapsed = std::chrono::duration<double>(now - start).count();
        if (options.hours > 0 && elapsed > options.hours * 3600)
            break;
        if (options.maxGames > 0 && gamesThisRun >= options.maxGames)
            break;
        if (gamesThisRun > 0 && std::chrono::duration<double>(now - lastReport).count() >= 30) {
            lastReport = now;
            const double perGame = elapsed / gamesThisRun;
            std::cerr << "mine: " << done << "/" << mine.size() << " games, candidates T " << found['T'] << " D "
                      << found['D'] << " S " << found['S'] << ", " << Duration(elapsed) << " this run, "
                      << perGame << " s a game, about " << Duration(perGame * static_cast<double>(mine.size() - done))
                      << " left for the whole corpus\n";
        }
        ++gamesThisRun;
        const CorpusGame& game = games[mine[done]];
        std::string error;
        const auto replay = ReplayGame(game, error);
        if (!replay) {
            std::cerr << error << "\n";
        } else {
            bool tacticTaken = false, drawTaken = false, strategyTaken = false;
            std::vector<Probe> probes;
            if (options.stalemateGames) {
                const int plies = static_cast<int>(replay->positions.size()) - 1;
                for (int ply = std::max(0, plies - 16); ply < plies; ++ply)
                    if (Representable(replay->positions[static_cast<std::size_t>(ply)]))
                        probes.push_back({ply, false, true});
            } else if (options.endings) {
                const int plies = static_cast<int>(replay->positions.size()) - 1;
                const bool whiteWon = game.result == "1-0";
                for (int ply = std::max(20, plies - 30); ply < plies; ++ply)
                    if (replay->positions[static_cast<std::size_t>(ply)].WhiteToMove() == whiteWon
                        && Representable(replay->positions[static_cast<std::size_t>(ply)]))
                        probes.push_back({ply, true, false});
            } else if (options.stalemateTricks) {
                for (int ply : StalemateTrickPlies(replay->positions))
                    probes.push_back({ply, false, true});
            } else if (options.swings) {
                for (int ply : SwingPlies(replay->positions))
                    probes.push_back({ply, true, false});
            } else if (runMode) {
                // The winner's moves from two before the run to its second move
                // (or, for the early probes, from six to three before it).
                const int plies = static_cast<int>(replay->positions.size()) - 1;
                const int run = exactRun > 0 ? exactRun : game.FinalCheckRun(options.forcingRuns);
                const int parity = game.result == "1-0" ? 0 : 1;
                int winnerLast = plies - 1;
                if (winnerLast % 2 != parity)
                    --winnerLast;
                const int start = winnerLast - 2 * (run - 1);
                const int from = options.earlyRuns ? start - 12 : start - 4;
                const int to = options.earlyRuns ? start - 6 : start + 2;
                for (int ply = from; ply <= to; ply += 2)
                    if (ply >= 0 && ply < plies && Representable(replay->positions[static_cast<std::size_t>(ply)]))
                        probes.push_back({ply, true, false});
            } else {
                probes = ChooseProbes(game, replay->positions);
            }
            for (const Probe& p : probes) {
                const Position& root = replay->positions[static_cast<std::size_t>(p.ply)];
                const std::string fen = EngineFen(root);
                EngineAnswer answer;
                if (!probe(fen, {}, 2, answer))
                    continue;
                auto kind = Classify(p, answer, 0.5);
                if (!kind || (options.swings && *kind == TaskKind::Strategy)
                    || (options.stalemateTricks && *kind != TaskKind::Draw))
                    continue;
                bool& taken = *kind == TaskKind::Tactic ? tacticTaken : *kind == TaskKind::Draw ? drawTaken : strategyTaken;
                // One test of a kind per game is enough, except where long
                // lines are sought: there every start may give a longer one.
                if (taken && !((runMode || options.endings || options.swings) && *kind == TaskKind::Tactic))
                    continue;
                const std::string gameMove = Position::Uci(replay->moves[static_cast<std::size_t>(p.ply)]);
                // Taking back a piece that was just taken is no test.
                if (p.ply > 0) {
                    const auto first = root.ParseUci(answer.bestMove);
                    const auto& previous = replay->moves[static_cast<std::size_t>(p.ply - 1)];
                    if (first && previous.capture && first->to == previous.to)
                        continue;
                }
                // Quiet tests are plentiful: keep only those where the master
                // found the move himself.
                if (*kind == TaskKind::Strategy && answer.bestMove != gameMove)
                    continue;
                // A firmer look at the first move before the costly line.
                EngineAnswer firm;
                if (!check(fen, {}, 2, firm) || firm.scores.size() < 2)
                    continue;
                if (!UserMoveAcceptable(*kind, firm.scores[0], firm.scores[1], true))
                    continue;
                const int maxTokens = *kind == TaskKind::Strategy ? 15 : 13;
                // Lines are built at the checking depth here; the chosen ones are
                // built again at full depth when the collections are selected.
                auto line = BuildLine(*kind, root, maxTokens, check);
                if (!line)
                    continue;
                bool usable = false;
                for (const UserStep& step : line->steps)
                    usable = usable || LineMayEnd(*kind, step);
                if (!usable)
                    continue;
                Candidate c;
                c.kind = *kind;
                c.gameId = game.Id();
                c.ply = p.ply;
                c.white = game.white;
                c.black = game.black;
                c.year = game.Year();
                c.event = game.event;
                c.fen = fen;
                c.gameMove = gameMove;
                c.line = *line;
                {
                    // Opened for each candidate, so that a file replaced meanwhile
                    // (a checkout of the mined data) still gets every line.
                    std::ofstream candidates(candidatesPath, std::ios::app);
                    candidates << FormatCandidate(c) << '\n';
                    if (!candidates.flush())
                        throw std::runtime_error("cannot write " + candidatesPath.string());
                }
                ++found[KindLetter(c.kind)];
                taken = true;
            }
        }
        WriteAtomically(progressPath, std::to_string(done + 1) + "\n");
    }
    std::cerr << "mine: stopped at " << done << "/" << mine.size() << " games; candidates T " << found['T'] << " D "
              << found['D'] << " S " << found['S'] << "\n";
    return 0;
}

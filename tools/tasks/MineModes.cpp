#include "MineModes.h"

#include "Material.h"
#include "Rules.h"

#include <algorithm>
#include <random>
#include <set>

using fullchess::PieceType;
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

const Position& At(const std::vector<Position>& positions, int ply) { return positions[static_cast<std::size_t>(ply)]; }
int Plies(const Replay& replay) { return static_cast<int>(replay.positions.size()) - 1; }
bool Decisive(const CorpusGame& game) { return game.result == "1-0" || game.result == "0-1"; }

// Games --------------------------------------------------------------------

using GameTest = std::function<bool(const CorpusGame&)>;
using RunLength = std::function<int(const CorpusGame&)>;

std::function<std::vector<std::size_t>(const std::vector<CorpusGame>&, const std::vector<std::size_t>&)> Where(GameTest test)
{
    return [test](const std::vector<CorpusGame>& games, const std::vector<std::size_t>& order) {
        std::vector<std::size_t> taken;
        for (std::size_t index : order)
            if (test(games[index]))
                taken.push_back(index);
        return taken;
    };
}

// The games whose final run `keep` accepts, the longest runs first (the
// shuffled order kept among equals).
std::function<std::vector<std::size_t>(const std::vector<CorpusGame>&, const std::vector<std::size_t>&)> ByRun(
    RunLength runOf, std::function<bool(int)> keep)
{
    return [runOf, keep](const std::vector<CorpusGame>& games, const std::vector<std::size_t>& order) {
        std::vector<std::pair<int, std::size_t>> runs;
        for (std::size_t index : order)
            if (const int run = runOf(games[index]); keep(run))
                runs.push_back({run, index});
        std::stable_sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        std::vector<std::size_t> taken;
        for (const auto& [run, index] : runs)
            taken.push_back(index);
        return taken;
    };
}

int CheckRun(const CorpusGame& game) { return game.FinalCheckRun(); }
// Runs of checks and captures, leaving out the games that the check runs
// already cover.
int ForcingRun(const CorpusGame& game) { return game.FinalCheckRun() >= 3 ? 0 : game.FinalCheckRun(true); }

bool EndsInStalemate(const CorpusGame& game)
{
    if (game.result != "1/2-1/2" || game.san.empty() || game.san.back().find_first_of("+#") != std::string::npos)
        return false;
    std::string error;
    const auto replay = ReplayGame(game, error);
    return replay && replay->positions.back().IsStalemate();
}

// At most a rook's worth of pieces a side, pawns aside.
constexpr int kLittleMaterial = 5;

bool DecisiveWithLittleMaterial(const CorpusGame& game)
{
    if (!Decisive(game))
        return false;
    std::string error;
    const auto replay = ReplayGame(game, error);
    if (!replay)
        return false;
    const Position& end = replay->positions.back();
    return material::PieceMaterial(end, true) <= kLittleMaterial && material::PieceMaterial(end, false) <= kLittleMaterial;
}

// Probes -------------------------------------------------------------------

std::vector<Probe> DefaultProbes(const CorpusGame& game, const Replay& replay) { return ChooseProbes(game, replay.positions); }

std::vector<Probe> ProbesAt(const std::vector<int>& plies, bool tacticSide, bool drawGame)
{
    std::vector<Probe> probes;
    for (int ply : plies)
        probes.push_back({ply, tacticSide, drawGame});
    return probes;
}

// The last sixteen plies of a drawn game, for draw tests.
std::vector<Probe> LastPlies(const CorpusGame&, const Replay& replay)
{
    std::vector<Probe> probes;
    for (int ply = std::max(0, Plies(replay) - 16); ply < Plies(replay); ++ply)
        if (Representable(At(replay.positions, ply)))
            probes.push_back({ply, false, true});
    return probes;
}

// Every move of the winner in the last thirty plies, after the opening.
std::vector<Probe> WinnerLastPlies(const CorpusGame& game, const Replay& replay)
{
    std::vector<Probe> probes;
    const bool whiteWon = game.result == "1-0";
    for (int ply = std::max(20, Plies(replay) - 30); ply < Plies(replay); ++ply)
        if (At(replay.positions, ply).WhiteToMove() == whiteWon && Representable(At(replay.positions, ply)))
            probes.push_back({ply, true, false});
    return probes;
}

// The winner's moves from `from` to `to` plies after the first move of the
// final run (whose length `runOf` gives).
std::function<std::vector<Probe>(const CorpusGame&, const Replay&)> AroundRun(RunLength runOf, int from, int to)
{
    return [runOf, from, to](const CorpusGame& game, const Replay& replay) {
        const int plies = Plies(replay);
        const int parity = game.result == "1-0" ? 0 : 1;
        const int winnerLast = (plies - 1) % 2 == parity ? plies - 1 : plies - 2;
        const int start = winnerLast - 2 * (runOf(game) - 1);
        std::vector<Probe> probes;
        for (int ply = start + from; ply <= start + to; ply += 2)
            if (ply >= 0 && ply < plies && Representable(At(replay.positions, ply)))
                probes.push_back({ply, true, false});
        return probes;
    };
}

// Around the run: from two moves before it to its second move. Early: from
// six to three moves before it, where a combination that ended in the run
// may have begun.
constexpr int kRunFrom = -4, kRunTo = 2;
constexpr int kEarlyFrom = -12, kEarlyTo = -6;

std::vector<Probe> Swings(const CorpusGame&, const Replay& replay) { return ProbesAt(SwingPlies(replay.positions), true, false); }
std::vector<Probe> Tricks(const CorpusGame&, const Replay& replay)
{
    return ProbesAt(StalemateTrickPlies(replay.positions), false, true);
}

// Kinds --------------------------------------------------------------------

bool AnyKind(TaskKind) { return true; }
bool NotStrategy(TaskKind kind) { return kind != TaskKind::Strategy; }
bool DrawOnly(TaskKind kind) { return kind == TaskKind::Draw; }

bool AtLeastThree(int run) { return run >= 3; }
bool ExactlyTwo(int run) { return run == 2; }
bool ExactlyOne(int run) { return run == 1; }

} // namespace

const std::vector<MineMode>& MineModes()
{
    static const std::vector<MineMode> modes = {
        // Every game: the winner's moves near the end, the last moves of a
        // draw with few pieces left, one position after the opening.
        {"", "", nullptr, "", DefaultProbes, AnyKind, false},
        // The drawn games that end in stalemate, probed in their last moves
        // for draw tests (stalemate tests are rare among the rest).
        {"--stalemates", "stalemate-", Where(EndsInStalemate), "drawn games end in stalemate", LastPlies, AnyKind, false},
        // The decisive games that the winner finished with a run of at least
        // three checks, longest runs first, probed where the run began: the
        // source of the long forced lines.
        {"--check-runs", "checks-", ByRun(CheckRun, AtLeastThree), "games end in a run of three or more checks",
         AroundRun(CheckRun, kRunFrom, kRunTo), AnyKind, true},
        // The same for runs of checks and captures.
        {"--forcing-runs", "forcing-", ByRun(ForcingRun, AtLeastThree),
         "games end in a run of three or more checks and captures", AroundRun(ForcingRun, kRunFrom, kRunTo), AnyKind, true},
        // The check-run games again, probed further back.
        {"--early-runs", "early-", ByRun(CheckRun, AtLeastThree), "games end in a run of three or more checks",
         AroundRun(CheckRun, kEarlyFrom, kEarlyTo), AnyKind, true},
        // The games finished with exactly two checks in a row, and with a
        // single check, probed like the check runs.
        {"--pair-runs", "pairs-", ByRun(CheckRun, ExactlyTwo), "games end in a run of exactly two checks",
         AroundRun(CheckRun, kRunFrom, kRunTo), AnyKind, true},
        {"--single-runs", "single-", ByRun(CheckRun, ExactlyOne), "games end in a run of exactly one check",
         AroundRun(CheckRun, kRunFrom, kRunTo), AnyKind, true},
        // Decisive games that ended with little material: every move of the
        // winner in the last thirty plies, where only-move king and pawn
        // manoeuvres give long lines.
        {"--endings", "endings-", Where(DecisiveWithLittleMaterial), "decisive games end with little material",
         WinnerLastPlies, AnyKind, true},
        // Every game, probed only where a side went on to win material or
        // mate (read off the game, without the engine), for tactics and
        // draws: the cheap first pass over the whole corpus.
        {"--swings", "swings-", nullptr, "", Swings, NotStrategy, true},
        // Every game, probed only where the side to move could be stalemated
        // once its few pieces are gone: for stalemate saves.
        {"--stalemate-tricks", "tricks-", nullptr, "", Tricks, DrawOnly, false},
    };
    return modes;
}

const MineMode& DefaultMineMode() { return MineModes().front(); }

const MineMode* FindMineMode(std::string_view flag)
{
    for (const MineMode& mode : MineModes())
        if (!mode.flag.empty() && mode.flag == flag)
            return &mode;
    return nullptr;
}

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

std::vector<int> SwingPlies(const std::vector<Position>& positions)
{
    const int plies = static_cast<int>(positions.size()) - 1;
    auto balance = [&](int ply, bool white) { return material::Balance(At(positions, ply), white); };
    std::set<int> chosen;
    for (int ply = 10; ply < plies; ++ply) {
        const bool white = At(positions, ply).WhiteToMove();
        const int before = balance(ply, white);
        bool swing = false;
        for (int j = ply + 1; j <= std::min(plies, ply + 10) && !swing; ++j) {
            const int held = j < plies ? std::min(balance(j, white), balance(j + 1, white)) : balance(j, white);
            swing = held - before >= kMaterialPoint;
        }
        const Position& last = positions.back();
        swing = swing || (plies - ply <= 10 && last.IsCheckmate() && last.WhiteToMove() != white);
        if (!swing)
            continue;
        for (int start : {ply, ply - 2}) {
            if (start < 10)
                continue;
            const Position& p = At(positions, start);
            if (ReadStart(p, "").AsksForThought() && Representable(p))
                chosen.insert(start);
        }
    }
    return {chosen.begin(), chosen.end()};
}

std::vector<int> StalemateTrickPlies(const std::vector<Position>& positions)
{
    std::vector<int> plies;
    for (int ply = 20; ply + 1 < static_cast<int>(positions.size()); ++ply) {
        const Position& p = At(positions, ply);
        if (!ReadStart(p, "").AsksForThought() || !Representable(p))
            continue;
        // Few pieces to give away, and only they can move: the king and the
        // pawns are stuck, so that losing the pieces leaves no move at all.
        const auto own = p.Count(p.WhiteToMove());
        if (own[fullchess::Knight] + own[fullchess::Bishop] + own[fullchess::Rook] + own[fullchess::Queen] > 3)
            continue;
        bool trick = true;
        for (const auto& m : p.LegalMoves()) {
            const PieceType kind = material::KindOf(p.At(m.from));
            trick = trick && kind != fullchess::King && kind != fullchess::Pawn;
        }
        if (trick)
            plies.push_back(ply);
    }
    return plies;
}

std::vector<Probe> ChooseProbes(const CorpusGame& game, const std::vector<Position>& positions)
{
    const int plies = static_cast<int>(positions.size()) - 1;
    const bool whiteWon = game.result == "1-0", blackWon = game.result == "0-1";
    const bool drawn = game.result == "1/2-1/2";
    std::set<int> chosen;
    // Decisive games: the winner's moves near the end, where the game was won.
    if (whiteWon || blackWon) {
        for (int ply = std::max(10, plies - 24); ply < plies; ++ply)
            if (At(positions, ply).WhiteToMove() == whiteWon)
                chosen.insert(ply);
    }
    // Drawn games that ended with few pieces on the board or in stalemate:
    // the last moves, where one side may have had to find the only draw.
    if (drawn && plies > 20) {
        const Position& end = positions.back();
        int men = 0;
        for (int sq = 0; sq < 64; ++sq)
            men += end.At(sq) != fullchess::Empty ? 1 : 0;
        if (men <= 14 || end.IsStalemate())
            for (int ply = std::max(20, plies - 10); ply < plies; ++ply)
                chosen.insert(ply);
    }
    // Every game: one position anywhere after the opening, for quiet tests.
    std::mt19937 pick(static_cast<uint32_t>(Fnv1a(game.Id())));
    if (plies > 24)
        chosen.insert(16 + static_cast<int>(pick() % static_cast<uint32_t>(plies - 20)));
    std::vector<Probe> probes;
    for (int ply : chosen) {
        const Position& p = At(positions, ply);
        if (!Representable(p))
            continue;
        const bool winnerToMove = (whiteWon && p.WhiteToMove()) || (blackWon && !p.WhiteToMove());
        probes.push_back({ply, winnerToMove, drawn});
    }
    return probes;
}

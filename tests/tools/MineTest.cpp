// The miner: what material is worth, which games and positions each mode takes, a run that stops and resumes.
#include "Words.h"
#include "BoardFacts.h"
#include "Candidate.h"
#include "Commands.h"
#include "Material.h"
#include "Mine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using fullchess::Position;

namespace {

Position FromFen(const std::string& fen) { return *Position::FromFen(fen); }

CorpusGame Game(const std::string& result, const std::string& san)
{
    CorpusGame game;
    game.file = "test.pgn";
    game.result = result;
    game.san = Words(san);
    return game;
}

TEST(Material, WorthBalanceAndEndgame)
{
    struct Row { const char* name; const char* fen; int white, black, whitePieces, blackPieces; bool endgame; };
    const Row rows[] = {
        {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", 39, 39, 31, 31, false},
        {"each kind once", "4k3/8/8/8/8/8/P7/1NBRQK2 w - - 0 1", 21, 0, 20, 0, false},
        {"two rooks and a bishop", "r1b1k2r/8/8/8/8/8/8/R1B1K2R w - - 0 1", 13, 13, 13, 13, true},
        {"a queen and a rook", "4k3/8/8/8/8/8/8/Q3K2R w - - 0 1", 14, 0, 14, 0, false},
        {"a rook and pawns", "4k3/pp6/8/8/8/8/8/4K2R w - - 0 1", 5, 2, 5, 0, true},
    };
    for (const Row& row : rows) {
        const Position p = FromFen(row.fen);
        EXPECT_EQ(material::Material(p, true), row.white) << row.name;
        EXPECT_EQ(material::Material(p, false), row.black) << row.name;
        EXPECT_EQ(material::PieceMaterial(p, true), row.whitePieces) << row.name;
        EXPECT_EQ(material::PieceMaterial(p, false), row.blackPieces) << row.name;
        EXPECT_EQ(material::Balance(p, true), row.white - row.black) << row.name;
        EXPECT_EQ(material::Balance(p, false), row.black - row.white) << row.name;
        EXPECT_EQ(material::IsEndgame(p), row.endgame) << row.name;
    }
}

// What the board says, square by square: the queen on b4 pins the knight on d2 to the king, a3 and g7 are passed.
TEST(BoardFacts, AttacksPinsAndPassedPawns)
{
    const Position p = FromFen("4k3/2p3P1/8/5n2/1q6/P7/1P1N4/4K3 w - - 0 1");
    auto sq = [](const char* name) { return fullchess::ParseSquare(name); };
    auto sorted = [](std::vector<int> v) { std::sort(v.begin(), v.end()); return v; };
    auto squares = [&](const char* names) {
        std::vector<int> out;
        for (const std::string& name : Words(names))
            out.push_back(sq(name.c_str()));
        return sorted(out);
    };
    auto attacks = [&](const char* from) { return sorted(facts::AttacksFrom(p, sq(from))); };
    EXPECT_EQ(attacks("e8"), squares("d8 f8 d7 e7 f7"));
    EXPECT_EQ(attacks("g7"), squares("f8 h8"));
    EXPECT_EQ(attacks("c7"), squares("b6 d6"));
    EXPECT_EQ(attacks("d2"), squares("b1 f1 b3 f3 c4 e4"));
    EXPECT_EQ(attacks("f5"), squares("g7 h6 h4 g3 e3 d4 d6 e7"));
    EXPECT_EQ(attacks("b4"), squares("a3 a4 c4 d4 e4 f4 g4 h4 b5 b6 b7 b8 b3 b2 a5 c5 d6 e7 f8 c3 d2"));
    EXPECT_EQ(facts::Attackers(p, sq("a3"), false), squares("b4"));
    EXPECT_TRUE(facts::KingOf(p, true) == sq("e1") && facts::KingOf(p, false) == sq("e8"));
    EXPECT_TRUE(facts::Defended(p, sq("a3")) && !facts::Defended(p, sq("b2")));
    EXPECT_TRUE(facts::LegalMovesOf(p, sq("e1")) == 4 && facts::LegalMovesOf(p, sq("d2")) == 0);
    const auto pins = facts::PinsBy(p, sq("b4"));
    ASSERT_EQ(pins.size(), 1u);
    EXPECT_EQ(pins[0].pinned, sq("d2"));
    EXPECT_EQ(pins[0].behind, sq("e1"));
    EXPECT_TRUE(facts::PinnedToKing(p, sq("d2")));
    EXPECT_FALSE(facts::PinnedToKing(p, sq("b2")));
    for (const char* passed : {"a3", "g7"})
        EXPECT_TRUE(facts::PassedPawn(p, sq(passed))) << passed;
    for (const char* other : {"b2", "c7", "d2", "e5"})
        EXPECT_FALSE(facts::PassedPawn(p, sq(other))) << other;
    EXPECT_EQ(facts::PassedPawnMoves(p), 6);  // a3-a4, a3xb4 and four promotions
    EXPECT_EQ(facts::PassedPawnMoves(p, 0, 2), 2);
    EXPECT_EQ(facts::RelativeRank(sq("a3"), false), 5);
    EXPECT_EQ(facts::KingDistance(sq("a1"), sq("c8")), 7);
    EXPECT_EQ(facts::Between(sq("b4"), sq("e1")), (std::vector<int>{sq("c3"), sq("d2")}));
    EXPECT_TRUE(facts::Between(sq("b4"), sq("c6")).empty());
}

// A probe's two best lines decide the kind of test it may give.
TEST(Classify, KindByTheTwoBestLines)
{
    const std::optional<TaskKind> none, tactic = TaskKind::Tactic, draw = TaskKind::Draw, strategy = TaskKind::Strategy;
    struct Row { const char* name; bool tacticSide, drawGame; Score best, second; std::optional<TaskKind> kind; };
    const Row rows[] = {
        {"half a win chance apart", true, false, Score::Cp(300), Score::Cp(0), tactic},
        {"the same for the loser", false, false, Score::Cp(300), Score::Cp(0), none},
        {"a mate against nothing", true, false, Score::MateIn(3), Score::Cp(0), tactic},
        {"too little won", true, false, Score::Cp(149), Score::Cp(-400), strategy},
        {"mated", true, true, Score::MateIn(-2), Score::Cp(-900), none},
        {"held, all else loses", false, true, Score::Cp(60), Score::Cp(-150), draw},
        {"held from below", false, true, Score::Cp(-60), Score::MateIn(-3), draw},
        {"not quite held", false, true, Score::Cp(61), Score::Cp(-150), strategy},
        {"a second choice that holds too", false, true, Score::Cp(0), Score::Cp(-100), strategy},
        {"not a drawn game", false, false, Score::Cp(0), Score::Cp(-150), strategy},
        {"balanced at the top", false, false, Score::Cp(250), Score::Cp(200), strategy},
        {"balanced at the bottom", false, false, Score::Cp(-250), Score::Cp(-300), strategy},
        {"won already", false, false, Score::Cp(251), Score::Cp(0), none},
        {"lost already", false, false, Score::Cp(-251), Score::Cp(-400), none},
        {"not clear of the second", false, false, Score::Cp(100), Score::Cp(51), none},
        {"against a mate", false, false, Score::Cp(100), Score::MateIn(-5), none},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Classify({0, row.tacticSide, row.drawGame}, {{row.best, row.second}, "", {}, {}}, 0.5), row.kind) << row.name;
    EXPECT_EQ(Classify({0, true, true}, {{Score::Cp(300)}, "", {}, {}}, 0.5), none);  // one line only
}

// A short legal game of each sort; the run games are read only by their check signs (their moves need not be legal).
const CorpusGame kStalemate = Game("1/2-1/2", "e3 a5 Qh5 Ra6 Qxa5 h5 h4 Rah6 Qxc7 f6 Qxd7+ Kf7 Qxb7 Qd3 Qxb8 Qh7 Qxc8 Kg6 Qe6");
const CorpusGame kEnding = Game("1-0",
    "e4 e5 Nf3 Nc6 Bc4 g6 c3 d6 d4 Qe7 dxe5 Nxe5 Nxe5 dxe5 O-O Nf6 Qf3 Be6 Bg5 Bg7 Nd2 h6 Bxf6 Bxf6 Bxe6 Qxe6 Nc4 Bg5 b3 "
    "O-O-O Rad1 c6 Rxd8+ Rxd8 Rd1 h5 Rxd8+ Bxd8 Qxf7 Qxf7 Nd6+ Kc7 Nxf7 Bf6 Kf1");
const CorpusGame kThreeChecks = Game("1-0", "e4 e5 Bc4 Nc6 Qh5 Nf6 Qxf7+ Ke7 Qxe5+ Kf7 Bd5#");
const CorpusGame kTwoChecks = Game("1-0", "e4 e5 Nf3 d6 Bc4 Bg4 Nc3 g6 Nxe5 Bxd1 Bxf7+ Ke7 Nd5#");
const CorpusGame kOneCheck = Game("1-0", "e4 e5 Bc4 Nc6 Qh5 Nf6 Qxf7#");
const CorpusGame kFourForcing = Game("0-1", "f3 e5 g4 Qh4+ Kf2 Qxg4 Ke3 Qxg1+ Kd3 Qxh2");
const CorpusGame kDrawn = Game("1/2-1/2", "e4 e5 Nf3 Nc6");

const MineMode& Mode(const char* flag) { return flag[0] ? *FindMineMode(flag) : DefaultMineMode(); }

TEST(MineModes, EachTakesItsGames)
{
    const std::vector<CorpusGame> games = {kStalemate, kEnding, kThreeChecks, kTwoChecks, kOneCheck, kFourForcing, kDrawn};
    const std::vector<std::size_t> all = {0, 1, 2, 3, 4, 5, 6};
    struct Row { const char* flag; std::vector<std::size_t> taken; };  // in the order walked
    const Row rows[] = {
        {"", all}, {"--stalemates", {0}}, {"--check-runs", {2}}, {"--early-runs", {2}},
        // Checks and captures, longest first, leaving out the three checks.
        {"--forcing-runs", {5, 3}},
        {"--pair-runs", {3}}, {"--single-runs", {4}}, {"--endings", {1}}, {"--swings", all}, {"--stalemate-tricks", all},
    };
    for (const Row& row : rows) {
        const MineMode& mode = Mode(row.flag);
        EXPECT_EQ(mode.games ? mode.games(games, all) : all, row.taken) << row.flag;
    }
    EXPECT_EQ(FindMineMode("--stalemate"), nullptr);
    EXPECT_EQ(FindMineMode(""), nullptr);
}

std::vector<int> PliesOf(const std::vector<Probe>& probes)
{
    std::vector<int> plies(probes.size());
    std::transform(probes.begin(), probes.end(), plies.begin(), [](const Probe& p) { return p.ply; });
    return plies;
}

// A game of king moves, the winner's last ones marked as checks: runs are read off the signs, every position shown.
CorpusGame KingWalk(const std::string& result, int checks, Replay& replay)
{
    Position p = FromFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    replay.positions = {p};
    CorpusGame game;
    game.result = result;
    const char* walk[] = {"Ke2", "Ke7", "Ke1", "Ke8"};
    for (int ply = 0; ply < 20; ++ply) {
        const auto move = p.ParseSan(walk[ply % 4]);
        p.Play(*move);
        replay.moves.push_back(*move);
        replay.positions.push_back(p);
        const bool winner = (ply % 2 == 0) == (result == "1-0");
        const int fromEnd = (19 - ply) / 2;  // the winner's moves still to come
        game.san.push_back(std::string(walk[ply % 4]) + (winner && fromEnd < checks ? "+" : ""));
    }
    return game;
}

TEST(MineModes, ProbesAroundTheFinalRun)
{
    struct Row { const char* flag; const char* result; int checks; std::vector<int> plies; };
    const Row rows[] = {
        // White's run of three begins at ply 14: from two moves before it to its second move.
        {"--check-runs", "1-0", 3, {10, 12, 14, 16}}, {"--early-runs", "1-0", 3, {2, 4, 6, 8}}, {"--check-runs", "0-1", 3, {11, 13, 15, 17}},
        {"--pair-runs", "1-0", 2, {12, 14, 16, 18}}, {"--single-runs", "0-1", 1, {15, 17, 19}},
    };
    for (const Row& row : rows) {
        Replay replay;
        const CorpusGame game = KingWalk(row.result, row.checks, replay);
        const auto probes = Mode(row.flag).probes(game, replay);
        EXPECT_EQ(PliesOf(probes), row.plies) << row.flag << " " << row.result;
        for (const Probe& p : probes)
            EXPECT_TRUE(p.tacticSide && !p.drawGame) << row.flag;
    }
}

TEST(MineModes, ProbesOfTheEndingsAndTheStalemates)
{
    std::string error;
    const Replay ending = *ReplayGame(kEnding, error);
    // The winner's moves of the last thirty plies, once no castling is left (Black castled at ply 29).
    const auto probes = Mode("--endings").probes(kEnding, ending);
    EXPECT_EQ(PliesOf(probes), (std::vector<int>{30, 32, 34, 36, 38, 40, 42, 44}));
    EXPECT_TRUE(probes.front().tacticSide);
    // The last sixteen plies of a drawn game (here on the same positions), for the drawing side.
    const auto drawn = Mode("--stalemates").probes(kStalemate, ending);
    EXPECT_EQ(PliesOf(drawn), (std::vector<int>{30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44}));
    EXPECT_TRUE(!drawn.front().tacticSide && drawn.front().drawGame);
    EXPECT_TRUE(Mode("").keeps(TaskKind::Strategy) && !Mode("--swings").keeps(TaskKind::Strategy) && Mode("--swings").keeps(TaskKind::Draw));
    EXPECT_TRUE(!Mode("--stalemate-tricks").keeps(TaskKind::Tactic) && Mode("--stalemate-tricks").keeps(TaskKind::Draw));
}

// The plies probed for a stalemate trick and for a swing, read from the positions of a game alone.
TEST(MineModes, StalemateTricksAndSwings)
{
    // Black's king is walled in by its own pawn, blocked, and the rook on the g-file; only Black's rook can move.
    const char* trick = "7k/7p/7P/8/8/8/r7/2K3R1 b - - 0 1";
    struct TrickRow { const char* name; const char* fen; int at; std::vector<int> plies; };
    const TrickRow tricks[] = {
        {"trick", trick, 20, {20}}, {"too early in the game", trick, 19, {}}, {"the last position", trick, 22, {}},
        {"the pawn can move", "7k/7p/8/8/8/8/r7/2K3R1 b - - 0 1", 20, {}},
        {"four pieces to give away", "7k/7p/7P/8/8/8/rnbr4/2K3R1 b - - 0 1", 20, {}},
    };
    for (const TrickRow& row : tricks) {
        std::vector<Position> positions(23, FromFen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1"));
        positions[static_cast<std::size_t>(row.at)] = FromFen(row.fen);
        EXPECT_EQ(StalemateTrickPlies(positions), row.plies) << row.name;
    }
    // A swing is material won and held, or a mate.
    const Position level = FromFen("r3k3/8/8/8/8/8/8/R3K1N1 w - - 0 1");
    const Position rookUp = FromFen("4k3/8/8/8/8/8/8/R3K1N1 w - - 0 1");
    const Position pawnUp = FromFen("r3k3/8/8/8/8/8/P7/R3K1N1 w - - 0 1");
    const Position blackMated = FromFen("R3k3/8/4K3/8/8/8/8/6Nr b - - 0 1");  // material as before
    struct SwingRow { const char* name; std::vector<Position> from16; std::vector<int> plies; };  // the positions from ply 16 on
    const SwingRow swings[] = {
        {"won and kept", {rookUp, rookUp, rookUp}, {10, 11, 12, 13, 14, 15}},
        {"won and given back", {rookUp, level, level}, {}},
        {"a pawn is not enough", {pawnUp, pawnUp, pawnUp}, {}},
        // Ply 12 is ten plies before the mate: it and the move two plies earlier are probed.
        {"mate within ten plies", {level, level, level, level, level, level, blackMated},
         {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}},
        {"won ten plies on: eleven are too many", {level, level, level, level, level, level, level, level, level, level, rookUp, rookUp, rookUp},
         {14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}},
    };
    for (const SwingRow& row : swings) {
        std::vector<Position> positions(16, level);
        positions.insert(positions.end(), row.from16.begin(), row.from16.end());
        EXPECT_EQ(SwingPlies(positions), row.plies) << row.name;
    }
}

// mine with the fake engine over three games: each run does what is left, stopping at --games, and says what it found
// before. A folder without games is a failure of the command (status 2), told apart from a run that found nothing.
TEST(RunMine, ResumesWhereItStoppedAndFailsWithoutGames)
{
    const auto dir = std::filesystem::temp_directory_path() / ("mine-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "pgn");
    {
        std::ofstream pgn(dir / "pgn" / "games.pgn");
        for (const CorpusGame& g : {kEnding, kTwoChecks, kOneCheck}) {
            pgn << "[Event \"test\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"" << g.result << "\"]\n\n";
            for (const auto& m : g.san)
                pgn << m << ' ';
            pgn << g.result << "\n\n";
        }
    }
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {(dir / "pgn").string(), "--out", (dir / "out").string(), "--engine", FAKE_ENGINE});
        testing::internal::CaptureStderr();
        EXPECT_EQ(CommandMine(args), 0);
        return testing::internal::GetCapturedStderr();
    };
    auto progress = [&](const std::string& tag) {
        std::ifstream in(dir / "out" / ("progress-" + tag + ".txt"));
        int done = -1;
        in >> done;
        return done;
    };
    run({"--games", "1"});
    EXPECT_EQ(progress("0of1"), 1);
    // The candidates found before are counted on (a damaged line is not).
    Candidate draw;
    draw.kind = TaskKind::Draw;
    draw.fen = "4k3/8/8/8/8/8/8/R3K3 w - - 0 1";
    draw.line.moves = {"a1a8"};
    draw.line.steps = {{Score::Cp(0), Score::Cp(-300), Score::Cp(0), false, false}};
    std::ofstream(dir / "out" / "candidates-0of1.tsv") << FormatCandidate(draw) << "\nno candidate\n";
    const std::string rest = run({});
    EXPECT_EQ(progress("0of1"), 3);
    EXPECT_NE(rest.find("3 games, 3 in this shard, 1 already done"), std::string::npos) << rest;
    EXPECT_NE(rest.find("stopped at 3/3 games; candidates T 0 D 1 S 0"), std::string::npos) << rest;
    EXPECT_NE(run({}).find("stopped at 3/3"), std::string::npos);
    // Each mode and shard keeps its own count.
    EXPECT_NE(run({"--shard", "1/2"}).find("3 games, 1 in this shard"), std::string::npos);
    EXPECT_EQ(progress("1of2"), 1);
    const std::string shard = run({"--pair-runs", "--shard", "0/2"});
    EXPECT_NE(shard.find("1 games end in a run of exactly two checks"), std::string::npos) << shard;
    EXPECT_EQ(progress("pairs-0of2"), 1);
    EXPECT_EQ(progress("0of1"), 3);
    EXPECT_THROW(CommandMine({"dir", "--swings", "--endings"}), std::invalid_argument);
    EXPECT_THROW(CommandMine({"dir", "--out"}), std::invalid_argument);  // a flag without its value
    std::filesystem::create_directories(dir / "none");
    testing::internal::CaptureStderr();
    EXPECT_EQ(CommandMine({(dir / "none").string(), "--out", (dir / "none-out").string(), "--engine", FAKE_ENGINE}), 2);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no games in"), std::string::npos);
    std::filesystem::remove_all(dir);
}

// The default mode's probes: the winner's last moves, the drawn side, and one
// position after the opening of every game. Both kings walk at once (no
// castling is left from ply 4 on), then the knights go back and forth.
CorpusGame Shuffle(const std::string& file, const std::string& result, int rounds)
{
    std::string san = "e4 e5 Ke2 Ke7";
    for (int i = 0; i < rounds; ++i)
        san += " Nf3 Nf6 Ng1 Ng8";
    CorpusGame game = Game(result, san);
    game.file = file;
    return game;
}

std::vector<Probe> Probes(const CorpusGame& game)
{
    std::string error;
    const auto replay = ReplayGame(game, error);
    EXPECT_TRUE(replay) << error;
    return replay ? ChooseProbes(game, replay->positions) : std::vector<Probe>{};
}

TEST(ChooseProbes, OnePositionAfterTheOpeningOfEveryGame)
{
    // 60 plies, unfinished: only the quiet pick, from ply 16 to the fifth ply
    // before the end, a different one from game to game.
    std::vector<int> seen;
    for (int i = 0; i < 24; ++i) {
        const auto probes = Probes(Shuffle("games-" + std::to_string(i) + ".pgn", "*", 14));
        ASSERT_EQ(probes.size(), 1u) << i;
        EXPECT_TRUE(probes[0].ply >= 16 && probes[0].ply < 56) << i << ": " << probes[0].ply;
        EXPECT_FALSE(probes[0].tacticSide || probes[0].drawGame) << i;
        seen.push_back(probes[0].ply);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_GT(std::unique(seen.begin(), seen.end()) - seen.begin(), 5);
    // A short game has no quiet pick; one that keeps castling rights has no
    // position that can be stored.
    EXPECT_TRUE(Probes(Shuffle("short.pgn", "*", 5)).empty());
    CorpusGame castles = Shuffle("castles.pgn", "1-0", 14);
    castles.san[2] = "Nc3";
    castles.san[3] = "Nc6";
    EXPECT_TRUE(Probes(castles).empty());
}

TEST(ChooseProbes, TheWinnersLastMovesAndTheDrawnSide)
{
    for (const char* result : {"1-0", "0-1"}) {
        const bool white = std::string(result) == "1-0";
        const auto probes = Probes(Shuffle("won.pgn", result, 14));
        std::vector<int> window;  // the last 24 plies
        for (const Probe& p : probes) {
            EXPECT_FALSE(p.drawGame) << result;
            EXPECT_EQ(p.tacticSide, (p.ply % 2 == 0) == white) << result << " " << p.ply;
            if (p.ply >= 36)
                window.push_back(p.ply);
        }
        // The winner's twelve moves there, up to the last one; besides them at most the quiet pick.
        ASSERT_EQ(window.size(), 12u) << result;
        EXPECT_TRUE(std::all_of(window.begin(), window.end(), [&](int ply) { return (ply % 2 == 0) == white; }));
        EXPECT_EQ(window.back(), white ? 58 : 59) << result;
        EXPECT_LE(probes.size(), 13u) << result;
    }
    // A drawn game with all its men: only the quiet pick, marked as a drawn game.
    const auto drawn = Probes(Shuffle("drawn.pgn", "1/2-1/2", 14));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_TRUE(drawn[0].drawGame && !drawn[0].tacticSide);
    const auto plies = PliesOf(Probes(Game("1/2-1/2", "Nf3 Nf6 Rg1 Ng8 Rh1 Nf6 Ng1 Ng8 Nc3 Nc6 Rb1 Nb8 Ra1 Nc6 Nb1 Nb8 e3 a5 Qh5 Ra6 "
                                                     "Qxa5 h5 h4 Rah6 Qxc7 f6 Qxd7+ Kf7 Qxb7 Qd3 Qxb8 Qh7 Qxc8 Kg6 Qe6")));
    EXPECT_TRUE(!plies.empty() && plies.back() == 34);  // drawn in stalemate, castling gone: the last moves are probed
}

} // namespace

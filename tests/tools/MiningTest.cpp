// Building and re-checking solution lines against a scripted engine.
#include "Mining.h"
#include "ScriptedEngine.h"
#include "Verify.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using fullchess::Position;

namespace {

// How clear a user move must be, and where a line may end, by kind of test.
TEST(ByKind, UserMoveMarginsAndLineOutcomes)
{
    const auto T = TaskKind::Tactic, D = TaskKind::Draw, S = TaskKind::Strategy;
    const std::optional<Score> none;
    const std::tuple<TaskKind, Score, std::optional<Score>, bool, bool> rows[] = {  // kind, best, second, first move, clear
        // Tactics: more than 0.7 of win chance between first and second choice; two mates in one are not.
        {T, Score::Cp(557), Score::Cp(-314), true, true}, {T, Score::Cp(510), Score::Cp(242), true, false},
        {T, Score::MateIn(2), Score::Cp(150), true, true}, {T, Score::MateIn(1), Score::MateIn(1), true, false},
        {T, Score::MateIn(1), Score::Cp(400), true, false}, {T, Score::Cp(900), none, false, true},
        // Draws: the first choice holds, every other loses.
        {D, Score::Cp(0), Score::Cp(-200), true, true}, {D, Score::Cp(0), Score::Cp(-199), true, false},
        {D, Score::Cp(-51), Score::Cp(-600), true, false}, {D, Score::Cp(10), Score::MateIn(-4), true, true},
        // Strategy: 40 centipawns clear, and undecided at the start.
        {S, Score::Cp(60), Score::Cp(20), true, true}, {S, Score::Cp(60), Score::Cp(21), true, false},
        {S, Score::Cp(301), Score::Cp(100), true, false}, {S, Score::Cp(350), Score::Cp(100), false, true},
        {S, Score::MateIn(3), Score::Cp(100), false, false}, {S, Score::Cp(50), none, true, false},
    };
    for (const auto& [kind, best, second, first, clear] : rows)
        EXPECT_EQ(UserMoveAcceptable(kind, best, second, first), clear) << best.Text() << " " << (second ? second->Text() : "none");
    const std::tuple<TaskKind, Score, bool, bool> ends[] = {  // kind, score after, stalemate on the board, may end
        {T, Score::Cp(200), false, true}, {T, Score::Cp(199), false, false}, {T, Score::MateIn(3), false, true},
        {T, Score::MateIn(-3), false, false}, {D, Score::Cp(-50), false, true}, {D, Score::Cp(51), false, false},
        {D, Score::Cp(51), true, true}, {S, Score::Cp(51), true, false},
    };
    for (const auto& [kind, after, stalemate, mayEnd] : ends)
        EXPECT_EQ(LineMayEnd(kind, {Score::Cp(300), Score::Cp(0), after, false, stalemate}), mayEnd) << after.Text();
}

class LineBuilding : public testing::Test {
protected:
    void SetUp() override
    {
        // Bg8+ Kxg8 Rf8+ Kh7, after which the pawn queens (not a playable token).
        engine.Set("", {Score::Cp(557), Score::Cp(-314)}, "d5g8");
        engine.Set("d5g8", {Score::Cp(-480)}, "h7g8");
        engine.Set("d5g8 h7g8", {Score::Cp(520), Score::Cp(-100)}, "f2f8");
        engine.Set("d5g8 h7g8 f2f8", {Score::Cp(-500)}, "g8h7");
        engine.Set("d5g8 h7g8 f2f8 g8h7", {Score::Cp(900), Score::Cp(-200)}, "e7e8q");
        root = *Position::FromFen("8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w - - 0 1");
    }
    ScriptedEngine engine;
    Position root;
};

// The whole script stops before the promotion, keeping the scores; with one answer changed (none where `at` is null)
// the line ends at the limit or where a move is not clear.
TEST_F(LineBuilding, StopsBeforeAPromotionAtTheLimitOrWhereAMoveIsNotClear)
{
    const auto line = BuildLine(TaskKind::Tactic, root, 13, engine.AsAnalyser());
    ASSERT_TRUE(line);
    EXPECT_EQ(line->moves, (std::vector<std::string>{"d5g8", "h7g8", "f2f8"}));
    ASSERT_EQ(line->steps.size(), 2u);
    EXPECT_EQ(line->steps[0].after, Score::Cp(480));
    EXPECT_EQ(line->steps[1].second, Score::Cp(-100));
    EXPECT_TRUE(LineMayEnd(TaskKind::Tactic, line->steps[1]));
    using Moves = std::optional<std::vector<std::string>>;
    struct Row { const char* name; const char* at; Score best, second; const char* move; int limit; Moves moves; };
    for (const Row& row : {Row{"the token limit", nullptr, Score::Cp(0), Score::Cp(0), "", 1, Moves{{"d5g8"}}},
                           Row{"a second move wins as well", "d5g8 h7g8", Score::Cp(520), Score::Cp(480), "f2f8", 13, Moves{{"d5g8"}}},
                           Row{"a first move that is not clear", "", Score::Cp(557), Score::Cp(400), "d5g8", 13, std::nullopt}}) {
        ScriptedEngine changed = engine;
        if (row.at)
            changed.Set(row.at, {row.best, row.second}, row.move);
        const auto built = BuildLine(TaskKind::Tactic, root, row.limit, changed.AsAnalyser());
        EXPECT_EQ(built ? Moves{built->moves} : std::nullopt, row.moves) << row.name;
    }
}

TEST_F(LineBuilding, ExtendingGoesOnFromTheStoredReplyByTheSameRules)
{
    const auto analyser = engine.AsAnalyser();
    const auto shortLine = BuildLine(TaskKind::Tactic, root, 1, analyser);
    ASSERT_TRUE(shortLine);
    ASSERT_EQ(shortLine->continuation, (std::vector<std::string>{"h7g8"}));
    const BuiltLine longer = ExtendLine(TaskKind::Tactic, root, *shortLine, 13, analyser);
    EXPECT_EQ(longer.moves, (std::vector<std::string>{"d5g8", "h7g8", "f2f8"}));
    ASSERT_EQ(longer.steps.size(), 2u);
    EXPECT_EQ(longer.steps[0].after, shortLine->steps[0].after);
    EXPECT_EQ(longer.steps[1].second, Score::Cp(-100));
    EXPECT_EQ(longer.continuation, (std::vector<std::string>{"g8h7"}));
    // The full line stops before the promotion again; the limit holds.
    EXPECT_EQ(ExtendLine(TaskKind::Tactic, root, longer, 13, analyser).moves, longer.moves);
    EXPECT_EQ(ExtendLine(TaskKind::Tactic, root, *shortLine, 2, analyser).moves, shortLine->moves);
    // A stored reply that is not a legal move leaves the line as it is.
    BuiltLine odd = *shortLine;
    odd.continuation = {"a1a2"};
    EXPECT_EQ(ExtendLine(TaskKind::Tactic, root, odd, 13, analyser).moves, shortLine->moves);
    // So does a next move that a second one matches.
    engine.Set("d5g8 h7g8", {Score::Cp(520), Score::Cp(480)}, "f2f8");
    EXPECT_EQ(ExtendLine(TaskKind::Tactic, root, *shortLine, 13, engine.AsAnalyser()).steps.size(), 1u);
}

TEST_F(LineBuilding, CheckLineAcceptsTheBuiltLineAndNamesEachFault)
{
    const auto analyser = engine.AsAnalyser();
    EXPECT_EQ(CheckLine(TaskKind::Tactic, root, {"d5g8", "h7g8", "f2f8"}, analyser), "");
    EXPECT_EQ(CheckLine(TaskKind::Tactic, root, {"d5g8"}, analyser), "");
    EXPECT_NE(CheckLine(TaskKind::Tactic, root, {"d5g8", "h7g8"}, analyser).find("odd"), std::string::npos);
    EXPECT_NE(CheckLine(TaskKind::Tactic, root, {"f2f7"}, analyser).find("first choice"), std::string::npos);
    EXPECT_NE(CheckLine(TaskKind::Tactic, root, {"d5g8", "h7h8", "f2f8"}, analyser), "");
    // The same line does not hold as a draw test.
    EXPECT_NE(CheckLine(TaskKind::Draw, root, {"d5g8"}, analyser), "");
    EXPECT_NE(CheckLine(TaskKind::Strategy, root, {"d5g8"}, analyser).find("already decided"), std::string::npos);
    // A tactic whose first move leaves too little has no outcome.
    engine.Set("d5g8", {Score::Cp(-150)}, "h7g8");
    EXPECT_NE(CheckLine(TaskKind::Tactic, root, {"d5g8"}, engine.AsAnalyser()).find("outcome"), std::string::npos);
}

// The stored reply Kh8 against the engine's Kxg8: both scores for Black (`first`, `stored`) from one multi-line search.
TEST_F(LineBuilding, RepliesJudgedByOneSearchAtTheLargestBudget)
{
    // A reply outside the lines searched is refused, the last of a walk too.
    engine.Set("d5g8", {Score::Cp(-480), Score::Cp(-490)}, "h7g8", {"h7g8", "h7h6"});
    const LineWalk outside = WalkLine(TaskKind::Tactic, root, {"d5g8", "h7h8"}, engine.AsAnalyser());
    EXPECT_NE(outside.problem.find("not among"), std::string::npos) << outside.problem;
    struct Row { const char* name; int first, stored; bool judged, stands; };
    for (const Row& row : {Row{"within thirty", -480, -510, true, true}, Row{"thirty-one worse", -480, -511, true, false},
                           Row{"the lost side may reply anyhow", -600, -900, true, true}, Row{"not yet lost", -599, -900, true, false},
                           Row{"not judged below the largest budget", -480, -900, false, true}}) {
        engine.Set("d5g8", {Score::Cp(row.first), Score::Cp(row.stored)}, "h7g8", {"h7g8", "h7h8"});
        engine.Set("d5g8 h7h8", {Score::Cp(520), Score::Cp(-100)}, "f2f8");
        engine.Set("d5g8 h7h8 f2f8", {Score::Cp(-500)}, "h8h7");
        const LineWalk walk = WalkLine(TaskKind::Tactic, root, {"d5g8", "h7h8", "f2f8"}, engine.AsAnalyser(), row.judged);
        EXPECT_EQ(walk.problem.empty(), row.stands) << row.name << ": " << walk.problem;
        EXPECT_EQ(walk.steps.size(), row.stands ? 2u : 1u) << row.name;  // the first move held
    }
    // A record's replies are judged at the largest budget of the collection only.
    engine.Set("d5g8", {Score::Cp(-480), Score::Cp(-600)}, "h7g8", {"h7g8", "h7h8"});
    engine.Set("d5g8 h7h8", {Score::Cp(600), Score::Cp(-100)}, "f2f8");
    engine.Set("d5g8 h7h8 f2f8", {Score::Cp(-600)}, "h8h7");
    const RecordText record{"tactics", 1, "8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1", "w", "d5-g8 h7-h8 f2-f8", "text", "hint"};
    for (const long long nodes : {4000000LL, 8000000LL}) {
        std::vector<std::string> notes;
        bool replyFault = false;
        for (const std::string& p : JudgeAtBudget(record, nodes, engine.AsAnalyser(), notes).problems)
            replyFault = replyFault || p.find("reply") != std::string::npos;
        EXPECT_EQ(replyFault, nodes == kTacticsLargestBudget) << nodes;
    }
}

// A one-move strategy record judged at each budget by an engine that sees the margin differently at each.
TEST(VerifyBudgets, EachBudgetKeepsItsOwnVerdict)
{
    const RecordText record{"strategy", 1, "6k1/5ppp/8/8/8/8/5PPP/R5K1", "w", "a1-a7", "text", "hint"};
    struct Row { long long nodes; int second; bool searched, sound; };  // the second choice against 60 for a1-a7
    for (const Row& row : {Row{2000000, 21, true, false}, Row{4000000, 20, true, true}, Row{16000000, 20, true, true}}) {
        ScriptedEngine engine;
        engine.Set("", {Score::Cp(60), Score::Cp(row.second)}, "a1a7");
        engine.Set("a1a7", {Score::Cp(-60)}, "g8f8");
        std::vector<std::string> notes;
        const BudgetVerdict verdict = JudgeAtBudget(record, row.nodes, engine.AsAnalyser(), notes);
        EXPECT_EQ(verdict.searched, row.searched);
        bool engineFault = false;
        for (const std::string& p : verdict.problems)
            engineFault = engineFault || p.find("second choice") != std::string::npos;
        EXPECT_EQ(engineFault, !row.sound) << row.nodes;
    }
    // A tactics record is not searched beyond 8,000,000 nodes.
    ScriptedEngine none;
    std::vector<std::string> notes;
    const RecordText tactic{"tactics", 1, "6k1/5ppp/8/8/8/8/5PPP/R5K1", "w", "a1-a8", "text", "hint"};
    EXPECT_FALSE(JudgeAtBudget(tactic, 16000000, none.AsAnalyser(), notes).searched);
    EXPECT_EQ(none.calls, 0);
    EXPECT_TRUE(JudgeAtBudget(tactic, 8000000, none.AsAnalyser(), notes).searched);
}

// After the last user move: a mate in three or fewer where every mating move is the only mate is the line's point;
// another mate, a longer one or a defence that holds leave the line as it is.
TEST(OnlyMateAfter, FindsTheForcedFinishOnly)
{
    const auto root = *Position::FromFen("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1");
    struct Row { Score defence, first, second; std::vector<std::string> finish; };
    const Row rows[] = {
        {Score::MateIn(-1), Score::MateIn(1), Score::Cp(300), {"g8h8", "a7a8"}},
        {Score::MateIn(-1), Score::MateIn(1), Score::MateIn(2), {}},  // a second mate
        {Score::MateIn(-4), Score::MateIn(1), Score::Cp(300), {}},    // beyond three moves
        {Score::Cp(-900), Score::MateIn(1), Score::Cp(300), {}},
    };
    for (const Row& row : rows) {
        ScriptedEngine engine;
        engine.Set("a1a7", {row.defence}, "g8h8");
        engine.Set("a1a7 g8h8", {row.first, row.second}, "a7a8");
        EXPECT_EQ(OnlyMateAfter(root, {"a1a7"}, engine.AsAnalyser()), row.finish) << row.defence.Text();
    }
    ScriptedEngine two;  // mate in two: the defender's reply, the only mate, then the finish
    two.Set("a1a7", {Score::MateIn(-2)}, "g8h8");
    two.Set("a1a7 g8h8", {Score::MateIn(2), Score::Cp(50)}, "a7b7");
    two.Set("a1a7 g8h8 a7b7", {Score::MateIn(-1)}, "h8g8");
    two.Set("a1a7 g8h8 a7b7 h8g8", {Score::MateIn(1), Score::Cp(50)}, "b7b8");
    EXPECT_EQ(OnlyMateAfter(root, {"a1a7"}, two.AsAnalyser()),
              (std::vector<std::string>{"g8h8", "a7b7", "h8g8", "b7b8"}));
}

// A tactics line that stops before an only mate is judged at the largest budget; a strategy test must leave the user
// at -100 or better after the first move, judged at 8,000,000 nodes.
TEST(VerifyBudgets, TheFinishAndTheStandingAreJudgedAtTheirBudgets)
{
    ScriptedEngine mate;
    mate.Set("", {Score::Cp(900), Score::Cp(0)}, "a1a7");
    mate.Set("a1a7", {Score::MateIn(-1)}, "g8h8");
    mate.Set("a1a7 g8h8", {Score::MateIn(1), Score::Cp(300)}, "a7a8");
    const RecordText tactic{"tactics", 1, "6k1/5ppp/8/8/8/8/5PPP/R5K1", "w", "a1-a7", "text", "hint"};
    for (const long long nodes : {4000000LL, 8000000LL}) {
        std::vector<std::string> notes;
        const auto problems = JudgeAtBudget(tactic, nodes, mate.AsAnalyser(), notes).problems;
        const bool stopsShort = !problems.empty() && problems[0].find("only mate in 1 (g8h8 a7a8)") != std::string::npos;
        EXPECT_EQ(stopsShort, nodes == kTacticsLargestBudget) << nodes;
    }
    const RecordText strategy{"strategy", 1, "6k1/5ppp/8/8/8/8/5PPP/R5K1", "w", "a1-a7", "text", "hint"};
    struct Row { long long nodes; int stands; bool refused; };
    for (const Row row : {Row{8000000, -101, true}, Row{8000000, -100, false}, Row{4000000, -150, false}}) {
        ScriptedEngine engine;
        engine.Set("", {Score::Cp(row.stands), Score::Cp(row.stands - 60)}, "a1a7");
        engine.Set("a1a7", {Score::Cp(-row.stands)}, "g8f8");
        std::vector<std::string> notes;
        const auto problems = JudgeAtBudget(strategy, row.nodes, engine.AsAnalyser(), notes).problems;
        EXPECT_EQ(!problems.empty() && problems[0].find("stands below -100") != std::string::npos, row.refused)
            << row.nodes << " " << row.stands;
    }
    // A start already decided is named as such, whatever the margin.
    ScriptedEngine decided;
    decided.Set("", {Score::Cp(305), Score::Cp(71)}, "a1a7");
    std::vector<std::string> notes;
    const auto problems = JudgeAtBudget(strategy, 4000000, decided.AsAnalyser(), notes).problems;
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0], "the start is already decided (cp 305 vs cp 71; a strategy test starts within 300 cp)");
}

TEST(VerifyBudgets, ReadsAListOfBudgets)
{
    EXPECT_EQ(ReadBudgets("2000000,16000000"), (std::vector<long long>{2000000, 16000000}));
    EXPECT_THROW(ReadBudgets("2000000,x"), std::invalid_argument);
    EXPECT_THROW(ReadBudgets(""), std::invalid_argument);
    EXPECT_EQ(ReadBudgets("1"), std::vector<long long>{1});
    EXPECT_THROW(ReadBudgets("0"), std::invalid_argument);
}

TEST(LineBuildingOnBoard, MateEndsTheLineWithoutAskingForAReply)
{
    ScriptedEngine engine;
    engine.Set("", {Score::MateIn(1), Score::Cp(0)}, "a1a8");
    const auto root = *Position::FromFen("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
    const auto line = BuildLine(TaskKind::Tactic, root, 13, engine.AsAnalyser());
    ASSERT_TRUE(line);
    ASSERT_EQ(line->steps.size(), 1u);
    EXPECT_TRUE(line->steps[0].mateOnBoard);
    EXPECT_EQ(engine.calls, 1);
    EXPECT_EQ(CheckLine(TaskKind::Tactic, root, {"a1a8"}, engine.AsAnalyser()), "");
    const auto after = WalkLine(TaskKind::Tactic, root, {"a1a8", "g8h8"}, engine.AsAnalyser());
    EXPECT_NE(after.problem.find("goes on after"), std::string::npos) << after.problem;
}

// An engine asked for two lines gives one where there is one legal move; the second answer keeps a stale second line
// in the storage behind the one it gives, as a reused buffer would. A winning only move is still no test.
TEST(LineBuildingOnBoard, OnlyLegalMoveIsNoTest)
{
    const auto root = *Position::FromFen("8/8/8/8/8/5k2/7q/7K w - - 0 1");
    ScriptedEngine level;
    level.Set("", {Score::Cp(0)}, "h1g1");
    EXPECT_EQ(root.LegalMoves().size(), 1u);
    EXPECT_FALSE(BuildLine(TaskKind::Draw, root, 13, level.AsAnalyser()));
    ScriptedEngine engine;
    engine.Set("", {Score::Cp(900), Score::Cp(-300)}, "h1h2");
    engine.Set("h1h2", {Score::Cp(-900)}, "f3f2");
    const Analyser scripted = engine.AsAnalyser();
    const Analyser oneLine = [&](const std::string& fen, const std::vector<std::string>& moves, int multiPv,
                                 EngineAnswer& out) {
        const bool ok = scripted(fen, moves, multiPv, out);
        if (moves.empty())
            out.scores.resize(1);
        return ok;
    };
    EXPECT_FALSE(BuildLine(TaskKind::Tactic, root, 13, oneLine));
    // A reply search that fails ends the line there, whatever the engine wrote before it failed.
    const Analyser failsOnReply = [&](const std::string& fen, const std::vector<std::string>& moves, int multiPv,
                                      EngineAnswer& out) { return scripted(fen, moves, multiPv, out) && moves.empty(); };
    EXPECT_FALSE(BuildLine(TaskKind::Tactic, root, 13, failsOnReply));
    // Walking a line reads no second choice there either.
    const std::string problem = WalkLine(TaskKind::Strategy, root, {"h1h2"}, oneLine).problem;
    EXPECT_NE(problem.find("(cp 900 vs none;"), std::string::npos) << problem;
}

// A user move is searched for two lines (is it clear of the second?), a reply for one: a second line would halve the
// reply's search at the same node count. Building and re-checking ask alike.
TEST_F(LineBuilding, RepliesAreSearchedForOneLine)
{
    const Analyser scripted = engine.AsAnalyser();
    std::map<bool, std::set<int>> asked;  // the user to move -> lines asked for
    const Analyser recording = [&](const std::string& fen, const std::vector<std::string>& moves, int multiPv,
                                   EngineAnswer& out) {
        asked[moves.size() % 2 == 0].insert(multiPv);
        return scripted(fen, moves, multiPv, out);
    };
    ASSERT_TRUE(BuildLine(TaskKind::Tactic, root, 13, recording));
    EXPECT_EQ(CheckLine(TaskKind::Tactic, root, {"d5g8", "h7g8", "f2f8"}, recording), "");
    EXPECT_EQ(asked, (std::map<bool, std::set<int>>{{true, {2}}, {false, {1}}}));
}

// At their limits, against an engine that always has a clear first choice: the
// first legal move, far ahead of the second.
bool ClearChoice(const std::string& fen, const std::vector<std::string>& moves, int, EngineAnswer& out)
{
    Position p = *Position::FromFen(fen);
    for (const std::string& m : moves)
        p.Play(*p.ParseUci(m));
    out = {};
    for (const auto& m : p.LegalMoves())
        out.moves.push_back(Position::Uci(m));
    out.bestMove = out.moves.empty() ? "(none)" : out.moves.front();
    out.pv = {out.bestMove};
    const bool user = moves.size() % 2 == 0;
    out.scores = {Score::Cp(user ? 900 : -900), Score::Cp(user ? 0 : -950)};
    return true;
}

TEST(LineBuildingOnBoard, TakesAsManyTokensAsAllowedAndNamesAMoveThatIsNotLegal)
{
    const Position root = *Position::FromFen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
    for (int tokens : {1, 3, 5, 7, 4}) {  // an even limit leaves the last reply out
        const auto line = BuildLine(TaskKind::Tactic, root, tokens, ClearChoice);
        ASSERT_TRUE(line) << tokens;
        EXPECT_EQ(static_cast<int>(line->moves.size()), tokens - 1 + tokens % 2) << tokens;
        EXPECT_EQ(static_cast<int>(line->steps.size()), (tokens + 1) / 2) << tokens;
    }
    const std::string first = Position::Uci(root.LegalMoves().front());
    EXPECT_EQ(WalkLine(TaskKind::Tactic, root, {"a1a9"}, ClearChoice, false).problem, "move 1 a1a9 is illegal");
    const LineWalk walk = WalkLine(TaskKind::Tactic, root, {first, "e1e2"}, ClearChoice, false);
    EXPECT_EQ(walk.problem, "move 2 e1e2 is illegal");
    EXPECT_EQ(walk.steps.size(), 1u);
}

} // namespace

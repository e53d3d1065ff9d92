// From candidates to records: the stored form, names, headers, tokens, hints.
#include "Words.h"
#include "Candidate.h"
#include "Commands.h"
#include "Hints.h"
#include "Plan.h"
#include "ScriptedEngine.h"
#include "Select.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

Candidate Sample()
{
    Candidate c;
    c.kind = TaskKind::Tactic;
    c.gameId = "masters-1950-1959.pgn#12";
    c.ply = 40;
    c.white = "Pilnik, Herman";
    c.black = "Euwe, Max";
    c.year = 1950;
    c.event = "Amsterdam";
    c.fen = "8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w - - 0 1";
    c.gameMove = "d5g8";
    c.line.moves = {"d5g8", "h7g8", "f2f8"};
    c.line.steps = {{Score::Cp(557), Score::Cp(-314), Score::Cp(120), false, false},
                    {Score::MateIn(9), std::nullopt, Score::Cp(600), false, false}};
    c.line.continuation = {"g8h7", "e7e8q"};
    return c;
}

TEST(CandidateFormat, RoundTripAndDamagedLines)
{
    Candidate c = Sample();
    const auto back = ParseCandidate(FormatCandidate(c));
    ASSERT_TRUE(back);
    EXPECT_EQ(FormatCandidate(*back), FormatCandidate(c));
    EXPECT_EQ(back->line.steps[1].best, Score::MateIn(9));
    EXPECT_FALSE(back->line.steps[1].second);
    EXPECT_EQ(back->line.continuation.size(), 2u);
    // Tabs in names cannot break the line.
    c.event = "Odd\tEvent\nName";
    const auto odd = ParseCandidate(FormatCandidate(c));
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->event, "Odd Event Name");
    // Damaged lines are refused.
    const std::string text = FormatCandidate(Sample());
    EXPECT_FALSE(ParseCandidate(text.substr(0, text.size() / 2)));
    EXPECT_FALSE(ParseCandidate("X" + text.substr(1)));
    // A line whose move count does not fit its steps.
    c = Sample();
    c.line.moves.pop_back();
    EXPECT_FALSE(ParseCandidate(FormatCandidate(c)));
    EXPECT_FALSE(ParseScore("c12x"));
    EXPECT_FALSE(ParseScore("x12"));
    EXPECT_EQ(ParseScore("m-3"), Score::MateIn(-3));
}

TEST(EndLengths, OnlyWhereTheLineHasReachedItsPoint)
{
    // The first step leaves only +1.2; after the third the bishop is gone for nothing, though the engine sees a queen.
    EXPECT_TRUE(EndLengths(Sample()).empty());
    Candidate c = Sample();
    c.line.steps[0].after = Score::Cp(450);
    EXPECT_EQ(EndLengths(c), std::vector<int>{1});
    // A firm walk that held only for the first move limits the ends to it, and its own score must allow the end too.
    c.line.steps[1].after = Score::MateIn(3);
    c.firmChecked = true;
    c.firm = {c.line.steps[0]};
    EXPECT_EQ(EndLengths(c), std::vector<int>{1});
    c.firm[0].after = Score::Cp(150);
    EXPECT_TRUE(EndLengths(c).empty());
    const auto back = ParseCandidate(FormatCandidate(c));
    ASSERT_TRUE(back && back->firmChecked);
    EXPECT_EQ(back->firm.size(), 1u);
    EXPECT_EQ(back->firm[0].after, Score::Cp(150));
    // A strategy line whose user stands below -1.00 after the first move at the firm count has no end.
    c.kind = TaskKind::Strategy;
    c.line.steps[0] = c.firm[0] = {Score::Cp(20), Score::Cp(-40), Score::Cp(-100), false, false};
    EXPECT_EQ(EndLengths(c), std::vector<int>{1});
    c.firm[0].after = Score::Cp(-101);
    EXPECT_TRUE(EndLengths(c).empty());
    c.firm[0].after = c.line.steps[0].after, c.line.steps[0].after = Score::Cp(-300);
    EXPECT_EQ(EndLengths(c), std::vector<int>{1});
}

// A firm walk keeps its node counts; a line not walked at every count its
// kind asks is walked again, unless its position is a record of the edition
// in force.
TEST(ForPlanning, AFirmWalkCountsOnlyAtTheCountsItWasMadeAt)
{
    Candidate c = Sample();
    c.firmChecked = true;
    c.firm = {c.line.steps[0]};
    const std::string legacy = FormatCandidate(c);
    c.firmBudgets = {2000000, 4000000, 8000000};
    const std::string text = FormatCandidate(c);
    EXPECT_EQ(text, legacy + "\t2000000,4000000,8000000");
    const auto back = ParseCandidate(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->firmBudgets, c.firmBudgets);
    EXPECT_TRUE(ParseCandidate(legacy)->firmBudgets.empty());
    EXPECT_EQ(ParseCandidate(legacy + "\t16000000")->firmBudgets, std::vector<long long>{16000000});
    for (const char* bad : {"16M", "0", "4000000,2000000", "2000000,2000000", "2000000,,4000000", ""})
        EXPECT_FALSE(ParseCandidate(legacy + "\t" + bad)) << bad;

    // Tactics are searched up to 8M, strategy up to 16M.
    const std::vector<long long> all{16000000, 2000000, 8000000, 4000000, 2000000};
    EXPECT_EQ(FirmBudgetsFor(TaskKind::Tactic, all), (std::vector<long long>{2000000, 4000000, 8000000}));
    EXPECT_EQ(FirmBudgetsFor(TaskKind::Strategy, all), (std::vector<long long>{2000000, 4000000, 8000000, 16000000}));
    EXPECT_EQ(FirmBudgetsFor(TaskKind::Draw, {32000000, 16000000}), std::vector<long long>{16000000});

    Candidate other = Sample();
    other.kind = TaskKind::Strategy;
    other.gameId = "masters-1950-1959.pgn#13";
    other.fen = "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1";
    other.firmChecked = true;
    other.firm = {other.line.steps[0]};
    const std::map<std::string, Candidate> stored{{KeyOf(c), c}, {KeyOf(other), other}};
    auto walked = [](const std::vector<Candidate>& list, const std::string& gameId) {
        for (const Candidate& x : list)
            if (x.gameId == gameId)
                return x.firmChecked && !x.firm.empty();
        ADD_FAILURE() << gameId << " missing";
        return false;
    };
    // The older walk counts as made at 8,000,000 alone.
    auto plan = ForPlanning(stored, {8000000}, {});
    EXPECT_TRUE(walked(plan, c.gameId) && walked(plan, other.gameId));
    plan = ForPlanning(stored, all, {});
    EXPECT_TRUE(walked(plan, c.gameId));
    EXPECT_FALSE(walked(plan, other.gameId));
    // A walk at a larger count does not stand for a smaller one.
    plan = ForPlanning(stored, {1000000, 8000000}, {});
    EXPECT_FALSE(walked(plan, c.gameId) || walked(plan, other.gameId));
    // A record of the edition keeps its walk; the side to move is part of the match.
    RecordText record{"strategy", 1, "6k1/5ppp/8/8/8/8/5PPP/R5K1", "b", "", "", ""};
    EXPECT_FALSE(walked(ForPlanning(stored, all, {record}), other.gameId));
    record.side = "w";
    EXPECT_TRUE(walked(ForPlanning(stored, all, {record}), other.gameId));
}

// A chosen line is walked at each firm count in turn: only the ends that held
// at every count remain, each step is the worse sight of it, a larger count
// walks only what still may end, and replies are judged at the last count.
TEST(WalkFirm, KeepsOnlyWhatHeldAtEveryCount)
{
    Candidate c = Sample();
    c.kind = TaskKind::Strategy;
    c.line.steps = {{Score::Cp(60), Score::Cp(0), Score::Cp(50), false, false},
                    {Score::Cp(80), Score::Cp(20), Score::Cp(70), false, false}};
    ASSERT_EQ(EndLengths(c), (std::vector<int>{1, 3}));
    const auto root = fullchess::Position::FromFen(c.fen);
    ASSERT_TRUE(root);
    // At 2M the engine would reply otherwise: a reply is not judged there.
    ScriptedEngine two, four, eight;
    for (ScriptedEngine* e : {&two, &four, &eight}) {
        e->Set("", {Score::Cp(60), Score::Cp(0)}, "d5g8");
        e->Set("d5g8", {Score::Cp(-50)}, "h7g8");
        e->Set("d5g8 h7g8", {Score::Cp(80), Score::Cp(20)}, "f2f8");
        e->Set("d5g8 h7g8 f2f8", {Score::Cp(-70)}, "g8h7");
    }
    two.Set("d5g8", {Score::Cp(-50)}, "h7h8");
    four.Set("d5g8 h7g8", {Score::Cp(80), Score::Cp(50)}, "f2f8");  // move 3 no longer clear at 4M
    eight.Set("", {Score::Cp(70), Score::Cp(25)}, "d5g8");          // move 1 narrower at 8M
    eight.Set("d5g8", {Score::Cp(-60)}, "h7g8");
    Candidate walked = c;
    WalkFirm(walked, *root, {{2000000, two.AsAnalyser()}, {4000000, four.AsAnalyser()}, {8000000, eight.AsAnalyser()}});
    EXPECT_EQ(two.calls, 4);
    EXPECT_EQ(four.calls, 3);
    EXPECT_EQ(eight.calls, 2);  // the first move and its reply only
    EXPECT_TRUE(walked.firmChecked);
    EXPECT_EQ(walked.firmBudgets, (std::vector<long long>{2000000, 4000000, 8000000}));
    ASSERT_EQ(walked.firm.size(), 1u);
    EXPECT_EQ(walked.firm[0].best, Score::Cp(70));
    EXPECT_EQ(walked.firm[0].after, Score::Cp(60));
    EXPECT_EQ(EndLengths(walked), std::vector<int>{1});
    const auto back = ParseCandidate(FormatCandidate(walked));
    ASSERT_TRUE(back);
    EXPECT_EQ(EndLengths(*back), std::vector<int>{1});

    // A start that drifts over the window at the middle count leaves no end,
    // and the largest count is not asked at all.
    ScriptedEngine drift = four, last = eight;
    drift.Set("", {Score::Cp(310), Score::Cp(100)}, "d5g8");
    drift.calls = last.calls = 0;
    walked = c;
    WalkFirm(walked, *root, {{2000000, two.AsAnalyser()}, {4000000, drift.AsAnalyser()}, {16000000, last.AsAnalyser()}});
    EXPECT_TRUE(walked.firmChecked && walked.firm.empty());
    EXPECT_TRUE(EndLengths(walked).empty());
    EXPECT_EQ(last.calls, 0);
    EXPECT_EQ(walked.firmBudgets, (std::vector<long long>{2000000, 4000000, 16000000}));

    // The user standing below -1.00 after the first move at one count is
    // kept over a narrower margin seen at another.
    ScriptedEngine low = four;
    low.Set("d5g8", {Score::Cp(101)}, "h7g8");
    low.Set("", {Score::Cp(60), Score::Cp(10)}, "d5g8");
    walked = c;
    WalkFirm(walked, *root, {{2000000, low.AsAnalyser()}, {8000000, eight.AsAnalyser()}});
    ASSERT_FALSE(walked.firm.empty());
    EXPECT_EQ(walked.firm[0].after, Score::Cp(-101));
    EXPECT_TRUE(EndLengths(walked).empty());
}

// The header's frame and length; the solution's tokens, captures marked, the line cut.
TEST(RecordFields, HeaderAndTokens)
{
    const std::string header = MakeHeader("NN", "NN", 0);
    EXPECT_EQ(header, "[White \"NN\"]\r\n[Black \"NN\"]\r\n[EventDate \"0000\"]");
    const std::string fen = Sample().fen;
    EXPECT_EQ(TokensOf(fen, Sample().line.moves, 3), "d5-g8 h7:g8 f2-f8");
    EXPECT_EQ(TokensOf(fen, Sample().line.moves, 1), "d5-g8");
    EXPECT_EQ(TokensOf(fen, {"d5g9"}, 1), "");
}

Candidate Line(TaskKind kind, const char* fen, std::vector<std::string> moves, std::vector<std::string> continuation = {})
{
    Candidate c;
    c.kind = kind;
    c.fen = fen;
    c.line.moves = std::move(moves);
    c.line.continuation = std::move(continuation);
    c.ply = 50;
    for (std::size_t i = 0; i < c.line.moves.size(); i += 2)
        c.line.steps.push_back({Score::Cp(500), Score::Cp(0), Score::Cp(500), false, false});
    return c;
}

// Whether a hint offered for the line cut to `tokens` says `text`.
bool Offered(const Candidate& c, int tokens, const std::string& text)
{
    for (const Hint& h : HintVariants(c, tokens, false))
        if (h.text.find(text) != std::string::npos)
            return true;
    return false;
}

// A mate with a sacrifice on the back rank, a knight fork with its targets and a stalemate forced by the only reply:
// each read from the line and named by its hints.
TEST(Story, MateForkAndStalemateAreReadAndNamed)
{
    // Qd8+ Rxd8 Rxd8#: the queen is given for a mate on the back rank.
    const Candidate mate = Line(TaskKind::Tactic, "2r3k1/5ppp/8/8/3Q4/8/5PPP/3R2K1 w - - 0 1", {"d4d8", "c8d8", "d1d8"});
    const LineStory story = ReadStory(mate, 3);
    EXPECT_EQ(story.end, LineEnd::Mate);
    EXPECT_TRUE(story.mates && story.backRank && story.sacrifice);
    // A sacrifice leaves the user two points down on the move and on the start: a bishop given back out of a rook
    // just won is none, the same bishop given from a rook up is one.
    const std::vector<std::string> giveBack = {"a1a8", "e8f7", "g4e6", "f7e6", "a8a6"};
    EXPECT_FALSE(ReadStory(Line(TaskKind::Tactic, "r3k3/8/8/8/6B1/8/8/R5K1 w - - 0 1", giveBack), 5).sacrifice);
    EXPECT_TRUE(ReadStory(Line(TaskKind::Tactic, "4k3/8/8/8/6B1/8/8/R5K1 w - - 0 1", giveBack), 5).sacrifice);
    EXPECT_EQ(story.matingKind, fullchess::Rook);
    const auto hints = HintVariants(mate, 3, false);
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.front().text, kHintMateWithSacrifice);
    for (const Hint& h : hints)
        EXPECT_TRUE(HintProblems(h.text, *fullchess::Position::FromFen(mate.fen), mate.line.moves).empty()) << h.text;
    // Cut after the first move the line has not reached its point: no mate hint.
    for (const Hint& h : HintVariants(mate, 1, false))
        EXPECT_EQ(h.text.find("в 2 хода"), std::string::npos) << h.text;
    EXPECT_FALSE(ReadStory(mate, 1).backRank);  // Qd8+ stands on the back rank, but mates nobody
    const Candidate fork = Line(TaskKind::Tactic, "r3k3/8/8/1N6/8/8/8/4K3 w - - 0 1", {"b5c7"}, {"e8d7", "c7a8"});
    const auto motifs = ReadStory(fork, 1).motifs;
    EXPECT_NE(std::find(motifs.begin(), motifs.end(), Motif::Fork), motifs.end());
    bool named = false;
    for (const Hint& h : HintVariants(fork, 1, false)) {
        named = named || h.text == "Двойной удар по королю черных на e8 и ладье черных на a8.";
        EXPECT_TRUE(HintProblems(h.text, *fullchess::Position::FromFen(fork.fen), fork.line.moves).empty()) << h.text;
    }
    EXPECT_TRUE(named);
    // A knight move that attacks nothing is no fork.
    const auto quiet = ReadStory(Line(TaskKind::Tactic, "r3k3/8/8/8/8/8/3N4/4K3 w - - 0 1", {"d2c4"}, {"e8d7", "c4b6"}), 1);
    EXPECT_EQ(std::find(quiet.motifs.begin(), quiet.motifs.end(), Motif::Fork), quiet.motifs.end());
    // Rg8+ leaves Kxg8 as Black's only move, and White is stalemated.
    const Candidate stalemate = Line(TaskKind::Draw, "7k/7p/8/8/8/8/2q5/K5R1 w - - 0 1", {"g1g8"}, {"h8g8"});
    EXPECT_TRUE(ReadStory(stalemate, 1).stalemate);
    EXPECT_EQ(HintVariants(stalemate, 1, true).front().text, kHintStalemate);
}

// Texts some hint for the whole line says (`said`) and texts no hint says (`unsaid`).
TEST(Story, WhatTheHintsSayAndLeaveUnsaid)
{
    const auto T = TaskKind::Tactic, S = TaskKind::Strategy;
    struct Row { const char* name; TaskKind kind; const char* fen; const char* moves; const char* continuation;
                 std::vector<std::string> said, unsaid; };
    const Row rows[] = {
        // Devices decided by what the move is; those with a guard against giving the move away have their rows in
        // HintCatalogueTest. A pawn that meets an enemy pawn is a break, not a space gain (c2-c4 is a second one).
        {"a lever", S, "6k1/pp3ppp/8/3pp3/8/1P4P1/P1P2P1P/6K1 w - - 0 1", "f2f4", "", {}, {"пространств"}},
        // Nd6-b7 leaves the bishop on a8 one move; a check takes every piece's moves for a turn, restricting nothing.
        {"a bishop restricted", S, "b5k1/5ppp/3N4/8/8/8/5PPP/6K1 w - - 0 1", "d6b7", "", {"Лишите слона черных на a8 полезных ходов."}, {}},
        {"a check restricts nothing", S, "b5k1/5pp1/3N4/8/8/8/5PPP/4R1K1 w - - 0 1", "e1e8", "", {}, {"Лишите"}},
        {"a rook already on the seventh does not invade", S, "6k1/1R3ppp/8/8/8/8/5PPP/6K1 w - - 0 1", "b7e7", "",
         {"Ладья на седьмой горизонтали сковывает соперника."}, {"Вторгнитесь"}},
        // Qc2+ Rd2 Qxa4 Qxa4 Nxa4: the queens come off, the rook on a4 is the gain.
        {"the gain after a trade", T, "2k3rr/1pp5/1n1P2q1/1Q2p3/R5P1/2P5/PP2K2p/3R3B b - - 0 1", "g6c2 d1d2 c2a4 b5a4 b6a4", "",
         {"выигрывает ладью белых"}, {"ферзя белых"}},
        // A single capture wins the queen: no combination, and naming the queen names the capture.
        {"a single capture", T, "3r2rk/ppN1q1b1/2n3Pp/8/3p1B2/6P1/PPP5/3QR1K1 w - - 0 1", "e1e7", "", {}, {"ферзя черных", "Комбинация"}},
        // A king far from the pawn's path cannot catch it; the c-pawn is passed too, so that the race does not name
        // the push. Without it the push of the only passed pawn is the move: neither the race nor the pawn is named.
        {"a race", T, "8/8/8/P5p1/6P1/8/2P4k/K7 w - - 0 1", "a5a6 h2g3 a6a7", "g3f4 a7a8q",
         {"Король черных на h2 не успевает догнать проходную пешку."}, {}},
        {"the only passed pawn", T, "8/8/8/P5p1/6P1/8/7k/K7 w - - 0 1", "a5a6 h2g3 a6a7", "g3f4 a7a8q", {},
         {"не успевает", "Проходной пешке", "Проведите пешку в ферзи."}},
        // Two squares from the path is a tempo short: Kc4-b5-b6 comes too late.
        {"a tempo short", T, "8/8/8/P5p1/2k3P1/8/4P3/K7 w - - 0 1", "a5a6 c4b5 a6a7", "b5b6 a7a8q",
         {"Король черных на c4 не успевает догнать проходную пешку."}, {}},
        // Rf6 gxf6 Bh6+ Rg7 B:g7+ Ke7 B:f6+: the bishop and the rook on h7 both check.
        {"a double check", T, "2b2knQ/r2r2pR/2q1p2R/1p3pB1/6P1/2P5/P1Pp4/3K4 w - - 0 1", "h6f6 g7f6 g5h6 d7g7 h6g7 f8e7 g7f6", "",
         {"двойного шаха"}, {}},
        {"no double check yet", T, "2b2knQ/r2r2pR/2q1p2R/1p3pB1/6P1/2P5/P1Pp4/3K4 w - - 0 1", "h6f6 g7f6 g5h6", "", {}, {"двойн"}},
    };
    for (const Row& row : rows) {
        const Candidate c = Line(row.kind, row.fen, Words(row.moves), Words(row.continuation));
        for (const std::string& text : row.said)
            EXPECT_TRUE(Offered(c, static_cast<int>(c.line.moves.size()), text)) << row.name << ": " << text;
        for (const std::string& text : row.unsaid)
            EXPECT_FALSE(Offered(c, static_cast<int>(c.line.moves.size()), text)) << row.name << ": " << text;
    }
    const Candidate lever = Line(S, rows[0].fen, {"f2f4"});
    EXPECT_TRUE(Offered(lever, 1, "одрыв") || Offered(lever, 1, "прорыв"));
    // One beside the path is beaten by something else, here by the capture g7:f8.
    const Candidate beside = Line(T, "5r1k/2Q5/2b1p1RP/8/p7/1Pq5/P1P5/1K6 w - - 0 1", {"c7g7", "c3g7", "h6g7"}, {"h8g8", "g7f8q"});
    EXPECT_TRUE(ReadStory(beside, 3).promotes);
    EXPECT_FALSE(Offered(beside, 3, "не успевает догнать"));
    // e6-e7 hits queen and rook: the pawn queens by taking, which is no race.
    const Candidate fork = Line(T, "r1bqnr1k/p5p1/1p2Ppp1/4pN2/3n4/4B3/PPP3PP/R2Q1RK1 w - - 0 1", {"e6e7"}, {"e8d6", "e7d8q"});
    EXPECT_TRUE(ReadStory(fork, 1).promoterCaptures);
    EXPECT_FALSE(Offered(fork, 1, "не успевает догнать"));
    // A capture that leaves a passed pawn is no push (its guard rows are in HintCatalogueTest).
    EXPECT_FALSE(ReadStory(Line(T, "r7/1kp5/1p5p/1QR1p3/6P1/4q1B1/P2r2PP/2R4K b - - 0 1", {"e3c5", "b5c5", "b6c5"}), 3).pushesPassed);
}

TEST(HintProblems, WhatAHintMayNotSay)
{
    // Black to move; the first move is Re3-e1+ (the rook has many moves, the king two).
    const auto root = *fullchess::Position::FromFen("8/8/1P6/8/6p1/4rkP1/7P/1R4K1 b - - 0 1");
    const std::vector<std::string> moves{"e3e1"};
    EXPECT_TRUE(HintProblems("Ладья белых на b1 перегружена.", root, moves).empty());
    EXPECT_FALSE(HintProblems("Все решает поле e1.", root, moves).empty());              // the first move's square
    EXPECT_FALSE(HintProblems("Ферзь белых на b1 перегружен.", root, moves).empty());    // no queen there
    EXPECT_FALSE(HintProblems("Все решает король.", root, moves).empty());               // Kf3 has two moves
    EXPECT_TRUE(HintProblems("Все решает ладья.", root, moves).empty());                 // the rook has many
    EXPECT_FALSE(HintProblems("Мат в 2 хода.", root, moves).empty());                    // no mate at all
    EXPECT_EQ(HintProblems("Мат ферзем в 2 хода.", root, moves).size(), 1u);             // only that
    const auto mateRoot = *fullchess::Position::FromFen("2r3k1/5ppp/8/8/3Q4/8/5PPP/3R2K1 w - - 0 1");
    const std::vector<std::string> mate{"d4d8", "c8d8", "d1d8"};
    EXPECT_TRUE(HintProblems("Мат ладьей в 2 хода.", mateRoot, mate).empty());
    EXPECT_FALSE(HintProblems("Мат ферзем в 2 хода.", mateRoot, mate).empty());
    EXPECT_FALSE(HintProblems("Мат в 3 хода.", mateRoot, mate).empty());
    // Queening is said of a passed pawn on the fifth rank or beyond.
    for (const auto& [fen, far] : {std::pair{"4k3/8/8/4P3/8/8/P7/4K3 w - - 0 1", true}, {"4k3/8/8/8/4P3/8/P7/4K3 w - - 0 1", false}})
        EXPECT_EQ(HintProblems(kHintQueenThePawn, *fullchess::Position::FromFen(fen), {"e1d2"}).empty(), far) << fen;
}

TEST(Rules, HowALineEnds)
{
    const auto root = *fullchess::Position::FromFen("2r3k1/5ppp/8/8/3Q4/8/5PPP/3R2K1 w - - 0 1");
    const std::vector<std::string> line{"d4d8", "c8d8", "d1d8"};
    EXPECT_EQ(JudgeEnd(TaskKind::Tactic, ReplayLine(root, line, 3), Score::MateIn(1)), LineEnd::Mate);
    // After Qd8+ alone: nothing won yet, a decisive score, material level.
    EXPECT_EQ(JudgeEnd(TaskKind::Tactic, ReplayLine(root, line, 1), Score::Cp(500)), LineEnd::DecisiveEdge);
    EXPECT_EQ(JudgeEnd(TaskKind::Tactic, ReplayLine(root, line, 1), Score::Cp(299)), LineEnd::None);
    // The queen given and the rook not yet retaken: material worse, no point.
    EXPECT_EQ(JudgeEnd(TaskKind::Tactic, ReplayLine(root, {"d4d8", "c8d8", "g2g3"}, 3), Score::Cp(900)), LineEnd::None);
    // A strategy line that goes back and forth repeats a position.
    const auto ending = *fullchess::Position::FromFen("8/8/4k3/8/8/3K4/8/8 w - - 0 1");
    EXPECT_EQ(JudgeEnd(TaskKind::Strategy, ReplayLine(ending, {"d3d2", "e6e5", "d2d3", "e5e6", "d3d2"}, 5), Score::Cp(0)),
              LineEnd::Repeats);
    EXPECT_FALSE(EndIsPoint(TaskKind::Draw, LineEnd::None, Score::Cp(300)));  // a drawing line may not end a side ahead
    EXPECT_EQ(JudgeEnd(TaskKind::Strategy, ReplayLine(ending, {"d3d2", "e6e5", "d2d3"}, 3), Score::Cp(0)), LineEnd::Quiet);
    const StartFacts start = ReadStart(root, "d4d8");
    EXPECT_TRUE(start.firstMoveChecks);
    EXPECT_TRUE(start.AsksForThought());
    EXPECT_FALSE(ReadStart(*fullchess::Position::FromFen("8/8/8/8/8/5k2/7q/7K w - - 0 1"), "h1g1").AsksForThought());
}

TEST(Hints, EveryVariantReadsAsASentence)
{
    for (const Candidate& c : {Sample(), Line(TaskKind::Strategy, "6k1/pp3ppp/3p4/8/4P3/2N5/PP3PPP/6K1 w - - 0 1", {"c3d5"})})
        for (const auto& hint : HintVariants(c, 3, false)) {
            EXPECT_GE(hint.text.size(), 13u) << hint.text;
            EXPECT_TRUE(hint.text.back() == '.' || hint.text.back() == '!') << hint.text;
        }
}

// Growing the confirmed lines with the fake engine: every line is tried once, whatever the number of workers (the
// fake's moves do not fit the board, so nothing grows).
TEST(Select, ExtendTriesEachConfirmedLineWithAnyNumberOfJobs)
{
    const auto dir = std::filesystem::temp_directory_path() / ("select-" + std::to_string(::getpid()));
    for (const char* jobs : {"1", "2"}) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "confirmed.tsv") << FormatCandidate(Sample()) << '\n';
        testing::internal::CaptureStderr();
        EXPECT_EQ(CommandSelect({"--mined", dir.string(), "--engine", FAKE_ENGINE, "--jobs", jobs, "--extend", "3"}), 0);
        const std::string log = testing::internal::GetCapturedStderr();
        std::ifstream tried(dir / "extended.tsv");
        std::string line;
        EXPECT_TRUE(std::getline(tried, line)) << jobs << " jobs: " << log;
        EXPECT_NE(line.find(" 11\t3 -> 3"), std::string::npos) << line;
        EXPECT_NE(log.find("grown 0 of 1/1"), std::string::npos) << log;
    }
    std::filesystem::remove_all(dir);
}

// With --max-confirm the command stops after that many confirmations (one line
// searched: the fake engine's moves do not fit it, so it is rejected) and
// writes no collection; without it, it plans again after the round and, with
// nothing more to ask for (the other line is the same position), writes what
// there is.
TEST(Select, StopsAfterTheConfirmationsAskedFor)
{
    const auto dir = std::filesystem::temp_directory_path() / ("select-stop-" + std::to_string(::getpid()));
    for (const bool limited : {true, false}) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "out");
        Candidate a = Sample(), b = Sample();
        a.gameId = "a.pgn#1";
        b.gameId = "b.pgn#2";
        std::ofstream(dir / "candidates-0of1.tsv") << FormatCandidate(a) << '\n' << FormatCandidate(b) << '\n';
        std::vector<std::string> args{"--mined", dir.string(), "--out", (dir / "out").string(), "--engine", FAKE_ENGINE,
                                      "--jobs", "1"};
        if (limited)
            args.insert(args.end(), {"--max-confirm", "1"});
        testing::internal::CaptureStderr();
        const int rc = CommandSelect(args);
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(rc, 3) << log;  // incomplete either way
        EXPECT_EQ(log.find("stopped after 1 confirmations") != std::string::npos, limited) << log;
        std::size_t searched = 0;
        for (const char* file : {"rejected.tsv", "confirmed.tsv"}) {
            std::ifstream in(dir / file);
            for (std::string line; std::getline(in, line);)
                searched += line.empty() ? 0 : 1;
        }
        EXPECT_EQ(searched, 1u) << log;
        EXPECT_EQ(std::filesystem::is_empty(dir / "out"), limited) << log;
    }
    std::filesystem::remove_all(dir);
}

} // namespace

// From candidates to records: the stored form, names, headers, tokens, hints.
#include "Candidate.h"
#include "Hints.h"
#include "Plan.h"
#include "Select.h"

#include <gtest/gtest.h>

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

TEST(CandidateFormat, RoundTrip)
{
    const Candidate c = Sample();
    const auto back = ParseCandidate(FormatCandidate(c));
    ASSERT_TRUE(back);
    EXPECT_EQ(FormatCandidate(*back), FormatCandidate(c));
    EXPECT_EQ(back->line.steps[1].best, Score::MateIn(9));
    EXPECT_FALSE(back->line.steps[1].second);
    EXPECT_EQ(back->line.continuation.size(), 2u);
}

TEST(CandidateFormat, RefusesDamagedLines)
{
    std::string text = FormatCandidate(Sample());
    EXPECT_FALSE(ParseCandidate(text.substr(0, text.size() / 2)));
    EXPECT_FALSE(ParseCandidate("X" + text.substr(1)));
    // A line whose move count does not fit its steps.
    Candidate c = Sample();
    c.line.moves.pop_back();
    EXPECT_FALSE(ParseCandidate(FormatCandidate(c)));
    EXPECT_FALSE(ParseScore("c12x"));
    EXPECT_FALSE(ParseScore("x12"));
    EXPECT_EQ(ParseScore("m-3"), Score::MateIn(-3));
}

TEST(CandidateFormat, TabsInNamesCannotBreakTheLine)
{
    Candidate c = Sample();
    c.event = "Odd\tEvent\nName";
    const auto back = ParseCandidate(FormatCandidate(c));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->event, "Odd Event Name");
}

TEST(EndLengths, OnlyWhereTheOutcomeAllowsAnEnd)
{
    // The first step leaves only +1.2: a one-token test would not be won yet.
    EXPECT_EQ(EndLengths(Sample()), std::vector<int>{3});
}

TEST(Header, PlayerFormsAndLength)
{
    EXPECT_EQ(FormatPlayer("Pilnik, Herman", true), "Pilnik, H.");
    EXPECT_EQ(FormatPlayer("Pilnik, Herman", false), "Pilnik");
    EXPECT_EQ(FormatPlayer("Anderssen", true), "Anderssen");
    EXPECT_EQ(FormatPlayer("Capablanca, Jose Raul ", true), "Capablanca, J.");
    EXPECT_EQ(FormatPlayer("Yates Frederick", true), "Yates, F.");
    EXPECT_EQ(FormatPlayer("Gruenfeld Ernst F", true), "Gruenfeld, E.");
    EXPECT_EQ(FormatPlayer("Torre Repetto Carlos (MEX)", true), "Torre Repetto, C.");
    EXPECT_EQ(FormatPlayer("Torre Repetto Carlos (MEX)", false), "Torre Repetto");
    EXPECT_EQ(FormatPlayer(" (USA) ", true), "NN");
    const std::string header = MakeHeader("NN", "NN", 0);
    EXPECT_EQ(header, "[White \"NN\"]\r\n[Black \"NN\"]\r\n[EventDate \"0000\"]");
    EXPECT_EQ(header.size(), 46u);
}

TEST(Tokens, CapturesAreMarkedAndTheLineCanBeCut)
{
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

TEST(LineFeatures, MateWithASacrificeIsSeen)
{
    // Qd8+ Rxd8 Rxd8#: the queen is given for a mate on the back rank.
    const Candidate c = Line(TaskKind::Tactic, "2r3k1/5ppp/8/8/3Q4/8/5PPP/3R2K1 w - - 0 1", {"d4d8", "c8d8", "d1d8"});
    const auto f = AnalyseLine(c, 3);
    EXPECT_TRUE(f.mates);
    EXPECT_TRUE(f.backRank);
    EXPECT_EQ(f.matingPiece, "r");
    EXPECT_TRUE(f.sacrifice);
    EXPECT_EQ(f.sacrificedPiece, "q");
    const auto hints = HintVariants(c, 3, false);
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.front(), kHintMateWithSacrifice);
}

TEST(LineFeatures, KnightForkOfKingAndRook)
{
    const Candidate c = Line(TaskKind::Tactic, "r3k3/8/8/8/8/8/3N4/4K3 w - - 0 1", {"d2c4"}, {"e8d7", "c4b6"});
    // Nc4 is no fork yet; test a real one: Nc7+ from b5.
    const Candidate fork = Line(TaskKind::Tactic, "r3k3/8/8/1N6/8/8/8/4K3 w - - 0 1", {"b5c7"}, {"e8d7", "c7a8"});
    const auto f = AnalyseLine(fork, 1);
    EXPECT_TRUE(f.fork);
    EXPECT_EQ(f.forkPiece, "n");
    EXPECT_EQ(f.wonPiece, "r");
    EXPECT_EQ(f.wonSquare, "a8");
    EXPECT_FALSE(AnalyseLine(c, 1).fork);
}

TEST(LineFeatures, StalemateInTheContinuation)
{
    // White gives the rook away with check; taking it leaves White stalemated.
    const Candidate c = Line(TaskKind::Draw, "2R5/7k/8/8/8/1q6/8/K7 w - - 0 1", {"c8h8"}, {"h7h8"});
    const auto f = AnalyseLine(c, 1);
    EXPECT_TRUE(f.stalemate);
    EXPECT_EQ(HintVariants(c, 1, true).front(), kHintStalemate);
}

TEST(LineFeatures, QuietDevices)
{
    // Rook to the open d-file.
    const auto rook = AnalyseLine(Line(TaskKind::Strategy, "4rrk1/ppp2ppp/8/8/8/8/PPP2PPP/4R1K1 w - - 0 1", {"e1d1"}), 1);
    EXPECT_TRUE(rook.openFile);
    // Knight to d5, guarded by e4, with no black c- or e-pawn left to chase it.
    const auto knight = AnalyseLine(Line(TaskKind::Strategy, "6k1/pp3ppp/3p4/8/4P3/2N5/PP3PPP/6K1 w - - 0 1", {"c3d5"}), 1);
    EXPECT_TRUE(knight.outpost);
    // A pawn that meets an enemy pawn.
    const auto lever = AnalyseLine(Line(TaskKind::Strategy, "6k1/pp3ppp/3p4/4p3/8/8/PPP2PPP/6K1 w - - 0 1", {"f2f4"}), 1);
    EXPECT_TRUE(lever.pawnBreak);
    EXPECT_FALSE(lever.passedPawnPush);
}

TEST(Hints, EveryVariantIsSomething)
{
    for (const Candidate& c : {Sample(), Line(TaskKind::Strategy, "6k1/pp3ppp/3p4/8/4P3/2N5/PP3PPP/6K1 w - - 0 1", {"c3d5"})})
        for (const auto& hint : HintVariants(c, 1, false)) {
            EXPECT_GE(hint.size(), 13u) << hint;
            EXPECT_TRUE(hint.back() == '.' || hint.back() == '!') << hint;
        }
}

} // namespace

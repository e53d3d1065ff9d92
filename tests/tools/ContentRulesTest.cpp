// What a test may do with material and with its first move, on records of the
// collections: the strategy start and gain, the one-move tactics a club player
// finds without looking, and the material a tactics line ends with.
#include "HintCatalogue.h"
#include "Rules.h"
#include "Words.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

struct Row {
    const char* name;
    TaskKind kind;
    const char* fen;
    const char* line;   // UCI
    const char* entry;  // the hint's catalogue entry
    const char* broken; // a word of the problem found; empty: the rules hold
};

TEST(ContentRules, WhatATestMayDoWithMaterialAndItsFirstMove)
{
    using K = TaskKind;
    const Row rows[] = {
        {"strategy: a quiet first move", K::Strategy, "3rb1k1/1p1rqp2/p3pp1Q/8/1b6/1P1BPN2/P2R1PPP/3R2K1 b", "f6f5", "plan.space", ""},
        {"strategy: a capture the hint calls an exchange", K::Strategy, "2r1r1k1/3bqp2/p2b1n1p/1p1Pp1p1/2p1P3/1PNn1P2/P2N1BPP/1BRQ1RK1 w",
         "b1d3 c4d3 d2b1 b5b4 c3a4", "plan.trade-simplifies", ""},
        {"strategy: the same capture under a hint of no exchange", K::Strategy,
         "2r1r1k1/3bqp2/p2b1n1p/1p1Pp1p1/2p1P3/1PNn1P2/P2N1BPP/1BRQ1RK1 w", "b1d3 c4d3 d2b1 b5b4 c3a4", "plan.activate", "capture"},
        {"strategy: the same capture, a hand hint naming the exchange", K::Strategy,
         "2r1r1k1/3bqp2/p2b1n1p/1p1Pp1p1/2p1P3/1PNn1P2/P2N1BPP/1BRQ1RK1 w", "b1d3 c4d3 d2b1 b5b4 c3a4", "by-hand.exchange", ""},
        {"strategy: the same capture, any other hand hint", K::Strategy,
         "2r1r1k1/3bqp2/p2b1n1p/1p1Pp1p1/2p1P3/1PNn1P2/P2N1BPP/1BRQ1RK1 w", "b1d3 c4d3 d2b1 b5b4 c3a4", "by-hand", "capture"},
        {"strategy: a first move that checks", K::Strategy, "8/1Q6/pN2nkpp/2p1bp2/P6P/2P2P2/4KBq1/8 b", "e6f4 e2e3",
         "plan.attack-king", "check"},
        {"strategy: a line that wins a rook", K::Strategy, "r5k1/1p2bp1p/1P4p1/p3p3/K3P3/2rB1N2/P4PPP/3R3R b",
         "a8c8 d1c1 c3c1 h1c1 c8c1", "plan.battery", "wins 5"},
        {"strategy: a line that wins a knight, three points", K::Strategy, "6k1/5ppp/8/8/1n6/8/5PPP/2R3K1 w", "c1c4 g8f8 c4b4",
         "plan.activate", "wins 3"},
        {"strategy: a line that stops as the rooks are traded", K::Strategy, "r5k1/1p2bp1p/1P4p1/p3p3/K3P3/2rB1N2/P4PPP/3R3R b",
         "a8c8 d1c1 c3c1", "plan.battery", ""},
        {"one move: takes an unguarded pawn", K::Tactic, "8/5p2/5K2/4P2p/2N2k2/8/8/8 w", "f6f7", "", "unguarded"},
        {"one move: a knight nothing can take back", K::Tactic, "4r1k1/p1q2pp1/5n1p/5Q2/2B2P2/1P5P/6RK/8 w", "f5f6", "",
         "take back"},
        {"one move: the queen for a rook, the knight takes back", K::Tactic, "3r2rk/ppN1q1b1/2n3Pp/8/3p1B2/6P1/PPP5/3QR1K1 w",
         "e1e7", "", ""},
        {"one move: pushes the only passed pawn", K::Tactic, "6k1/5p2/7p/P7/8/4PK2/1b5P/8 w", "a5a6", "", "passed"},
        {"one move: pushes one of two passed pawns", K::Tactic, "8/5n2/5N2/3PP3/3k1K2/8/8/8 w", "e5e6", "", ""},
        {"tactics: ends material down", K::Tactic, "8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w", "d5g8 h7g8 f2f8", "", "down"},
        {"tactics: ends in mate after giving a rook", K::Tactic, "6k1/p4p2/6pP/4R3/8/Q7/KPq2P2/6r1 w",
         "e5e8 g8h7 e8h8 h7h8 a3f8 h8h7 f8g7", "", ""},
        {"draw: the draw asked for, whatever the material", K::Draw, "8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w",
         "d5g8 h7g8 f2f8", "", ""},
    };
    for (const Row& row : rows) {
        const auto root = fullchess::Position::FromFen(std::string(row.fen) + " - - 0 1");
        ASSERT_TRUE(root) << row.name;
        std::string found;
        for (const std::string& p : ContentProblems(row.kind, *root, Words(row.line), row.entry))
            found += p + "; ";
        if (*row.broken == '\0')
            EXPECT_EQ(found, "") << row.name;
        else
            EXPECT_NE(found.find(row.broken), std::string::npos) << row.name << ": " << found;
    }
}

TEST(ContentRules, ExchangeEntriesAreInTheCatalogueAndMovesAreCountedByWhatTheyDo)
{
    for (const std::string_view name : kExchangeEntries)
        EXPECT_TRUE(FindHintEntry(name) || name == kEntryByHandExchange) << name;
    EXPECT_FALSE(ExchangeEntry("plan.win-pawn"));
    for (const auto& [fen, move, kind] : {std::tuple{"6k1/5ppp/8/8/8/8/5PPP/R5K1 w", "a1a8", MoveKind::Mate},
                                          {"6k1/5pp1/8/8/8/8/5PPP/R5K1 w", "a1a8", MoveKind::Check},
                                          {"6k1/r4ppp/8/8/8/8/5PPP/R5K1 w", "a1a7", MoveKind::Capture},
                                          {"6k1/5ppp/8/8/8/8/5PPP/R5K1 w", "a1a7", MoveKind::Quiet}}) {
        const auto root = *fullchess::Position::FromFen(std::string(fen) + " - - 0 1");
        EXPECT_EQ(KindOfMove(root, *root.ParseUci(move)), kind) << fen << " " << move;
    }
}

} // namespace

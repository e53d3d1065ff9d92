// The full rules the tools use to replay games and prove the collections legal.
#include "chess/Position.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using fullchess::Position;

namespace {

// Node counts from the well-known public perft tables (initial position,
// "Kiwipete", and the positions numbered 3 to 5 in the usual list).
struct PerftRow { const char* name; const char* fen; int depth; uint64_t nodes; };

const PerftRow kPerft[] = {
    {"initial", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 197281},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 97862},
    {"rook_endgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238},
    {"promotions", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
    {"castling_and_checks", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3, 62379},
};

class Perft : public testing::TestWithParam<PerftRow> {};

TEST_P(Perft, MatchesPublishedCount)
{
    const auto position = Position::FromFen(GetParam().fen);
    ASSERT_TRUE(position);
    EXPECT_EQ(fullchess::Perft(*position, GetParam().depth), GetParam().nodes);
}

INSTANTIATE_TEST_SUITE_P(Table, Perft, testing::ValuesIn(kPerft),
                         [](const auto& info) { return std::string(info.param.name); });

struct SanRow {
    const char* name;
    const char* fen;
    const char* san;
    const char* uci;  // nullptr: the text names no single legal move
};

const SanRow kSan[] = {
    {"check_sign_ignored", "4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "Ra8+", "a1a8"},
    {"annotation_ignored", "4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "Ra8!?", "a1a8"},
    {"file_disambiguation", "4k3/8/8/8/8/8/4K3/R6R w - - 0 1", "Rad1", "a1d1"},
    {"needless_disambiguation", "4k3/8/8/8/8/8/8/R3K2R w - - 0 1", "Rad1", "a1d1"},
    {"rank_disambiguation", "R3k3/8/8/8/8/8/8/R3K3 w - - 0 1", "R1a4", "a1a4"},
    {"ambiguous_refused", "4k3/8/8/8/8/8/4K3/R6R w - - 0 1", "Rd1", nullptr},
    {"castle_short", "4k3/8/8/8/8/8/8/4K2R w K - 0 1", "O-O", "e1g1"},
    {"castle_zeros", "4k3/8/8/8/8/8/8/R3K3 w Q - 0 1", "0-0-0", "e1c1"},
    {"promotion", "8/4P1k1/8/8/8/8/8/4K3 w - - 0 1", "e8=Q", "e7e8q"},
    {"promotion_without_equals", "8/4P1k1/8/8/8/8/8/4K3 w - - 0 1", "e8N", "e7e8n"},
    {"en_passant", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "exd6", "e5d6"},
    {"en_passant_marked", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "exd6e.p.", "e5d6"},
    {"pinned_piece_cannot_move", "4k3/8/8/8/8/8/4n3/r3K3 w - - 0 1", "Kxe2", "e1e2"},
    {"illegal_refused", "4k3/8/8/8/8/8/8/4K3 w - - 0 1", "Ke3", nullptr},
    {"nonsense_refused", "4k3/8/8/8/8/8/8/4K3 w - - 0 1", "Qz9", nullptr},
};

class SanParsing : public testing::TestWithParam<SanRow> {};

TEST_P(SanParsing, FindsTheMoveOrRefuses)
{
    const auto position = Position::FromFen(GetParam().fen);
    ASSERT_TRUE(position);
    const auto move = position->ParseSan(GetParam().san);
    if (GetParam().uci == nullptr) {
        EXPECT_FALSE(move);
    } else {
        ASSERT_TRUE(move);
        EXPECT_EQ(Position::Uci(*move), GetParam().uci);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SanParsing, testing::ValuesIn(kSan),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChessRules, SanWritesWhatItReads)
{
    const auto position = Position::FromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    ASSERT_TRUE(position);
    for (const auto& move : position->LegalMoves()) {
        const auto back = position->ParseSan(position->San(move));
        ASSERT_TRUE(back) << position->San(move);
        EXPECT_EQ(*back, move) << position->San(move);
    }
    // Two rooks on one file are told apart by rank, two knights by file.
    const auto clash = *Position::FromFen("4k3/8/8/R7/8/8/8/RN2KN2 w - - 0 1");
    for (const auto& [uci, san] : {std::pair{"a1a3", "R1a3"}, {"a5a3", "R5a3"}, {"b1d2", "Nbd2"}, {"f1d2", "Nfd2"}})
        EXPECT_EQ(clash.San(*clash.ParseUci(uci)), san);
    // A queen sharing her file with one rival and her rank with another is named by her square.
    const auto queens = *Position::FromFen("4k3/8/8/8/8/Q7/8/Q1Q1K3 w - - 0 1");
    EXPECT_EQ(queens.San(*queens.ParseUci("a1b2")), "Qa1b2");
}

TEST(ChessRules, FenRoundTripAndRefusals)
{
    const char* fen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
    EXPECT_EQ(Position::FromFen(fen)->Fen(), fen);
    EXPECT_FALSE(Position::FromFen("8/8/8/8/8/8/8 w - - 0 1"));         // seven ranks
    EXPECT_FALSE(Position::FromFen("9/8/8/8/8/8/8/8 w - - 0 1"));       // a rank too long
    EXPECT_FALSE(Position::FromFen("4k3/8/8/8/8/8/8/4K3 x - - 0 1"));   // no such side
    EXPECT_FALSE(Position::FromFen("4k3/8/8/8/8/8/8/4X3 w - - 0 1"));   // no such piece
}

// A move from or to a corner or a king's square ends the rights it touches,
// a capture of the rook at home included.
TEST(ChessRules, CastlingRightsEndWhereKingOrRookLeaveOrFall)
{
    struct Row { const char* side; const char* san; const char* rights; };
    const Row rows[] = {
        {"w", "Rxh8", "Qq"}, {"w", "Rxa8", "Kk"}, {"w", "Kd1", "kq"}, {"w", "Kf1", "kq"},
        {"b", "Rxh1", "Qq"}, {"b", "Rxa1", "Kk"}, {"b", "Kd8", "KQ"}, {"b", "Rh7", "KQq"},
    };
    for (const Row& row : rows) {
        Position p = *Position::FromFen(std::string("r3k2r/8/8/8/8/8/8/R3K2R ") + row.side + " KQkq - 0 1");
        p.Play(*p.ParseSan(row.san));
        std::istringstream fields(p.Fen());
        std::string placement, side, rights;
        fields >> placement >> side >> rights;
        EXPECT_EQ(rights, row.rights) << row.side << " " << row.san;
    }
    // Read from a FEN: a right whose rook is not at home is dropped, each on its own.
    const char* const rights[] = {"r3k3/8/8/8/8/8/8/4K2R w KQkq - 0 1", "4k2r/8/8/8/8/8/8/R3K3 w KQkq - 0 1"};
    EXPECT_EQ(Position::FromFen(rights[0])->Castling(), 1 | 8);
    EXPECT_EQ(Position::FromFen(rights[1])->Castling(), 2 | 4);
}

// The side to move is in check wherever its king stands, a corner included.
TEST(ChessRules, CheckOnEveryCorner)
{
    for (const char* fen : {"8/8/8/8/8/2k5/8/K6r w - - 0 1", "K6r/8/2k5/8/8/8/8/8 w - - 0 1",
                            "8/8/8/8/8/5k2/8/r6K w - - 0 1", "r6K/8/5k2/8/8/8/8/8 w - - 0 1"})
        EXPECT_TRUE(Position::FromFen(fen)->InCheck()) << fen;
    EXPECT_FALSE(Position::FromFen("8/8/8/8/8/2k5/8/K7 w - - 0 1")->InCheck());
}

} // namespace

// The square/pixel mappings, position setup, captures and the square
// queries, and the judging of a drop, on fake pictures; move tokens:
// reading, writing and the round trip between them, MoveKeys, and the
// positions of tokens in a solution line.
#include "ChessBoard.h"
#include "FakePicture.h"
#include "Notation.h"
#include "Verdict.h"

#include <gtest/gtest.h>

namespace {

const BoardGeometry kStandard{32, 32, 385};

// "e3" -> row 6, column 5.
Square Sq(const char* name)
{
    return {'9' - name[1], name[0] - 'a' + 1};
}

TEST(Geometry, EverySquareRoundTripsWithItsTolerance)
{
    EXPECT_EQ(std::pair(SquareToPixel(kStandard, 1, 1), SquareToPixel(kStandard, 8, 8)),
              std::pair(PixelPos{66, 67}, PixelPos{346, 347}));
    for (const BoardGeometry& board : {kStandard, BoardGeometry{-17, 250, 385}}) {
        for (int r = 1; r <= 8; ++r) {
            for (int k = 1; k <= 8; ++k) {
                // A figure off its place by up to r + 10 pixels up, 28 - r
                // down, k + 8 left and 30 - k right still stands on (r, k).
                const PixelPos at = SquareToPixel(board, r, k);
                const Square home{r, k};
                const auto on = [&](int dx, int dy) { return PixelToSquare(board, at.Left + dx, at.Top + dy) == home; };
                EXPECT_TRUE(on(0, 0) && on(0, -(r + 10)) && on(30 - k, 28 - r) && on(-(k + 8), 0)) << r << k;
                EXPECT_FALSE(on(0, -(r + 11)) || on(0, 29 - r) || on(-(k + 9), 0) || on(31 - k, 0)) << r << k;
            }
        }
    }
}

TEST(Geometry, MoveLineEndsArePulledBackTowardsTheStart)
{
    const std::tuple<int, int, int, int, MoveLine> rows[] = { // from column and row, to column and row
        {6, 6, 4, 8, {251, 250, 183, 318}}, {1, 8, 8, 8, {51, 330, 319, 330}},  // f3-d1, a1-h1
        {8, 8, 1, 8, {331, 330, 63, 330}},  {5, 7, 5, 5, {211, 290, 211, 222}}, // h1-a1, e2-e4
        {5, 1, 5, 3, {211, 50, 211, 118}},  {3, 3, 3, 3, {131, 130, 131, 130}}, // e8-e6, no move
    };
    for (const auto& [fc, fr, tc, tr, line] : rows)
        EXPECT_EQ(MoveLineEnds(kStandard, fc, fr, tc, tr), line) << fc << fr << tc << tr;
    EXPECT_EQ(MoveLineEnds(BoardGeometry{0, 0, 780}, 1, 1, 2, 2), (MoveLine{51, 50, 129, 128}));
}

class Board : public testing::Test {
protected:
    FakePictureFactory factory;
    ChessBoard board{factory, kStandard};

    // Codes and squares in list order: "br11 wk85 ".
    std::string Listing() const
    {
        std::string out;
        for (const auto& figure : board.FigureList()) {
            const Square s = board.SquareOf(*figure->Image);
            out += figure->Code + std::to_string(s.Row) + std::to_string(s.Column) + " ";
        }
        return out;
    }
    int Released() const
    {
        int n = 0;
        for (const auto& p : factory.Made)
            n += p->Releases;
        return n;
    }
};

TEST_F(Board, PlacePositionReadsEveryCharacterInReadingOrder)
{
    const std::pair<const char*, const char*> rows[] = {
        {"r6k/8/8/8/8/8/8/K7", "br11 bk18 wk81 "},
        {"8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w - - 0 9",
         "bp21 wp25 bp27 bk28 bp32 bp38 bp43 wb44 bq45 bp55 wp61 wp67 wp72 wr76 wp77 wk87 "},
        {"0k9-x/Z8K", "bk11 wk22 "}, {"3k4K", "bk14 wk21 "}, {"8/8/8/8/8/8/8/8/nQ", "bn91 wq92 "}, {"", ""},
    };
    for (const auto& [placement, listing] : rows) {
        board.PlacePosition(placement);
        EXPECT_EQ(Listing(), listing) << placement;
        board.ClearFigures();
    }
    EXPECT_EQ(std::pair(Released(), board.Holds(factory.Made.front().get())),
              std::pair(static_cast<int>(factory.Made.size()), false));
    // Top first, then left; a later figure lies above an earlier one.
    board.PlacePosition("k6K");
    EXPECT_EQ(std::pair(factory.Made.back()->Log, factory.Stacking.back()), std::pair(std::string("TL"), factory.Made.back().get()));
}

TEST_F(Board, CaptureTargetSparesKingsOwnFiguresAndTheMover)
{
    const std::tuple<const char*, const char*, bool, bool> rows[] = { // target, mover's colour, allowed, taken
        {"", "w", true, false},    {"bn", "w", true, true},  {"wn", "w", false, false}, {"bk", "w", false, false},
        {"wk", "w", false, false}, {"wr", "", true, true},   {"bp", "", true, true},    {"bk", "", false, false},
    };
    for (const auto& [target, colour, allowed, taken] : rows) {
        board.ClearFigures();
        board.CreateFigure(1, "bb", 1);
        Picture* mover = board.CreateFigure(6, "wb", 5)->Image;
        if (*target)
            board.CreateFigure(4, target, 7);
        const std::size_t before = board.FigureList().size();
        EXPECT_EQ(board.CaptureTarget(mover, colour, 4, 7), allowed) << target << colour;
        EXPECT_EQ(std::pair(board.FigureList().size(), board.CodeOf(mover)), std::pair(before - taken, std::string("wb")));
    }
    // Only the first enemy goes, a king before it notwithstanding; the rest
    // keep their order. The square queries see the latest figure in the list
    // on a square, the mover left out when one is given.
    board.ClearFigures();
    board.CreateFigure(1, "bn", 1);
    for (const char* code : {"bk", "bn", "bp"})
        board.CreateFigure(1, code, 2);
    Picture* rook = board.CreateFigure(1, "wr", 2)->Image;
    EXPECT_TRUE(board.CaptureTarget(rook, "w", 1, 2));
    EXPECT_EQ(std::tuple(Listing(), board.FigureAt(2, 1), board.ColourAt(nullptr, 1, 2), board.ColourAt(rook, 1, 2)),
              std::tuple("bn11 bk12 bp12 wr12 ", rook, "w", "b"));
    EXPECT_EQ(std::tuple(board.CodeOf(nullptr), board.ColourAt(nullptr, 4, 4), board.SquareFree(rook, 1, 2)),
              std::tuple("", kNet, kNelza));
}

// The press records the from-square; the release leaves the figure a few
// pixels off the target's place. A refused figure put back leaves the board
// as it was. (The worked example's drops are the training run's.)
TEST_F(Board, DropVerdicts)
{
    constexpr const char* kInitial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
    constexpr DropResult kBack = DropResult::PutBack, kNo = DropResult::PutBackRefused, kMade = DropResult::Made;
    const struct {
        const char *name, *placement;
        bool whiteToMove;
        const char *from, *to;
        DropResult expected;
        int captures;
    } rows[] = {
        {"WhiteWhileBlackToMove", kInitial, false, "e2", "e4", kBack, 0},
        {"OwnSquare", kInitial, true, "g1", "g1", kBack, 0},
        {"OffTheBoard", "4k3/8/8/8/8/8/8/4K3", true, "e1", "e0", kNo, 0},
        {"PawnStep", kInitial, true, "e2", "e3", kMade, 0},
        {"PawnDouble", kInitial, true, "e2", "e4", kMade, 0},
        {"PawnDoubleBlockedNear", "4k3/8/8/8/8/4n3/4P3/4K3", true, "e2", "e4", kNo, 0},
        {"PawnStepBlocked", "4k3/8/8/8/8/4N3/4P3/4K3", true, "e2", "e3", kNo, 0},
        {"PawnDoubleOntoFigure", "4k3/8/8/8/4n3/8/4P3/4K3", true, "e2", "e4", kNo, 0},
        {"PawnDoubleOffStartRow", "4k3/8/8/8/8/4P3/8/4K3", true, "e3", "e5", kNo, 0},
        {"PawnTriple", kInitial, true, "e2", "e5", kNo, 0},
        {"PawnStraightNeverTakes", "4k3/8/8/8/4p3/4P3/8/4K3", true, "e3", "e4", kNo, 0},
        {"PawnDiagonalEmpty", kInitial, true, "e2", "d3", kNo, 0},
        {"PawnTakes", "4k3/8/8/8/8/3n4/4P3/4K3", true, "e2", "d3", kMade, 1},
        {"PawnNotOwn", "4k3/8/8/8/8/3N4/4P3/4K3", true, "e2", "d3", kNo, 0},
        {"PawnNotKing", "8/8/8/8/8/3k4/4P3/4K3", true, "e2", "d3", kNo, 0},
        {"PawnBackwards", "4k3/8/8/8/4P3/8/8/4K3", true, "e4", "e3", kNo, 0},
        {"PawnTakesBackwards", "4k3/8/8/8/4P3/3n4/8/4K3", true, "e4", "d3", kNo, 0},
        {"PawnTwoFilesAway", "4k3/8/8/8/8/2n5/4P3/4K3", true, "e2", "c3", kNo, 0},
        {"BlackPawnStep", kInitial, false, "d7", "d6", kMade, 0},
        {"BlackPawnDouble", kInitial, false, "d7", "d5", kMade, 0},
        {"BlackPawnUp", "4k3/8/8/3p4/8/8/8/4K3", false, "d5", "d6", kNo, 0},
        {"BlackPawnTakes", "4k3/3p4/4N3/8/8/8/8/4K3", false, "d7", "e6", kMade, 1},
        {"Knight", kInitial, true, "g1", "f3", kMade, 0},
        {"KnightLong", "4k3/8/8/8/8/8/8/1N2K3", true, "b1", "d2", kMade, 0},
        {"KnightStraight", kInitial, true, "g1", "g3", kNo, 0},
        {"KnightOneUp", "4k3/8/8/8/8/8/8/1N2K3", true, "b1", "b2", kNo, 0},
        {"KnightOwn", kInitial, true, "g1", "e2", kNo, 0},
        {"BishopBlocked", kInitial, true, "c1", "a3", kNo, 0},
        {"BishopStraight", "4k3/8/8/8/8/8/8/2B1K3", true, "c1", "c4", kNo, 0},
        {"BishopTakes", "4k3/8/8/6r1/8/8/8/2B1K3", true, "c1", "g5", kMade, 1},
        {"BishopBlockedLast", "4k3/8/8/6p1/8/8/8/2B1K3", true, "c1", "h6", kNo, 0},
        {"BishopDownRightBlocked", "4k3/2b5/8/4p3/8/8/8/4K3", false, "c7", "f4", kNo, 0},
        {"BishopDownRightFree", "4k3/2b5/8/8/8/8/8/4K3", false, "c7", "f4", kMade, 0},
        {"RookRowBlocked", "4k3/8/8/8/8/8/8/R1N1K3", true, "a1", "d1", kNo, 0},
        {"RookRowFree", "4k3/8/8/8/8/8/8/R3K3", true, "a1", "d1", kMade, 0},
        {"RookNextSquare", "4k3/8/8/8/8/8/8/R3K3", true, "a1", "b1", kMade, 0},
        {"RookRowFigureBehind", "4k3/8/8/8/8/8/8/1NR1K3", true, "c1", "d1", kMade, 0},
        {"RookColumnFigureBeyond", "4k3/8/8/p7/8/8/R7/4K3", true, "a2", "a4", kMade, 0},
        {"RookUpBlocked", "4k3/8/8/8/p7/8/8/R3K3", true, "a1", "a8", kNo, 0},
        {"RookTakes", "r3k3/8/8/8/8/8/8/R3K3", true, "a1", "a8", kMade, 1},
        {"RookDiagonal", "4k3/8/8/8/8/8/8/R3K3", true, "a1", "b2", kNo, 0},
        {"QueenKnightMove", "4k3/8/8/8/3Q4/8/8/4K3", true, "d4", "e6", kNo, 0},
        {"QueenDiagonalBlocked", "4k3/8/8/8/3Q4/4p3/8/4K3", true, "d4", "f2", kNo, 0},
        {"QueenRow", "4k3/8/8/8/3Q4/8/8/4K3", true, "d4", "h4", kMade, 0},
        {"King", "4k3/8/8/8/8/8/8/4K3", true, "e1", "d2", kMade, 0},
        {"KingNoCastling", "4k3/8/8/8/8/8/8/4K2R", true, "e1", "g1", kNo, 0},
        {"KingTakesDefended", "4k3/8/8/8/8/8/3r4/3rK3", true, "e1", "d2", kMade, 1},
    };
    for (const auto& r : rows) {
        board.ClearFigures();
        board.PlacePosition(r.placement);
        const std::string before = Listing();
        const int released = Released();
        Picture* figure = board.FigureAt(Sq(r.from).Column, Sq(r.from).Row);
        ASSERT_NE(figure, nullptr) << r.name;
        const PixelPos at = SquareToPixel(kStandard, Sq(r.to).Row, Sq(r.to).Column);
        figure->SetLeft(at.Left + 5);
        figure->SetTop(at.Top - 7);
        const DropVerdict verdict = board.JudgeDrop(*figure, Sq(r.from), r.whiteToMove);
        EXPECT_EQ(std::tuple(static_cast<int>(verdict.Result), verdict.To, Released() - released),
                  std::tuple(static_cast<int>(r.expected), Sq(r.to), r.captures)) << r.name;
        if (r.expected != DropResult::Made) {
            board.PlaceOnSquare(*figure, Sq(r.from).Row, Sq(r.from).Column);
            EXPECT_EQ(Listing(), before) << r.name;
        }
    }
}

// Malformed tokens are refused; every pair of squares, written as a token,
// reads back as the same move and the same MoveKey.
TEST(Notation, TokenKeysAndTheRoundTripOnEveryPairOfSquares)
{
    const std::tuple<const char*, const char*, bool> rows[] = { // token, key ("": refused), ParseToken accepts it
        {"e3-g5", "65-47", true}, {"f3:d1", "66-84", true},  {"a8-h1", "11-88", true}, {"h2:h1", "78-88", true},
        {"b3?e6", "62-35", false}, {"e3-g5 f3", "65-47", false}, {"", "", false},     {"e3-g", "", false},
        {"eX-g5", "", false},     {"e3-g ", "", false},      {"e0-g5", "", false},     {"e3-g9", "", false},
        {"E3-g5", "", false},     {"e3-i5", "", false},      {"`3-g5", "", false},
    };
    for (const auto& [token, key, strict] : rows)
        EXPECT_EQ(std::pair(TokenToMoveKey(token).value_or("refused"), ParseToken(token).has_value()),
                  std::pair(std::string(*key ? key : "refused"), strict)) << token;
    for (int from = 0; from < 64; ++from) {
        for (int to = 0; to < 64; ++to) {
            const int fromCol = from % 8 + 1, fromRow = from / 8 + 1, toCol = to % 8 + 1, toRow = to / 8 + 1;
            const bool capture = (from + to) % 2 == 0;
            const std::string token = WriteToken(fromCol, fromRow, capture, toCol, toRow);
            const auto read = ParseToken(token);
            ASSERT_TRUE(read.has_value()) << token;
            EXPECT_EQ(std::tuple(read->FromColumn, read->FromRow, read->ToColumn, read->ToRow, read->IsCapture()),
                      std::tuple(fromCol, fromRow, toCol, toRow, capture));
            EXPECT_EQ(TokenToMoveKey(token), BuildMoveKey(fromRow, fromCol, toRow, toCol)) << token;
        }
    }
    EXPECT_EQ(std::tuple(WriteToken(5, 6, false, 7, 4), WriteToken(6, 6, true, 4, 8)), std::tuple("e3-g5", "f3:d1"));
    EXPECT_TRUE(DecodeToken("a2xa1").value().IsCapture()); // played as a capture
}

TEST(Notation, LinesSplitJoinAndTheLastTokenRule)
{
    const std::vector<std::string> tokens{"e3-g5", "f3:d1", "b3:e6"};
    EXPECT_EQ(std::tuple(LineTokens("e3-g5 f3:d1 b3:e6 "), LineTokens(" e3-g5  f3:d1 b3:e6"), LineTokens("").size()),
              std::tuple(tokens, tokens, 0u));
    EXPECT_EQ(std::pair(JoinTokens(tokens), JoinTokens({})), std::pair(std::string("e3-g5 f3:d1 b3:e6"), std::string()));
    const std::tuple<const char*, int, const char*, bool> rows[] = { // line, position, TokenAt, IsLastToken
        {"e3-g5 f3:d1 b3:e6", 1, "e3-g5", false},   {"e3-g5 f3:d1 b3:e6", 7, "f3:d1", false},
        {"e3-g5 f3:d1 b3:e6", 13, "b3:e6", true},   {"e3-g5 f3:d1 b3:e6 ", 13, "b3:e6", true},
        {"e3-g5 f3:d1 b3:e6 ", 1, "e3-g5", false},  {"d1-d8 ", 1, "d1-d8", true},
        {"e3-g5 f3:d1 b3:e6", 19, "", true},        {"e3-g5 ", 6, " ", true},
        {"e3-g5", 0, "", true},                     {"e3-g5 f3:d1", 5, "5 f3:", false},                    {"", 1, "", true},
    };
    for (const auto& [line, pos, token, last] : rows)
        EXPECT_EQ(std::pair(TokenAt(line, pos), IsLastToken(line, pos)), std::pair(std::string(token), last)) << line << " @" << pos;
}

} // namespace

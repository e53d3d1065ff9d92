// Judging the user's drops: side to move, same square, the piece rules,
// OnBoard and CaptureTarget, and what a made move leaves behind.
#include "ChessBoard.h"
#include "FakePicture.h"
#include "Notation.h"
#include "Verdict.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const BoardGeometry kStandard{32, 32, 385};

// "e3" -> row 6, column 5, written out independently of the notation code.
Square Sq(const std::string& name)
{
    return Square{'9' - name[1], name[0] - 'a' + 1};
}

const char* Name(DropResult r)
{
    switch (r) {
    case DropResult::PutBack: return "PutBack";
    case DropResult::PutBackRefused: return "PutBackRefused";
    case DropResult::Made: return "Made";
    }
    return "?";
}

class Drops : public testing::Test {
protected:
    FakePictureFactory factory;
    ChessBoard board{factory, kStandard};

    void SetUpPosition(const std::string& placement, bool whiteToMove)
    {
        board.PlacePosition(placement);
        board.WhiteToMove = whiteToMove;
        board.LastMoveText = "before";
    }

    // Does what the board view does: the press records the from-square, the
    // drag leaves the picture a few pixels off the target square's place,
    // the release judges it and a refused figure is snapped back.
    DropResult Drop(const Square& from, const Square& to, int jitterX = 5, int jitterY = -7)
    {
        Picture* picture = board.FigureAt(from.Column, from.Row);
        EXPECT_NE(picture, nullptr) << "no figure on " << from.Row << "," << from.Column;
        if (picture == nullptr)
            return DropResult::PutBack;
        const Square pressed = board.SquareOf(*picture);
        board.FromRow = pressed.Row;
        board.FromCol = pressed.Column;
        const PixelPos at = SquareToPixel(kStandard, to.Row, to.Column);
        picture->SetLeft(at.Left + jitterX);
        picture->SetTop(at.Top + jitterY);
        const DropResult result = board.JudgeDrop(*picture);
        if (result != DropResult::Made)
            board.SnapBack(*picture);
        m_moved = picture;
        return result;
    }

    Picture* Moved() const { return m_moved; }

    // Codes with squares, in list order, to compare whole boards.
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
        for (const auto& p : factory.Made())
            n += p->ReleaseCount();
        return n;
    }

private:
    Picture* m_moved = nullptr;
};

struct DropRow {
    const char* name;
    const char* placement;
    bool whiteToMove;
    const char* from;
    const char* to;
    DropResult expected;
    int captures; // figures removed by a made move
};

class DropTable : public Drops, public testing::WithParamInterface<DropRow> {};

TEST_P(DropTable, Verdict)
{
    const auto& p = GetParam();
    SetUpPosition(p.placement, p.whiteToMove);
    const std::string boardBefore = Listing();
    const std::size_t countBefore = board.FigureList().size();

    const DropResult result = Drop(Sq(p.from), Sq(p.to));
    ASSERT_EQ(Name(result), std::string(Name(p.expected)));

    if (result == DropResult::Made) {
        const Square from = Sq(p.from);
        const Square to = Sq(p.to);
        EXPECT_EQ(board.SquareOf(*Moved()), to);
        // Exactly on the square, not where it was released.
        EXPECT_EQ(Moved()->Left(), SquareToPixel(kStandard, to.Row, to.Column).Left);
        EXPECT_EQ(Moved()->Top(), SquareToPixel(kStandard, to.Row, to.Column).Top);
        EXPECT_EQ(board.WhiteToMove, !p.whiteToMove);
        EXPECT_EQ(board.LastMoveText, std::to_string(from.Row) + std::to_string(from.Column) + "-" +
                                          std::to_string(to.Row) + std::to_string(to.Column));
        EXPECT_EQ(board.FigureList().size(), countBefore - static_cast<std::size_t>(p.captures));
        EXPECT_EQ(Released(), p.captures);
    } else {
        // A refused move changes nothing at all.
        EXPECT_EQ(Listing(), boardBefore);
        EXPECT_EQ(board.WhiteToMove, p.whiteToMove);
        EXPECT_EQ(board.LastMoveText, "before");
        EXPECT_EQ(Released(), 0);
    }
}

constexpr const char* kExample = "r3kb1r/2q2ppp/p3p3/1p6/3Q4/1BP1Bb2/PP3P1P/2KRR3";
constexpr const char* kInitial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

INSTANTIATE_TEST_SUITE_P(
    WorkedExample, DropTable,
    testing::Values(DropRow{"BlackBishopWhileWhiteToMove", kExample, true, "f3", "e2", DropResult::PutBack, 0},
                    DropRow{"BishopE3ToG5", kExample, true, "e3", "g5", DropResult::Made, 0},
                    DropRow{"RookD1ToD5OverTheQueen", kExample, true, "d1", "d5", DropResult::PutBackRefused, 0},
                    DropRow{"PawnC3ToC5", kExample, true, "c3", "c5", DropResult::PutBackRefused, 0},
                    DropRow{"QueenD4ToD8", kExample, true, "d4", "d8", DropResult::Made, 0}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    SideAndSquare, DropTable,
    testing::Values(DropRow{"WhiteFigureWhileBlackToMove", kInitial, false, "e2", "e4", DropResult::PutBack, 0},
                    DropRow{"BlackFigureToAnIllegalSquare", kInitial, true, "b8", "b4", DropResult::PutBack, 0},
                    DropRow{"BackOnItsOwnSquare", kInitial, true, "g1", "g1", DropResult::PutBack, 0}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Pawns, DropTable,
    testing::Values(
        DropRow{"WhiteSingleStep", kInitial, true, "e2", "e3", DropResult::Made, 0},
        DropRow{"WhiteDoubleStep", kInitial, true, "e2", "e4", DropResult::Made, 0},
        DropRow{"DoubleStepBlockedOnRowSix", "4k3/8/8/8/8/4n3/4P3/4K3", true, "e2", "e4", DropResult::PutBackRefused, 0},
        DropRow{"SingleStepBlockedOnRowSix", "4k3/8/8/8/8/4N3/4P3/4K3", true, "e2", "e3", DropResult::PutBackRefused, 0},
        DropRow{"DoubleStepOntoAFigure", "4k3/8/8/8/4n3/8/4P3/4K3", true, "e2", "e4", DropResult::PutBackRefused, 0},
        DropRow{"DoubleStepOnlyFromRowSeven", "4k3/8/8/8/8/4P3/8/4K3", true, "e3", "e5", DropResult::PutBackRefused, 0},
        DropRow{"TripleStep", kInitial, true, "e2", "e5", DropResult::PutBackRefused, 0},
        DropRow{"StraightStepNeverCaptures", "4k3/8/8/8/4p3/4P3/8/4K3", true, "e3", "e4", DropResult::PutBackRefused, 0},
        DropRow{"DiagonalToEmptySquare", kInitial, true, "e2", "d3", DropResult::PutBackRefused, 0},
        DropRow{"TakesBlackDiagonally", "4k3/8/8/8/8/3n4/4P3/4K3", true, "e2", "d3", DropResult::Made, 1},
        DropRow{"CannotTakeWhite", "4k3/8/8/8/8/3N4/4P3/4K3", true, "e2", "d3", DropResult::PutBackRefused, 0},
        DropRow{"CannotTakeBlackKing", "8/8/8/8/8/3k4/4P3/4K3", true, "e2", "d3", DropResult::PutBackRefused, 0},
        DropRow{"CannotMoveBackwards", "4k3/8/8/8/4P3/8/8/4K3", true, "e4", "e3", DropResult::PutBackRefused, 0},
        DropRow{"CannotTakeBackwards", "4k3/8/8/8/4P3/3n4/8/4K3", true, "e4", "d3", DropResult::PutBackRefused, 0},
        DropRow{"CannotTakeTwoFilesAway", "4k3/8/8/8/8/2n5/4P3/4K3", true, "e2", "c3", DropResult::PutBackRefused, 0},
        DropRow{"ReachesLastRow", "4k3/P7/8/8/8/8/8/4K3", true, "a7", "a8", DropResult::Made, 0},
        DropRow{"BlackSingleStep", kInitial, false, "d7", "d6", DropResult::Made, 0},
        DropRow{"BlackDoubleStep", kInitial, false, "d7", "d5", DropResult::Made, 0},
        DropRow{"BlackDoubleStepBlocked", "4k3/3p4/3N4/8/8/8/8/4K3", false, "d7", "d5", DropResult::PutBackRefused, 0},
        DropRow{"BlackCannotMoveUp", "4k3/8/8/3p4/8/8/8/4K3", false, "d5", "d6", DropResult::PutBackRefused, 0},
        DropRow{"BlackTakesWhite", "4k3/3p4/4N3/8/8/8/8/4K3", false, "d7", "e6", DropResult::Made, 1},
        DropRow{"BlackCannotTakeBlack", "4k3/3p4/4n3/8/8/8/8/4K3", false, "d7", "e6", DropResult::PutBackRefused, 0}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Pieces, DropTable,
    testing::Values(
        DropRow{"KnightJumpsOverFigures", kInitial, true, "g1", "f3", DropResult::Made, 0},
        DropRow{"KnightWrongShape", kInitial, true, "g1", "g3", DropResult::PutBackRefused, 0},
        DropRow{"KnightOntoOwnPawn", kInitial, true, "g1", "e2", DropResult::PutBackRefused, 0},
        DropRow{"BishopBlocked", kInitial, true, "c1", "a3", DropResult::PutBackRefused, 0},
        DropRow{"BishopNotDiagonal", "4k3/8/8/8/8/8/8/2B1K3", true, "c1", "c4", DropResult::PutBackRefused, 0},
        DropRow{"BishopTakesAtTheEndOfAFreePath", "4k3/8/8/6r1/8/8/8/2B1K3", true, "c1", "g5", DropResult::Made, 1},
        DropRow{"BishopBlockedNextToTheTarget", "4k3/8/8/6p1/8/8/8/2B1K3", true, "c1", "h6", DropResult::PutBackRefused, 0},
        DropRow{"RookAlongRowBlocked", "4k3/8/8/8/8/8/8/R1N1K3", true, "a1", "d1", DropResult::PutBackRefused, 0},
        DropRow{"RookAlongRowFree", "4k3/8/8/8/8/8/8/R3K3", true, "a1", "d1", DropResult::Made, 0},
        DropRow{"RookAlongColumnUpBlocked", "4k3/8/8/8/p7/8/8/R3K3", true, "a1", "a8", DropResult::PutBackRefused, 0},
        DropRow{"RookAlongColumnDownBlocked", "r3k3/8/8/8/P7/8/8/4K3", false, "a8", "a1", DropResult::PutBackRefused, 0},
        DropRow{"RookTakesAlongColumn", "r3k3/8/8/8/8/8/8/R3K3", true, "a1", "a8", DropResult::Made, 1},
        DropRow{"RookDiagonal", "4k3/8/8/8/8/8/8/R3K3", true, "a1", "b2", DropResult::PutBackRefused, 0},
        DropRow{"QueenLikeAKnight", "4k3/8/8/8/3Q4/8/8/4K3", true, "d4", "e6", DropResult::PutBackRefused, 0},
        DropRow{"QueenDiagonalBlocked", "4k3/8/8/8/3Q4/4p3/8/4K3", true, "d4", "f2", DropResult::PutBackRefused, 0},
        DropRow{"QueenDiagonalTakes", "4k3/8/8/8/3Q4/4p3/8/4K3", true, "d4", "e3", DropResult::Made, 1},
        DropRow{"QueenAlongRow", "4k3/8/8/8/3Q4/8/8/4K3", true, "d4", "h4", DropResult::Made, 0},
        DropRow{"QueenAlongColumn", "4k3/8/8/8/8/8/8/Q3K3", true, "a1", "a5", DropResult::Made, 0},
        DropRow{"QueenTakesNoKing", "k7/8/8/8/8/8/8/Q3K3", true, "a1", "a8", DropResult::PutBackRefused, 0},
        DropRow{"KingStep", "4k3/8/8/8/8/8/8/4K3", true, "e1", "d2", DropResult::Made, 0},
        DropRow{"KingNoCastling", "4k3/8/8/8/8/8/8/4K2R", true, "e1", "g1", DropResult::PutBackRefused, 0},
        DropRow{"KingIntoAttack", "4k3/8/8/8/8/8/3r4/4K3", true, "e1", "e2", DropResult::Made, 0},
        DropRow{"KingTakesDefendedRook", "4k3/8/8/8/8/8/3r4/3rK3", true, "e1", "d2", DropResult::Made, 1},
        DropRow{"KingOntoOwnFigure", "4k3/8/8/8/8/8/4P3/4K3", true, "e1", "e2", DropResult::PutBackRefused, 0},
        DropRow{"KingTakesNoKing", "8/8/8/8/8/8/3k4/4K3", true, "e1", "d2", DropResult::PutBackRefused, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Drops, OffTheEdgeIsRefusedByOnBoard)
{
    SetUpPosition("4k3/8/8/8/8/8/8/4K3", true);
    Picture* king = board.FigureAt(5, 8);
    ASSERT_NE(king, nullptr);
    board.FromRow = 8;
    board.FromCol = 5;
    // One row below the grid: the king rule allows the step, OnBoard does not.
    EXPECT_EQ(board.KingRule(king, 9, 5), kMogno);
    const PixelPos below = SquareToPixel(kStandard, 9, 5);
    king->SetLeft(below.Left);
    king->SetTop(below.Top);
    ASSERT_EQ(board.SquareOf(*king), (Square{9, 5}));
    EXPECT_EQ(board.JudgeDrop(*king), DropResult::PutBackRefused);
    EXPECT_TRUE(board.WhiteToMove);
}

TEST_F(Drops, ASmallWobbleOnTheOwnSquareGoesBackSilently)
{
    SetUpPosition(kInitial, true);
    // Within 9 pixels sideways and 11 up or down, on every white figure.
    for (const Square from : {Sq("a1"), Sq("h1"), Sq("e2"), Sq("a2")}) {
        for (const auto& [dx, dy] : {std::pair{9, 11}, std::pair{-9, -11}, std::pair{-9, 11}, std::pair{9, -11}}) {
            EXPECT_EQ(Drop(from, from, dx, dy), DropResult::PutBack) << from.Row << "," << from.Column;
        }
    }
    EXPECT_EQ(board.LastMoveText, "before");
}

TEST_F(Drops, ACapturedFigureStaysRemovedAndTheMoveIsRecordedForTheSolutionCheck)
{
    SetUpPosition(kExample, true);
    const std::size_t figures = board.FigureList().size();
    // e3-g5 is the solution's first move; afterwards the program takes on d1
    // with an empty colour, and the user's b3:e6 captures a pawn.
    ASSERT_EQ(Drop(Sq("e3"), Sq("g5")), DropResult::Made);
    EXPECT_EQ(std::optional<std::string>(board.LastMoveText), TokenToMoveKey("e3-g5"));

    Picture* bishop = board.FigureAt(Sq("f3").Column, Sq("f3").Row);
    Picture* rook = board.FigureAt(Sq("d1").Column, Sq("d1").Row);
    ASSERT_NE(bishop, nullptr);
    ASSERT_NE(rook, nullptr);
    EXPECT_TRUE(board.CaptureTarget(bishop, "", Sq("d1").Row, Sq("d1").Column));
    board.MoveFigure(bishop, Sq("d1").Row, 0, 0, Sq("d1").Column);
    EXPECT_EQ(static_cast<FakePicture*>(rook)->ReleaseCount(), 1);
    EXPECT_TRUE(board.WhiteToMove);
    EXPECT_EQ(board.LastMoveText, "00-84");

    ASSERT_EQ(Drop(Sq("b3"), Sq("e6")), DropResult::Made);
    EXPECT_EQ(std::optional<std::string>(board.LastMoveText), TokenToMoveKey("b3:e6"));
    EXPECT_EQ(board.FigureList().size(), figures - 2);
}

TEST_F(Drops, ARecaptureReleasesTheJustDroppedFigureOnlyOnce)
{
    // The user's knight takes on d5 and the program's pawn retakes it: the
    // knight's picture is handed back for deferred release while its own
    // release event would still be running.
    SetUpPosition("4k3/8/4p3/3p4/8/4N3/8/4K3", true);
    ASSERT_EQ(Drop(Sq("e3"), Sq("d5")), DropResult::Made);
    auto* knight = static_cast<FakePicture*>(Moved());
    Picture* pawn = board.FigureAt(Sq("e6").Column, Sq("e6").Row);
    ASSERT_NE(pawn, nullptr);
    EXPECT_TRUE(board.CaptureTarget(pawn, "", Sq("d5").Row, Sq("d5").Column));
    board.MoveFigure(pawn, Sq("d5").Row, 0, 0, Sq("d5").Column);
    EXPECT_EQ(knight->ReleaseCount(), 1);
    EXPECT_EQ(board.CodeOf(knight), "");
    EXPECT_EQ(board.FigureAt(Sq("d5").Column, Sq("d5").Row), pawn);
    board.ClearFigures();
    EXPECT_EQ(knight->ReleaseCount(), 1);
}

TEST_F(Drops, AFigureThatIsNotOnTheBoardCountsAsWhiteAndIsRefused)
{
    SetUpPosition("4k3/8/8/8/8/8/8/4K3", true);
    FakePictureFactory stray;
    Picture* foreign = stray.CreatePicture("wq");
    board.PlaceOnSquare(*foreign, 4, 4);
    board.FromRow = 5;
    board.FromCol = 4;
    EXPECT_EQ(board.JudgeDrop(*foreign), DropResult::PutBackRefused);
    board.WhiteToMove = false;
    EXPECT_EQ(board.JudgeDrop(*foreign), DropResult::PutBack);
}

} // namespace

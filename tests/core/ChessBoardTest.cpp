// Position setup, the square queries and the two operations that change the
// board (CaptureTarget, MoveFigure), on fake pictures.
#include "ChessBoard.h"
#include "FakePicture.h"
#include "Verdict.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const BoardGeometry kStandard{32, 32, 385};

class Board : public testing::Test {
protected:
    FakePictureFactory factory;
    ChessBoard board{factory, kStandard};

    // Codes and squares of FigureList in order, as "br@1,1" entries.
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> out;
        for (const auto& figure : board.FigureList()) {
            const Square s = board.SquareOf(*figure->Image);
            out.push_back(figure->Code + "@" + std::to_string(s.Row) + "," + std::to_string(s.Column));
        }
        return out;
    }
};

struct PlacementRow {
    const char* name;
    const char* placement;
    std::size_t count;
    const char* first; // "" when no figure
    const char* last;
};

class Placement : public Board, public testing::WithParamInterface<PlacementRow> {};

TEST_P(Placement, FiguresInReadingOrder)
{
    const auto& p = GetParam();
    board.PlacePosition(p.placement);
    const auto listing = Listing();
    ASSERT_EQ(listing.size(), p.count);
    if (p.count > 0) {
        EXPECT_EQ(listing.front(), p.first);
        EXPECT_EQ(listing.back(), p.last);
    }
    // Every figure got a picture of its own code.
    for (const auto& figure : board.FigureList())
        EXPECT_EQ(static_cast<FakePicture*>(figure->Image)->SourceCode(), figure->Code);
}

INSTANTIATE_TEST_SUITE_P(
    PlacePosition, Placement,
    testing::Values(
        PlacementRow{"InitialPosition", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 32, "br@1,1", "wr@8,8"},
        PlacementRow{"MiddleGame", "5rk1/p6p/1q2p1p1/2p1Nr2/4Rn2/1P6/P2Q2PP/4R1K1", 19, "br@1,6", "wk@8,7"},
        PlacementRow{"KingsOnly", "4k3/8/8/8/8/8/8/4K3", 2, "bk@1,5", "wk@8,5"},
        PlacementRow{"WholeFenRecord", "8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w - - 0 9", 16, "bp@2,1", "wk@8,7"},
        PlacementRow{"EmptyRanks", "8/8/8/8/8/8/8/8", 0, "", ""}, PlacementRow{"EmptyText", "", 0, "", ""},
        // "0", "9", "-" and unknown letters count no square.
        PlacementRow{"OddCharactersSkipped", "0k9-x/Z8K", 2, "bk@1,1", "wk@2,2"},
        // Squares are counted in reading order; the slashes mean nothing.
        PlacementRow{"SlashesCarryNoMeaning", "3k4K", 2, "bk@1,4", "wk@2,1"},
        PlacementRow{"MoreThanSixtyFourSquares", "8/8/8/8/8/8/8/8/k", 1, "bk@9,1", "bk@9,1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Board, WholeFenRecordGivesTheSameFiguresAsItsPlacementField)
{
    board.PlacePosition("8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1 w - - 0 9");
    const auto whole = Listing();
    board.ClearFigures();
    board.PlacePosition("8/p3P1pk/1p5p/2pBq3/4p3/P5P1/1P3RP1/6K1");
    EXPECT_EQ(Listing(), whole);
}

TEST_F(Board, FiguresArePlacedTopFirstAndStackedInCreationOrder)
{
    board.PlacePosition("r6k/8/8/8/8/8/8/K7");
    const auto& made = factory.Made();
    ASSERT_EQ(made.size(), 3u);
    for (const auto& picture : made)
        EXPECT_EQ(picture->Log(), "TL");
    EXPECT_EQ(made[0]->Left(), 66);
    EXPECT_EQ(made[0]->Top(), 67);
    EXPECT_EQ(made[2]->Top(), 347);
    // A figure created later lies above one created earlier.
    EXPECT_EQ(factory.Stacking().back(), made[2].get());
}

TEST_F(Board, ClearFiguresReleasesEveryPictureOnce)
{
    board.PlacePosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    board.ClearFigures();
    EXPECT_TRUE(board.FigureList().empty());
    for (const auto& picture : factory.Made())
        EXPECT_EQ(picture->ReleaseCount(), 1);
    board.ClearFigures(); // an empty board: nothing more is released
    for (const auto& picture : factory.Made())
        EXPECT_EQ(picture->ReleaseCount(), 1);
}

TEST(BoardLifetime, DestructionReleasesTheRemainingPictures)
{
    FakePictureFactory factory;
    {
        ChessBoard board(factory, kStandard);
        board.PlacePosition("k7/8/8/8/8/8/8/7K");
    }
    ASSERT_EQ(factory.Made().size(), 2u);
    for (const auto& picture : factory.Made())
        EXPECT_EQ(picture->ReleaseCount(), 1);
}

TEST(BoardLifetime, GeometryIsAskedAnewAtEveryPlacement)
{
    FakePictureFactory factory;
    BoardGeometry current = kStandard;
    ChessBoard board(factory, [&current] { return current; });
    TFigure* first = board.CreateFigure(1, "wk", 1);
    ASSERT_NE(first, nullptr);
    current = BoardGeometry{0, 0, 780}; // S = 90
    TFigure* second = board.CreateFigure(2, "bk", 2);
    EXPECT_EQ(first->Image->Left(), 66);
    EXPECT_EQ(second->Image->Left(), 0 + 34 + 90);
    EXPECT_EQ(second->Image->Top(), 0 + 35 + 90);
}

TEST_F(Board, LaterFigureWinsOnASharedSquare)
{
    TFigure* white = board.CreateFigure(4, "wq", 4);
    TFigure* black = board.CreateFigure(4, "bn", 4);
    EXPECT_EQ(board.FigureAt(4, 4), black->Image);
    EXPECT_EQ(board.ColourAt(nullptr, 4, 4), "b");
    // Leaving the later one out of the scan reveals the earlier one.
    EXPECT_EQ(board.ColourAt(black->Image, 4, 4), "w");
    EXPECT_EQ(board.SquareFree(black->Image, 4, 4), kNelza);
    EXPECT_EQ(board.SquareFree(nullptr, 4, 5), kMogno);
    // Order in the list decides, not order of arrival on the square.
    board.PlaceOnSquare(*white->Image, 5, 5);
    board.PlaceOnSquare(*white->Image, 4, 4);
    EXPECT_EQ(board.FigureAt(4, 4), black->Image);
}

TEST_F(Board, QueriesOnEmptyAndForeignSquares)
{
    TFigure* king = board.CreateFigure(8, "wk", 5);
    EXPECT_EQ(board.FigureAt(5, 8), king->Image);
    EXPECT_EQ(board.FigureAt(8, 5), nullptr); // column first, then row
    EXPECT_EQ(board.ColourAt(nullptr, 1, 1), kNet);
    EXPECT_EQ(board.ColourAt(king->Image, 8, 5), kNet); // only the mover there
    EXPECT_EQ(board.SquareFree(king->Image, 8, 5), kMogno);
    EXPECT_EQ(board.SquareFree(nullptr, 0, 9), kMogno); // off the board: free
    EXPECT_EQ(board.CodeOf(king->Image), "wk");
    FakePictureFactory other;
    EXPECT_EQ(board.CodeOf(other.CreatePicture("bq")), "");
    EXPECT_EQ(board.CodeOf(nullptr), "");
}

TEST_F(Board, SquareOfFollowsThePictureNotTheList)
{
    TFigure* rook = board.CreateFigure(1, "br", 1);
    rook->Image->SetLeft(rook->Image->Left() + 40 * 3);
    EXPECT_EQ(board.SquareOf(*rook->Image), (Square{1, 4}));
    EXPECT_EQ(board.FigureAt(4, 1), rook->Image);
    EXPECT_EQ(board.FigureAt(1, 1), nullptr);
}

// ------------------------------------------------------------ CaptureTarget

struct CaptureRow {
    const char* name;
    const char* target;      // code of the figure on the to-square, "" for none
    const char* colour;      // colour letter passed in
    bool expected;
    bool targetRemoved;
};

class Capture : public Board, public testing::WithParamInterface<CaptureRow> {};

TEST_P(Capture, OnTheToSquare)
{
    const auto& p = GetParam();
    Picture* mover = board.CreateFigure(6, "wb", 5)->Image;
    const std::string target = p.target;
    Picture* targetPicture = target.empty() ? nullptr : board.CreateFigure(4, target, 7)->Image;
    const std::size_t before = board.FigureList().size();

    EXPECT_EQ(board.CaptureTarget(mover, p.colour, 4, 7), p.expected);

    EXPECT_EQ(board.FigureList().size(), before - (p.targetRemoved ? 1 : 0));
    if (targetPicture != nullptr) {
        EXPECT_EQ(static_cast<FakePicture*>(targetPicture)->ReleaseCount(), p.targetRemoved ? 1 : 0);
        EXPECT_EQ(board.FigureAt(7, 4) == targetPicture, !p.targetRemoved);
    }
    EXPECT_EQ(static_cast<FakePicture*>(mover)->ReleaseCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    CaptureTarget, Capture,
    testing::Values(CaptureRow{"EmptySquare", "", "w", true, false},
                    CaptureRow{"EnemyFigureIsTaken", "bn", "w", true, true},
                    CaptureRow{"OwnFigureIsNot", "wn", "w", false, false},
                    CaptureRow{"EnemyKingIsNot", "bk", "w", false, false},
                    CaptureRow{"OwnKingIsNot", "wk", "w", false, false},
                    CaptureRow{"EmptyColourTakesWhite", "wr", "", true, true},
                    CaptureRow{"EmptyColourTakesBlack", "bp", "", true, true},
                    CaptureRow{"EmptyColourSparesAKing", "bk", "", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Board, CaptureTakesOnlyTheFirstFigureAndNeverTheMover)
{
    // The TFigure of a captured figure is gone afterwards; keep the pictures.
    auto* first = static_cast<FakePicture*>(board.CreateFigure(4, "bn", 4)->Image);
    auto* second = static_cast<FakePicture*>(board.CreateFigure(4, "bp", 4)->Image);
    Picture* mover = board.CreateFigure(4, "wq", 4)->Image; // already dropped there
    EXPECT_TRUE(board.CaptureTarget(mover, "w", 4, 4));
    EXPECT_EQ(Listing(), (std::vector<std::string>{"bp@4,4", "wq@4,4"}));
    EXPECT_EQ(first->ReleaseCount(), 1);
    EXPECT_EQ(second->ReleaseCount(), 0);
}

TEST_F(Board, AKingBeforeAnEnemyOnTheSameSquareStillLetsTheEnemyBeTaken)
{
    board.CreateFigure(3, "bk", 3);
    board.CreateFigure(3, "br", 3);
    TFigure* mover = board.CreateFigure(5, "wr", 3);
    EXPECT_TRUE(board.CaptureTarget(mover->Image, "w", 3, 3));
    EXPECT_EQ(Listing(), (std::vector<std::string>{"bk@3,3", "wr@5,3"}));
}

TEST_F(Board, CaptureKeepsTheOrderOfTheOthers)
{
    board.PlacePosition("rnb5/8/8/8/8/8/8/7Q");
    Picture* queen = board.FigureList().back()->Image;
    board.PlaceOnSquare(*queen, 1, 2);
    EXPECT_TRUE(board.CaptureTarget(queen, "w", 1, 2));
    EXPECT_EQ(Listing(), (std::vector<std::string>{"br@1,1", "bb@1,3", "wq@1,2"}));
}

// ------------------------------------------------------------- MoveFigure

TEST_F(Board, MoveFigurePlacesFlipsAndRecords)
{
    TFigure* bishop = board.CreateFigure(6, "wb", 5);
    auto* picture = static_cast<FakePicture*>(bishop->Image);
    picture->ClearLog();
    board.WhiteToMove = true;
    board.MoveFigure(bishop->Image, 4, 5, 6, 7);
    EXPECT_EQ(board.SquareOf(*bishop->Image), (Square{4, 7}));
    EXPECT_EQ(picture->Log(), "TL");
    EXPECT_FALSE(board.WhiteToMove);
    EXPECT_EQ(board.LastMoveText, "65-47");

    // The program's moves pass 0 for the from-square.
    board.MoveFigure(bishop->Image, 8, 0, 0, 4);
    EXPECT_TRUE(board.WhiteToMove);
    EXPECT_EQ(board.LastMoveText, "00-84");
}

TEST_F(Board, MoveFigureWithNoPictureDoesNothing)
{
    board.WhiteToMove = true;
    board.LastMoveText = "65-47";
    board.MoveFigure(nullptr, 4, 5, 6, 7);
    EXPECT_TRUE(board.WhiteToMove);
    EXPECT_EQ(board.LastMoveText, "65-47");
}

TEST_F(Board, SnapBackReturnsToThePressedSquare)
{
    TFigure* knight = board.CreateFigure(8, "wn", 7);
    board.FromRow = 8;
    board.FromCol = 7;
    knight->Image->SetLeft(1000);
    knight->Image->SetTop(-400);
    static_cast<FakePicture*>(knight->Image)->ClearLog();
    board.SnapBack(*knight->Image);
    EXPECT_EQ(knight->Image->Left(), 34 + 32 + 6 * 40);
    EXPECT_EQ(knight->Image->Top(), 35 + 32 + 7 * 40);
    EXPECT_EQ(static_cast<FakePicture*>(knight->Image)->Log(), "TL");
}

} // namespace

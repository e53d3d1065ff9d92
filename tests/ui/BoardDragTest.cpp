// Dragging figures with real mouse events on the offscreen platform: snap
// back, refusals and their messages, captures, and a reply that takes the
// very figure just dropped.
#include "MainWindowFixture.h"

#include <QPointer>
#include <QTimer>

namespace {

using BoardDrag = MainWindowFixture;

struct Nudge {
    const char* name;
    QPoint delta;
};

void PrintTo(const Nudge& row, std::ostream* os)
{
    *os << row.name;
}

class SmallDragTable : public MainWindowFixture, public ::testing::WithParamInterface<Nudge> {};

// A figure released at most 9 pixels sideways and 11 up or down from its
// place counts as standing on its own square: it goes back without a word,
// whatever its colour and wherever it stands.
TEST_P(SmallDragTable, EveryFigureGoesBackSilently)
{
    TForm1& form = Form();
    NewTask(1);
    const std::size_t figures = form.FigureList().size();
    ASSERT_EQ(figures, testboards::PieceCount(testboards::WorkedExample().position));

    std::vector<FigurePicture*> all;
    for (const auto& figure : form.FigureList())
        all.push_back(dynamic_cast<FigurePicture*>(figure->Image));
    for (FigurePicture* figure : all) {
        const QPoint home = figure->pos();
        MainWindowFixture::Drag(figure, GetParam().delta);
        EXPECT_EQ(figure->pos(), home) << form.Board().CodeOf(figure);
    }
    EXPECT_TRUE(m_boxes.All.isEmpty());
    EXPECT_TRUE(form.WhiteToMove);
    EXPECT_EQ(form.FigureList().size(), figures);
    EXPECT_TRUE(form.LastMoveText.empty());
    EXPECT_FALSE(form.Dragging);
}

INSTANTIATE_TEST_SUITE_P(Rows, SmallDragTable,
                         ::testing::Values(Nudge{"NoMove", {0, 0}}, Nudge{"Left9", {-9, 0}},
                                           Nudge{"Right9", {9, 0}}, Nudge{"Up11", {0, -11}},
                                           Nudge{"Down11", {0, 11}}, Nudge{"UpLeft", {-9, -11}},
                                           Nudge{"DownRight", {9, 11}}, Nudge{"Odd", {3, -7}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BoardDrag, DragMovesThePictureWithThePointerAndDropsItOnTheSquare)
{
    TForm1& form = Form();
    NewTask(1);
    FigurePicture* queen = FigureOn("d4");
    const QPoint home = queen->pos();
    QTest::mousePress(queen, Qt::LeftButton, {}, {10, 10});
    EXPECT_TRUE(form.Dragging);
    EXPECT_EQ(form.FromRow, 5);
    EXPECT_EQ(form.FromCol, 4);
    // The press point stays under the pointer.
    QTest::mouseMove(queen, {10 + 37, 10 - 121});
    EXPECT_EQ(queen->pos(), home + QPoint(37, -121));
    QTest::mouseMove(queen, {10 + 85, 10 + 3});
    EXPECT_EQ(queen->pos(), home + QPoint(122, -118));
    QTest::mouseRelease(queen, Qt::LeftButton, {}, {10, 10});
    // Released off-centre over g7: the capture is made, and the figure is
    // placed exactly on its square before the (wrong) move is judged.
    EXPECT_EQ(queen->pos(), RestingPlace("g7"));
    EXPECT_EQ(form.LastMoveText, "54-27");
    EXPECT_EQ(CodeOn("g7"), "wq");
    EXPECT_FALSE(form.Dragging);
}

TEST_F(BoardDrag, AnyMouseButtonDrags)
{
    Form();
    NewTask(1);
    FigurePicture* bishop = FigureOn("e3");
    QTest::mousePress(bishop, Qt::RightButton, {}, {17, 17});
    QTest::mouseMove(bishop, {17 + 80, 17 - 80});
    QTest::mouseRelease(bishop, Qt::RightButton, {}, {17, 17});
    EXPECT_EQ(CodeOn("g5"), "wb");
    EXPECT_EQ(m_boxes.All.value(0), Text("Вы угадали ход"));
}

TEST_F(BoardDrag, FigureOfTheOtherSideReturnsSilently)
{
    TForm1& form = Form();
    NewTask(1);
    FigurePicture* blackBishop = FigureOn("f3");
    const QPoint home = blackBishop->pos();
    // It can be carried about freely...
    QTest::mousePress(blackBishop, Qt::LeftButton, {}, {17, 17});
    QTest::mouseMove(blackBishop, {17 - 40, 17 + 40});
    EXPECT_EQ(blackBishop->pos(), home + QPoint(-40, 40));
    QTest::mouseRelease(blackBishop, Qt::LeftButton, {}, {17, 17});
    // ...but goes home without a message.
    EXPECT_EQ(blackBishop->pos(), home);
    EXPECT_TRUE(m_boxes.All.isEmpty());
    EXPECT_TRUE(form.WhiteToMove);

    // With Black to move it is a white figure that goes back.
    NewTask(3);
    FigurePicture* pawn = FigureOn("e2");
    const QPoint pawnHome = pawn->pos();
    MainWindowFixture::Drag(pawn, {0, -80});
    EXPECT_EQ(pawn->pos(), pawnHome);
    EXPECT_TRUE(m_boxes.All.isEmpty());
    EXPECT_FALSE(form.WhiteToMove);
}

struct IllegalCase {
    const char* name;
    int task;
    const char* from;
    QPoint delta;
};

void PrintTo(const IllegalCase& row, std::ostream* os)
{
    *os << row.name;
}

class IllegalDropTable : public MainWindowFixture, public ::testing::WithParamInterface<IllegalCase> {};

// Refused: the figure is back on its square before the message shows, and
// the attempt goes on.
TEST_P(IllegalDropTable, FigureIsHomeBeforeTheMessage)
{
    const IllegalCase& c = GetParam();
    TForm1& form = Form();
    NewTask(c.task);
    FigurePicture* figure = FigureOn(c.from);
    const QPoint home = figure->pos();
    const bool side = form.WhiteToMove;

    bool checked = false;
    m_boxes.WhileOpen = [&](const QString& text) {
        if (text != Text("Данный ход не возможен"))
            return;
        checked = true;
        EXPECT_EQ(figure->pos(), home);
        EXPECT_FALSE(form.Dragging);
        // The clock runs on under the message.
        EXPECT_TRUE(form.Timer2->isActive());
    };
    MainWindowFixture::Drag(figure, c.delta);

    EXPECT_TRUE(checked);
    EXPECT_EQ(m_boxes.All, QStringList{Text("Данный ход не возможен")});
    EXPECT_EQ(figure->pos(), home);
    EXPECT_EQ(form.WhiteToMove, side);
    EXPECT_FALSE(form.TaskOver);
    EXPECT_EQ(form.AttemptCount, 0);
    EXPECT_TRUE(form.LastMoveText.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IllegalDropTable,
    ::testing::Values(IllegalCase{"RookThroughQueen", 1, "d1", {0, -160}},
                      IllegalCase{"PawnTwoStepsOffItsStartRow", 1, "c3", {0, -80}},
                      IllegalCase{"QueenLikeAKnight", 1, "d4", {40, -80}},
                      IllegalCase{"OntoOwnFigure", 1, "d1", {40, 0}},
                      IllegalCase{"OffTheBoardToTheLeft", 1, "d4", {-200, 0}},
                      IllegalCase{"OffTheBoardDownwards", 1, "c1", {0, 40}},
                      // A figure on row 1 lifted 12 pixels counts as row 0.
                      IllegalCase{"TwelvePixelsAboveTheTopRow", 3, "e8", {0, -12}},
                      IllegalCase{"NoCastling", 3, "e8", {80, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BoardDrag, ElevenPixelsAboveTheTopRowIsStillHome)
{
    Form();
    NewTask(3);
    FigurePicture* king = FigureOn("e8");
    const QPoint home = king->pos();
    MainWindowFixture::Drag(king, {0, -11});
    EXPECT_EQ(king->pos(), home);
    EXPECT_TRUE(m_boxes.All.isEmpty());
}

TEST_F(BoardDrag, CapturedFigureIsGoneBeforeTheVerdict)
{
    TForm1& form = Form();
    NewTask(1);
    QPointer<FigurePicture> pawn = FigureOn("e6");
    ASSERT_TRUE(pawn);
    const std::size_t before = form.FigureList().size();

    bool checked = false;
    m_boxes.WhileOpen = [&](const QString& text) {
        checked = text == Text("Вы не угадали ход. Задание не решено");
        EXPECT_TRUE(!pawn || pawn->isHidden());
        EXPECT_EQ(form.FigureList().size(), before - 1);
        EXPECT_EQ(CodeOn("e6"), "wb");
    };
    Play("b3", "e6"); // a legal capture, but not the solution
    EXPECT_TRUE(checked);
    // Released once the event has been handled.
    EXPECT_TRUE(QTest::qWaitFor([&] { return pawn.isNull(); }));
    // The capture stays for the rest of the attempt.
    EXPECT_EQ(form.FigureList().size(), before - 1);
}

TEST_F(BoardDrag, ReplyTakesTheFigureJustDropped)
{
    TForm1& form = Form();
    NewTask(2);
    QPointer<FigurePicture> knight = FigureOn("f5");
    ASSERT_TRUE(knight);
    const std::size_t before = form.FigureList().size();

    m_boxes.WhileOpen = [&](const QString& text) {
        if (text == Text("Вы угадали ход")) {
            // Before the reply the knight stands on h6.
            EXPECT_EQ(CodeOn("h6"), "wn");
        }
    };
    Play("f5", "h6");
    EXPECT_EQ(m_boxes.All, QStringList{Text("Вы угадали ход")});
    // g7:h6 took it within its own release event: it is off the board at
    // once and destroyed afterwards.
    EXPECT_EQ(CodeOn("h6"), "bp");
    EXPECT_EQ(CodeOn("g7"), "");
    EXPECT_EQ(form.FigureList().size(), before - 1);
    for (const auto& figure : form.FigureList())
        EXPECT_NE(figure->Image, static_cast<Picture*>(knight.data()));
    ASSERT_TRUE(knight);
    EXPECT_TRUE(knight->isHidden());
    EXPECT_TRUE(QTest::qWaitFor([&] { return knight.isNull(); }));

    Play("g5", "f6");
    EXPECT_EQ(m_boxes.All.last(), Text("Вариант разыгран. Поздравляем"));
    EXPECT_EQ(form.SolvedCount, 1);
}

TEST_F(BoardDrag, AfterTheAttemptAPressOnlyBringsTheFigureToTheFront)
{
    TForm1& form = Form();
    NewTask(1);
    Play("d4", "d8");
    ASSERT_TRUE(form.TaskOver);
    FigurePicture* pawn = FigureOn("a2"); // created early: low in the stack
    ASSERT_NE(form.ScrollBox1->children().last(), pawn);
    const QPoint home = pawn->pos();
    QTest::mousePress(pawn, Qt::LeftButton, {}, {17, 17});
    EXPECT_FALSE(form.Dragging);
    EXPECT_EQ(form.ScrollBox1->children().last(), pawn);
    QTest::mouseMove(pawn, {17, 17 - 40});
    QTest::mouseRelease(pawn, Qt::LeftButton, {}, {17, 17 - 40});
    EXPECT_EQ(pawn->pos(), home);
    EXPECT_EQ(m_boxes.All.size(), 1);
}

TEST_F(BoardDrag, PressWithoutMoveOnlyRaises)
{
    TForm1& form = Form();
    NewTask(1);
    FigurePicture* rook = FigureOn("a8"); // the first figure created
    const QPoint home = rook->pos();
    QTest::mouseClick(rook, Qt::LeftButton, {}, {5, 30});
    EXPECT_EQ(form.ScrollBox1->children().last(), rook);
    EXPECT_EQ(rook->pos(), home);
    EXPECT_TRUE(m_boxes.All.isEmpty());
}

// A drag that is still going on when the time runs out: the figure goes
// back at once, and its release is not judged.
TEST_F(BoardDrag, FigureReleasedAfterTheTimeOutGoesBackUnjudged)
{
    WriteSetting(SettingId::MoveTime, 1);
    TForm1& form = Form();
    NewTask(1);
    FigurePicture* bishop = FigureOn("e3");
    const QPoint home = bishop->pos();
    QTest::mousePress(bishop, Qt::LeftButton, {}, {17, 17});
    QTest::mouseMove(bishop, {17 + 80, 17 - 80}); // over g5, the right move

    bool homeUnderTheBox = false;
    m_boxes.WhileOpen = [&](const QString&) { homeUnderTheBox = bishop->pos() == home; };
    EXPECT_TRUE(form.ClockTick());
    EXPECT_TRUE(homeUnderTheBox);
    EXPECT_EQ(m_boxes.All, QStringList{Text("Вы не успели решить задание за заданное время")});

    QTest::mouseRelease(bishop, Qt::LeftButton, {}, {17, 17});
    EXPECT_EQ(bishop->pos(), home);
    EXPECT_EQ(m_boxes.All.size(), 1);
    EXPECT_TRUE(form.LastMoveText.empty());
    EXPECT_TRUE(form.WhiteToMove);
    EXPECT_EQ(form.SolutionPos, 1);
    EXPECT_EQ(form.AttemptCount, 1);
    EXPECT_EQ(form.SolvedCount, 0);
}

// A press whose release never arrived (the pointer was taken away) leaves
// no figure stranded between squares.
TEST_F(BoardDrag, UnfinishedDragIsPutBackAtTheNextPress)
{
    TForm1& form = Form();
    NewTask(1);
    FigurePicture* queen = FigureOn("d4");
    const QPoint home = queen->pos();
    QTest::mousePress(queen, Qt::LeftButton, {}, {17, 17});
    QTest::mouseMove(queen, {17 + 25, 17 - 63});
    ASSERT_NE(queen->pos(), home);
    // The release is lost; the next press, on another figure, comes.
    QTest::mousePress(FigureOn("a2"), Qt::LeftButton, {}, {17, 17});
    EXPECT_EQ(queen->pos(), home);
    QTest::mouseRelease(FigureOn("a2"), Qt::LeftButton, {}, {17, 17});
    EXPECT_TRUE(m_boxes.All.isEmpty());
    EXPECT_TRUE(form.LastMoveText.empty());
}

} // namespace

// The main window's wiring on top of the training run (whose rules the
// training tests check): real mouse events, buttons, timers and pictures.
#include "MainWindowFixture.h"
#include "PictureBox.h"

#include <QAction>
#include <QPointer>
#include <QTimer>

namespace {

using MainWindow = MainWindowFixture;
using Texts = std::vector<std::string>;

TEST_F(MainWindow, ButtonsLabelsAndTextPaneShowTheTask)
{
    Write(SettingId::MoveTime, 75);
    Write(SettingId::TaskBase, 1);
    TForm1& form = Form();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tresolvin Тактика"));
    m_tasks[{kTacticsBase, 1}].header = "<b>x</b>\r\n[Black \"y\"]\r\n&amp;"; // shown as plain text
    NewTask(1);
    EXPECT_EQ(std::pair(Clock(), form.TextPaneLines()),
              std::pair(QString("1 15"), QStringList{"<b>x</b>", "[Black \"y\"]", "&amp;",
                                                     QStringLiteral("Ход белых. Найдите оптимальный вариант.")}));
    // The clock ticks by itself.
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.Label5->text() == QStringLiteral("14"); }, 2500));

    QTest::mouseClick(form.Button1, Qt::LeftButton); // playback
    EXPECT_TRUE(!form.Timer2->isActive() && form.Timer1->isActive() && Clock() == "1 15");
    EXPECT_TRUE(QTest::qWaitFor([&] { return CodeOn("g5") == "wb"; }, 2500)); // its first move, a second later
    QTest::mouseClick(form.Button3, Qt::LeftButton); // retry ends it
    EXPECT_TRUE(!form.Timer1->isActive() && CodeOn("e3") == "wb");

    form.N5->trigger();
    form.BaseChanged(2);
    form.MoveTimeChanged(62);
    EXPECT_EQ(std::tuple(m_boxes.All, form.windowTitle(), Clock()),
              std::tuple(Texts{"Количество попыток 0. Результат 0."}, QStringLiteral("Tresolvin Стратегия"), "1 2"));
}

// Under the message box the drop is settled already: a refused figure is
// home (and the clock runs on), a captured one is gone from its square. A
// dragged figure follows the pointer; a small drag goes back silently.
TEST_F(MainWindow, DragsFollowThePointerAndAreSettledBeforeTheMessage)
{
    Form();
    NewTask(1);
    FigurePicture* rook = FigureOn("d1");
    const QPoint home = rook->pos();
    QPointer<FigurePicture> pawn = FigureOn("e6");
    bool rookHome = false, pawnGone = false;
    m_boxes.WhileOpen = [&](const std::string&) { rookHome = rook->pos() == home && Form().Timer2->isActive(); };
    Play("d1", "d5");
    m_boxes.WhileOpen = [&](const std::string&) { pawnGone = pawn && pawn->isHidden() && CodeOn("e6") == "wb"; };
    Play("b3", "e6"); // a capture, but not the solution
    EXPECT_EQ(m_boxes.All, (Texts{"Данный ход не возможен", "Вы не угадали ход. Задание не решено"}));
    EXPECT_TRUE(rookHome && pawnGone && QTest::qWaitFor([&] { return pawn.isNull(); }));

    QTest::mouseClick(Form().Button3, Qt::LeftButton);
    m_boxes.All.clear();
    FigurePicture* queen = FigureOn("d4");
    const QPoint queenHome = queen->pos();
    QTest::mousePress(queen, Qt::LeftButton, {}, {10, 10});
    QTest::mouseMove(queen, {19, -1});
    QTest::mouseRelease(queen, Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(queen->pos(), queenHome);
    QTest::mousePress(queen, Qt::RightButton, {}, {10, 10}); // any button drags, the figure on top
    QTest::mouseMove(queen, {10 + 37, 10 - 121});
    EXPECT_EQ(std::pair(Form().ScrollBox1->children().last(), queen->pos()),
              std::pair(static_cast<QObject*>(queen), queenHome + QPoint(37, -121)));
    QTest::mouseMove(queen, {10 + 85, 10 + 3});
    QTest::mouseRelease(queen, Qt::RightButton, {}, {10, 10});
    EXPECT_EQ(std::pair(queen->pos(), m_boxes.All), std::pair(Place("g7"), Texts{"Вы не угадали ход. Задание не решено"}));
}

TEST_F(MainWindow, ReplyTakesTheFigureJustDropped)
{
    Write(SettingId::MoveLine, 1);
    TForm1& form = Form();
    NewTask(2);
    QPointer<FigurePicture> knight = FigureOn("f5");
    Play("f5", "h6");
    EXPECT_EQ(std::pair(m_boxes.All, CodeOn("h6")), std::pair(Texts{"Вы угадали ход"}, std::string("bp")));
    // Released within its own release event: hidden, deleted afterwards.
    EXPECT_TRUE(knight && knight->isHidden() && QTest::qWaitFor([&] { return knight.isNull(); }));
    // The reply is drawn as a red line on the picture; the clean copy stays.
    const QImage shown = form.Image1->pixmap().toImage();
    EXPECT_TRUE(shown.pixelColor(291, 90) == Qt::red && form.Image14->pixmap().toImage().pixelColor(291, 90) != Qt::red); // g7
    Play("g5", "f6"); // the user's move leaves the line
    EXPECT_EQ(std::tuple(m_boxes.All.back(), form.Image1->isEnabled(), form.Image1->pixmap().toImage()),
              std::tuple("Вариант разыгран. Поздравляем", false, shown));
    NewTask(1);
    EXPECT_TRUE(form.Image1->isEnabled() && form.Image1->pixmap().toImage() == form.Image14->pixmap().toImage());
}

} // namespace

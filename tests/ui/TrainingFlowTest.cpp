// The life of an attempt in the main window: creation, new task, retry, the
// solution check with its counters, and the results command.
#include "MainWindowFixture.h"
#include "PictureBox.h"

#include <QAction>
#include <QLabel>
#include <QTextEdit>
#include <QTimer>

namespace {

using Flow = MainWindowFixture;

// ------------------------------------------------------------- creation

struct CreationCase {
    const char* name;
    int32_t time;  // "vremya" in the file; 0: no key
    int32_t base;  // "baza1" in the file; 0: no key
    const char* caption;
    const char* minutes;
    const char* seconds;
};

void PrintTo(const CreationCase& row, std::ostream* os)
{
    *os << row.name;
}

class CreationTable : public MainWindowFixture, public ::testing::WithParamInterface<CreationCase> {};

TEST_P(CreationTable, CaptionAndClockFollowTheSettingsFile)
{
    const CreationCase& c = GetParam();
    if (c.time != 0)
        WriteSetting(SettingId::MoveTime, c.time);
    if (c.base != 0)
        WriteSetting(SettingId::TaskBase, c.base);
    TForm1& form = Form();
    EXPECT_EQ(form.windowTitle(), Text(c.caption));
    EXPECT_EQ(form.Label1->text(), Text(c.minutes));
    EXPECT_EQ(form.Label5->text(), Text(c.seconds));
    // Nothing runs before the first task.
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.CurrentTaskNumber, 10000);
    EXPECT_TRUE(form.UsedTasks.empty());
    EXPECT_TRUE(form.FigureList().empty());
    EXPECT_EQ(form.TextPaneLines(), QStringList{Text("Tresolvin Версия 1.2")});
    EXPECT_TRUE(m_boxes.All.isEmpty());
    // Creation writes nothing.
    if (c.time == 0 && c.base == 0) {
        EXPECT_FALSE(std::filesystem::exists(SettingsFilePath()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CreationTable,
    ::testing::Values(CreationCase{"NoFile", 0, 0, "Tresolvin Тактика", "3", "0"},
                      CreationCase{"Strategy", 0, 2, "Tresolvin Стратегия", "3", "0"},
                      CreationCase{"UnknownBaseKeepsPlainCaption", 0, 3, "Tresolvin", "3", "0"},
                      CreationCase{"NinetySeconds", 90, 1, "Tresolvin Тактика", "1", "30"},
                      CreationCase{"FiftyNineSeconds", 59, 0, "Tresolvin Тактика", "0", "59"}),
    [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------- new task

TEST_F(Flow, NewTaskShowsTheDrawnTaskAndStartsTheClock)
{
    WriteSetting(SettingId::MoveTime, 75);
    TForm1& form = Form();
    NewTask(1);

    EXPECT_EQ(form.CurrentTaskNumber, 1);
    EXPECT_EQ(form.CurrentTaskBase, kTacticsBase);
    EXPECT_EQ(form.UsedTasks, std::vector<int32_t>{1});
    EXPECT_EQ(m_random.Reseeds, 1);
    EXPECT_EQ(m_random.Bounds, std::vector<int32_t>{225});
    EXPECT_EQ(form.TaskSolution, "e3-g5 f3:d1 b3:e6");
    EXPECT_TRUE(form.WhiteToMove);
    EXPECT_EQ(form.SolutionPos, 1);
    EXPECT_FALSE(form.TaskOver);
    const std::size_t pieces = testboards::PieceCount(form.TaskPosition);
    EXPECT_EQ(pieces, 23u);
    EXPECT_EQ(form.FigureList().size(), pieces);
    EXPECT_EQ(CodeOn("e3"), "wb");
    EXPECT_EQ(CodeOn("f3"), "bb");
    EXPECT_EQ(form.Label1->text(), "1");
    EXPECT_EQ(form.Label5->text(), "15");
    EXPECT_TRUE(form.Timer2->isActive());
    EXPECT_EQ(form.Timer2->interval(), 1000);
    EXPECT_TRUE(m_boxes.All.isEmpty());
}

TEST_F(Flow, StrategyBaseDrawsFromOneHundredEightyNine)
{
    WriteSetting(SettingId::TaskBase, 2);
    TForm1& form = Form();
    NewTask(1);
    EXPECT_EQ(m_random.Bounds, std::vector<int32_t>{189});
    EXPECT_EQ(form.CurrentTaskBase, kStrategyBase);
    EXPECT_EQ(form.TaskSolution, "f4-f5");
}

TEST_F(Flow, UnknownBaseDrawsAndLoadsNothing)
{
    WriteSetting(SettingId::TaskBase, 3);
    TForm1& form = Form();
    form.Button2Click();
    EXPECT_TRUE(m_random.Bounds.empty());
    EXPECT_EQ(m_loads, 0);
    EXPECT_EQ(form.CurrentTaskNumber, 10000);
    EXPECT_TRUE(form.UsedTasks.empty());
    EXPECT_EQ(form.TextPaneLines(), QStringList{QString()});
    // The clock still starts, as for any new task.
    EXPECT_TRUE(form.Timer2->isActive());
}

TEST_F(Flow, NewTaskNeverRepeatsBelowTheLimitAndGivesTaskOneAtIt)
{
    TForm1& form = Form();
    // The draw meets the used number 1 first and goes on to 3.
    NewTask(1);
    m_random.Push(0);
    m_random.Push(2);
    form.Button2Click();
    EXPECT_EQ(form.CurrentTaskNumber, 3);
    EXPECT_EQ(m_random.Left(), 0u);

    // 200 entries (retries count too): task 1 without any draw.
    while (form.UsedTasks.size() < 200)
        form.Button3Click();
    const std::size_t draws = m_random.Bounds.size();
    form.Button2Click();
    EXPECT_EQ(form.CurrentTaskNumber, 1);
    EXPECT_EQ(form.UsedTasks.back(), 1);
    EXPECT_EQ(form.UsedTasks.size(), 201u);
    EXPECT_EQ(m_random.Bounds.size(), draws);
}

// ---------------------------------------------------------------- text pane

TEST_F(Flow, TextPaneWithAndWithoutTheHint)
{
    TForm1& form = Form();
    const QStringList header = {Text("[White \"Alpha.\"]"), Text("[Black \"Beta.\"]"), Text("[EventDate \"1945\"]")};
    const QString task = Text("Ход белых. Найдите оптимальный вариант.");

    // New task decides with the switch as it stands in memory.
    HintSetting = 1;
    NewTask(1);
    const QStringList withHint = header + QStringList{task, Text("Подсказка"), Text("Попробуйте выиграть на связке.")};
    EXPECT_EQ(form.TextPaneLines(), withHint);

    // It then re-read the file (no key: 0); retry reads the file before
    // showing the texts, so the hint is gone.
    form.Button3Click();
    EXPECT_EQ(form.TextPaneLines(), header + QStringList{task});

    // Retry after the file turned the hint on shows it at once.
    WriteSetting(SettingId::Hint, 1);
    form.Button3Click();
    EXPECT_EQ(form.TextPaneLines().size(), 6);

    // Playback never shows the hint.
    form.Button1Click();
    EXPECT_EQ(form.TextPaneLines(), header + QStringList{task});
}

TEST_F(Flow, HeaderThatLooksLikeMarkupIsShownAsText)
{
    m_tasks[{kTacticsBase, 1}].header = "<b>bold</b>\r\n[Black \"x\"]\r\n&amp;";
    TForm1& form = Form();
    NewTask(1);
    const QStringList expected = {"<b>bold</b>", "[Black \"x\"]", "&amp;"};
    EXPECT_EQ(form.TextPaneLines().mid(0, 3), expected);
}

// ----------------------------------------------------------------- retry

TEST_F(Flow, RetryBeforeAnyTaskOnlySaysSo)
{
    TForm1& form = Form();
    form.Button3Click();
    EXPECT_EQ(m_boxes.All, QStringList{Text("Задание еще не определено")});
    EXPECT_TRUE(form.UsedTasks.empty());
    EXPECT_TRUE(form.FigureList().empty());
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_EQ(m_loads, 0);
}

TEST_F(Flow, RetrySetsTheSameTaskUpAgainAndCountsIt)
{
    TForm1& form = Form();
    NewTask(1);
    Play("d4", "d8"); // a wrong move ends the attempt
    ASSERT_TRUE(form.TaskOver);
    form.Button3Click();
    form.Button3Click();
    EXPECT_EQ(form.UsedTasks, (std::vector<int32_t>{1, 1, 1}));
    EXPECT_FALSE(form.TaskOver);
    EXPECT_EQ(form.SolutionPos, 1);
    EXPECT_TRUE(form.Timer2->isActive());
    EXPECT_TRUE(form.Image1->isEnabled());
    EXPECT_EQ(CodeOn("d4"), "wq");
    EXPECT_EQ(CodeOn("d8"), "");
    EXPECT_EQ(form.FigureList().size(), testboards::PieceCount(form.TaskPosition));
    // Retry draws nothing but re-seeds.
    EXPECT_EQ(m_random.Bounds.size(), 1u);
    EXPECT_EQ(m_random.Reseeds, 3);
    // An abandoned attempt is not counted; the ended one was.
    EXPECT_EQ(form.AttemptCount, 1);
}

TEST_F(Flow, RetryAndPlaybackLoadFromTheCollectionTheTaskCameFrom)
{
    TForm1& form = Form();
    NewTask(2);
    ASSERT_EQ(form.TaskSolution, "f5-h6 g7:h6 g5:f6");

    // The base dialog switches to strategy (which has no test 2 here).
    TaskBaseSetting = 2;
    WriteSetting(SettingId::TaskBase, 2);

    form.Button3Click();
    EXPECT_EQ(form.TaskSolution, "f5-h6 g7:h6 g5:f6");
    const std::size_t pieces = testboards::PieceCount(testboards::Recapture().position);
    EXPECT_EQ(form.FigureList().size(), pieces);
    EXPECT_EQ(form.TextPaneLines().value(3), Text("Ход белых. Найдите оптимальный вариант."));

    form.Button1Click();
    EXPECT_EQ(form.TaskSolution, "f5-h6 g7:h6 g5:f6");
    EXPECT_EQ(form.FigureList().size(), pieces);
    for (int i = 0; i < 3; ++i)
        form.Timer1Timer();
    EXPECT_TRUE(m_boxes.All.isEmpty());
    EXPECT_EQ(CodeOn("f6"), "wb");

    // The next new task comes from the new base.
    NewTask(1);
    EXPECT_EQ(form.CurrentTaskBase, kStrategyBase);
    EXPECT_EQ(form.TaskSolution, "f4-f5");
}

// ------------------------------------------------------- solution check

TEST_F(Flow, CorrectMovesGetTheReplyAndTheLastOneSolves)
{
    TForm1& form = Form();
    NewTask(1);

    const std::size_t pieces = form.FigureList().size();
    Play("e3", "g5");
    EXPECT_EQ(m_boxes.All, QStringList{Text("Вы угадали ход")});
    // The reply f3:d1 took the rook on d1.
    EXPECT_EQ(CodeOn("d1"), "bb");
    EXPECT_EQ(CodeOn("f3"), "");
    EXPECT_EQ(form.FigureList().size(), pieces - 1);
    EXPECT_EQ(form.SolutionPos, 13);
    EXPECT_TRUE(form.WhiteToMove);
    EXPECT_FALSE(form.TaskOver);
    EXPECT_TRUE(form.Timer2->isActive());

    const QString minutes = form.Label1->text();
    const QString seconds = form.Label5->text();
    Play("b3", "e6");
    EXPECT_EQ(m_boxes.All, (QStringList{Text("Вы угадали ход"), Text("Вариант разыгран. Поздравляем")}));
    EXPECT_TRUE(form.TaskOver);
    EXPECT_EQ(form.AttemptCount, 1);
    EXPECT_EQ(form.SolvedCount, 1);
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_FALSE(form.Image1->isEnabled());
    EXPECT_EQ(form.Label1->text(), minutes);
    EXPECT_EQ(form.Label5->text(), seconds);
    EXPECT_EQ(form.SolutionPos, 13);
}

struct WrongCase {
    const char* name;
    bool afterFirstMove; // play the correct first move before the wrong one
    const char* from;
    const char* to;
    int solutionPosAfter;
    bool imageDisabled;
};

void PrintTo(const WrongCase& row, std::ostream* os)
{
    *os << row.name;
}

class WrongMoveTable : public MainWindowFixture, public ::testing::WithParamInterface<WrongCase> {};

TEST_P(WrongMoveTable, EndsTheAttemptCountedOnceAndUnsolved)
{
    const WrongCase& c = GetParam();
    TForm1& form = Form();
    NewTask(1);
    if (c.afterFirstMove)
        Play("e3", "g5");
    m_boxes.Clear();

    // The clock is already stopped and the attempt counted when the verdict
    // is shown, so a clock event under the message changes nothing.
    bool checkedUnderTheBox = false;
    m_boxes.WhileOpen = [&](const QString& text) {
        if (text != Text("Вы не угадали ход. Задание не решено"))
            return;
        checkedUnderTheBox = true;
        EXPECT_FALSE(form.Timer2->isActive());
        EXPECT_TRUE(form.TaskOver);
        EXPECT_EQ(form.AttemptCount, 1);
    };
    Play(c.from, c.to);

    EXPECT_TRUE(checkedUnderTheBox);
    EXPECT_EQ(m_boxes.All, QStringList{Text("Вы не угадали ход. Задание не решено")});
    EXPECT_TRUE(form.TaskOver);
    EXPECT_EQ(form.AttemptCount, 1);
    EXPECT_EQ(form.SolvedCount, 0);
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_EQ(form.SolutionPos, c.solutionPosAfter);
    EXPECT_EQ(form.Image1->isEnabled(), !c.imageDisabled);
    // Nothing is undone: the figure stays where it was dropped, no reply.
    EXPECT_EQ(FigureOn(c.to)->pos(), RestingPlace(c.to));
    EXPECT_FALSE(form.WhiteToMove);

    // And no figure can be dragged any more.
    FigurePicture* moved = FigureOn(c.to);
    const QPoint before = moved->pos();
    Drag(moved, {0, 40});
    EXPECT_EQ(moved->pos(), before);
    EXPECT_EQ(m_boxes.All.size(), 1);
    EXPECT_EQ(form.AttemptCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, WrongMoveTable,
                         ::testing::Values(WrongCase{"WrongFirstMove", false, "d4", "d8", 7, false},
                                           WrongCase{"WrongLastMove", true, "d4", "d8", 13, true},
                                           WrongCase{"RightSquaresWrongOrder", false, "b3", "e6", 7, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Flow, SolvedVerdictIsShownWithTheClockStopped)
{
    TForm1& form = Form();
    NewTask(3); // Black to move, one token
    bool checked = false;
    m_boxes.WhileOpen = [&](const QString& text) {
        checked = text == Text("Вариант разыгран. Поздравляем");
        EXPECT_FALSE(form.Timer2->isActive());
        EXPECT_EQ(form.AttemptCount, 1);
        EXPECT_EQ(form.SolvedCount, 1);
        // A clock event that was already queued finds the clock stopped and
        // the attempt over; it must not count a time-out on top.
    };
    Play("e8", "d8");
    EXPECT_TRUE(checked);
    EXPECT_EQ(m_boxes.All, QStringList{Text("Вариант разыгран. Поздравляем")});
    EXPECT_EQ(form.AttemptCount, 1);
    EXPECT_EQ(form.SolvedCount, 1);
}

// --------------------------------------------------------------- results

TEST_F(Flow, ResultsCountEndedAndSolvedAttempts)
{
    TForm1& form = Form();
    form.N5->trigger();
    EXPECT_EQ(m_boxes.All.last(), Text("Количество попыток 0. Результат 0."));

    NewTask(1);
    Play("d4", "d8"); // failed
    form.Button3Click();
    Play("e3", "g5");
    Play("b3", "e6"); // solved
    form.Button3Click();
    Play("e3", "g5"); // abandoned by the playback below: not counted
    form.Button1Click();
    NewTask(3);
    Play("e8", "d8"); // solved
    form.Button3Click();
    Play("e8", "e7"); // failed

    m_boxes.Clear();
    form.N5->trigger();
    EXPECT_EQ(m_boxes.All, QStringList{Text("Количество попыток 4. Результат 2.")});
    EXPECT_EQ(form.AttemptCount, 4);
    EXPECT_EQ(form.SolvedCount, 2);
}

// ---------------------------------------------------------------- move line

TEST_F(Flow, ProgramMovesAreDrawnAsARedLineOnlyWhenSwitchedOn)
{
    WriteSetting(SettingId::MoveLine, 1);
    TForm1& form = Form();
    NewTask(1);
    // The line of f3:d1 runs from (251, 250) to (183, 318) of the picture.
    const QPoint middle(217, 284);
    auto pixel = [&](const PictureBox* box) { return box->pixmap().toImage().pixelColor(middle); };
    ASSERT_NE(pixel(form.Image1), QColor(255, 0, 0));

    Play("e3", "g5");
    EXPECT_EQ(pixel(form.Image1), QColor(255, 0, 0));
    EXPECT_EQ(form.Image1->pixmap().toImage().pixelColor(251, 250), QColor(255, 0, 0));
    // The clean copy stays clean.
    EXPECT_NE(pixel(form.Image14), QColor(255, 0, 0));

    // The user's own move leaves the line where it is.
    Play("b3", "e6");
    EXPECT_EQ(pixel(form.Image1), QColor(255, 0, 0));

    // A new task wipes it.
    NewTask(2);
    EXPECT_EQ(form.Image1->pixmap().toImage(), form.Image14->pixmap().toImage());
}

TEST_F(Flow, NoLineWhenSwitchedOff)
{
    TForm1& form = Form();
    NewTask(1);
    const QImage clean = form.Image14->pixmap().toImage();
    Play("e3", "g5");
    EXPECT_EQ(form.Image1->pixmap().toImage(), clean);
}

} // namespace

// The task clock on the main window's labels and the playback of a
// solution. Timer events are delivered by calling the timers' handlers, one
// call per event, so nothing here depends on the wall clock.
#include "MainWindowFixture.h"

#include <QLabel>
#include <QTimer>

namespace {

using ClockAndPlayback = MainWindowFixture;

struct ClockCase {
    const char* name;
    int32_t time;
    const char* startMinutes;
    const char* startSeconds;
    std::vector<std::pair<const char*, const char*>> firstTicks;
    int ticksToTimeOut;
};

void PrintTo(const ClockCase& row, std::ostream* os)
{
    *os << row.name;
}

class ClockTable : public MainWindowFixture, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(ClockTable, LabelsCountDownToTheTimeOut)
{
    const ClockCase& c = GetParam();
    WriteSetting(SettingId::MoveTime, c.time);
    TForm1& form = Form();
    NewTask(1);
    EXPECT_EQ(form.Label1->text(), c.startMinutes);
    EXPECT_EQ(form.Label5->text(), c.startSeconds);

    int ticks = 0;
    while (m_boxes.All.isEmpty() && ticks < 100000) {
        const bool timedOut = form.ClockTick();
        ++ticks;
        EXPECT_EQ(timedOut, !m_boxes.All.isEmpty());
        if (static_cast<std::size_t>(ticks) <= c.firstTicks.size()) {
            const auto& [minutes, seconds] = c.firstTicks[static_cast<std::size_t>(ticks) - 1];
            EXPECT_EQ(form.Label1->text(), minutes) << "tick " << ticks;
            EXPECT_EQ(form.Label5->text(), seconds) << "tick " << ticks;
        }
    }
    EXPECT_EQ(ticks, c.ticksToTimeOut);
    EXPECT_EQ(m_boxes.All, QStringList{Text("Вы не успели решить задание за заданное время")});
    EXPECT_EQ(form.Label1->text(), "0");
    EXPECT_EQ(form.Label5->text(), "0");
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_TRUE(form.TaskOver);
    EXPECT_EQ(form.AttemptCount, 1);
    EXPECT_EQ(form.SolvedCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ClockTable,
    ::testing::Values(ClockCase{"Default180", 180, "3", "0", {{"2", "59"}, {"2", "58"}}, 180},
                      ClockCase{"Seconds61", 61, "1", "1", {{"1", "0"}, {"0", "59"}}, 61},
                      ClockCase{"Seconds60", 60, "1", "0", {{"0", "59"}}, 60},
                      ClockCase{"Seconds59", 59, "0", "59", {{"0", "58"}}, 59},
                      // A time of 0 or less runs out at the first tick
                      // instead of counting into negative numbers.
                      ClockCase{"ZeroSeconds", 0, "0", "0", {{"0", "0"}}, 1},
                      ClockCase{"NegativeTime", -90, "-1", "-30", {{"0", "0"}}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClockAndPlayback, TimeOutWhileTheGuessedMessageIsOpen)
{
    WriteSetting(SettingId::MoveTime, 1);
    TForm1& form = Form();
    NewTask(1);

    m_boxes.WhileOpen = [&](const QString& text) {
        if (text != Text("Вы угадали ход"))
            return;
        // The clock runs on under the message, and its last second passes.
        EXPECT_TRUE(form.Timer2->isActive());
        form.Timer2Timer();
    };
    Play("e3", "g5");

    EXPECT_EQ(m_boxes.All,
              (QStringList{Text("Вы угадали ход"), Text("Вы не успели решить задание за заданное время")}));
    EXPECT_TRUE(form.TaskOver);
    EXPECT_EQ(form.AttemptCount, 1);
    EXPECT_EQ(form.SolvedCount, 0);
    EXPECT_FALSE(form.Timer2->isActive());
    // The reply still came when the box was closed.
    EXPECT_EQ(CodeOn("d1"), "bb");
    EXPECT_EQ(form.SolutionPos, 13);

    // No further move is possible, and nothing counts again.
    m_boxes.WhileOpen = nullptr;
    FigurePicture* bishop = FigureOn("b3");
    const QPoint home = bishop->pos();
    Play("b3", "e6");
    EXPECT_EQ(bishop->pos(), home);
    EXPECT_EQ(CodeOn("e6"), "bp");
    EXPECT_EQ(m_boxes.All.size(), 2);
    EXPECT_EQ(form.AttemptCount, 1);
    EXPECT_EQ(form.SolvedCount, 0);
}

TEST_F(ClockAndPlayback, ClockDisplaySetWhileRunningIsCountedFrom)
{
    TForm1& form = Form();
    NewTask(1);
    form.ClockTick();
    form.SetClockDisplay(62); // what confirming the options dialog does
    EXPECT_EQ(form.Label1->text(), "1");
    EXPECT_EQ(form.Label5->text(), "2");
    EXPECT_TRUE(form.Timer2->isActive());
    form.ClockTick();
    EXPECT_EQ(form.Label1->text(), "1");
    EXPECT_EQ(form.Label5->text(), "1");
}

// ----------------------------------------------------------------- playback

struct PlaybackCase {
    const char* name;
    int task;
    std::vector<std::pair<const char*, std::string>> afterTick; // a square and its code after each tick
};

void PrintTo(const PlaybackCase& row, std::ostream* os)
{
    *os << row.name;
}

class PlaybackTable : public MainWindowFixture, public ::testing::WithParamInterface<PlaybackCase> {};

TEST_P(PlaybackTable, PlaysNTokensInNTicksFromTheStartPosition)
{
    const PlaybackCase& c = GetParam();
    WriteSetting(SettingId::MoveInterval, 2);
    TForm1& form = Form();
    NewTask(c.task);
    const std::string start = form.TaskPosition;
    // Spoil the board first: playback starts from the task's start.
    const std::size_t figures = form.FigureList().size();
    form.ClockTick();
    form.Button1Click();

    EXPECT_TRUE(form.TaskOver);
    EXPECT_EQ(form.FigureList().size(), figures);
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 2000);
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_EQ(form.Label1->text(), "3");
    EXPECT_EQ(form.Label5->text(), "0");
    EXPECT_EQ(form.SolutionPos, 1);
    EXPECT_EQ(form.UsedTasks, (std::vector<int32_t>{c.task, c.task}));

    const std::size_t n = c.afterTick.size();
    for (std::size_t i = 0; i < n; ++i) {
        EXPECT_TRUE(form.Timer1->isActive()) << "stopped before tick " << i + 1;
        form.Timer1Timer();
        EXPECT_EQ(CodeOn(c.afterTick[i].first), c.afterTick[i].second) << "after tick " << i + 1;
    }
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.SolutionPos, static_cast<int>(1 + 6 * n));
    EXPECT_TRUE(m_boxes.All.isEmpty());
    EXPECT_EQ(form.AttemptCount, 0);
    EXPECT_EQ(form.SolvedCount, 0);
    EXPECT_TRUE(form.TaskOver);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlaybackTable,
    ::testing::Values(PlaybackCase{"OneToken", 3, {{"d8", "bk"}}},
                      PlaybackCase{"ThreeTokens", 1, {{"g5", "wb"}, {"d1", "bb"}, {"e6", "wb"}}},
                      PlaybackCase{"ReplyRecaptures", 2, {{"h6", "wn"}, {"h6", "bp"}, {"f6", "wb"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClockAndPlayback, PlaybackInTheMiddleOfAnAttemptCountsNothing)
{
    TForm1& form = Form();
    NewTask(1);
    Play("e3", "g5");
    form.ClockTick();
    form.Button1Click();
    EXPECT_EQ(form.AttemptCount, 0);
    EXPECT_EQ(form.SolvedCount, 0);
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_EQ(form.Label1->text(), "3");
    EXPECT_EQ(form.Label5->text(), "0");
    // Back at the start position before the first move is played.
    EXPECT_EQ(CodeOn("e3"), "wb");
    EXPECT_EQ(CodeOn("d1"), "wr");
    EXPECT_EQ(CodeOn("g5"), "");
    // Figures are locked during the playback.
    FigurePicture* queen = FigureOn("d4");
    const QPoint home = queen->pos();
    Drag(queen, {0, -40});
    EXPECT_EQ(queen->pos(), home);
}

TEST_F(ClockAndPlayback, PlaybackBeforeAnyTaskOnlySaysSo)
{
    TForm1& form = Form();
    form.Button1Click();
    EXPECT_EQ(m_boxes.All, QStringList{Text("Задание еще не определено")});
    EXPECT_TRUE(form.TaskOver);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(form.FigureList().empty());
    EXPECT_EQ(m_loads, 0);
}

struct IntervalCase {
    const char* name;
    int32_t seconds;
    int expectedMs;
};

void PrintTo(const IntervalCase& row, std::ostream* os)
{
    *os << row.name;
}

class PlaybackIntervalTable : public MainWindowFixture, public ::testing::WithParamInterface<IntervalCase> {};

// An interval of 0 or less would never fire: it plays at one move a second.
TEST_P(PlaybackIntervalTable, TimerRunsAtTheSettingOrTheDefault)
{
    WriteSetting(SettingId::MoveInterval, GetParam().seconds);
    TForm1& form = Form();
    NewTask(1);
    form.Button1Click();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), GetParam().expectedMs);
}

INSTANTIATE_TEST_SUITE_P(Rows, PlaybackIntervalTable,
                         ::testing::Values(IntervalCase{"Default", 1, 1000}, IntervalCase{"Three", 3, 3000},
                                           IntervalCase{"Zero", 0, 1000}, IntervalCase{"Negative", -4, 1000}),
                         [](const auto& info) { return std::string(info.param.name); });

struct StopCase {
    const char* name;
    bool retry; // else a new task
};

void PrintTo(const StopCase& row, std::ostream* os)
{
    *os << row.name;
}

class PlaybackStopTable : public MainWindowFixture, public ::testing::WithParamInterface<StopCase> {};

// A running playback ends with a new task or a retry; its remaining events
// would otherwise play the new line on the new board.
TEST_P(PlaybackStopTable, NewTaskAndRetryEndTheRunningPlayback)
{
    TForm1& form = Form();
    NewTask(1);
    form.Button1Click();
    form.Timer1Timer();
    ASSERT_TRUE(form.Timer1->isActive());
    if (GetParam().retry)
        form.Button3Click();
    else
        NewTask(2);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.TaskOver);
    EXPECT_TRUE(form.Timer2->isActive());
    EXPECT_EQ(form.SolutionPos, 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, PlaybackStopTable,
                         ::testing::Values(StopCase{"Retry", true}, StopCase{"NewTask", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClockAndPlayback, UnplayableTokenIsReportedOnceAndSkipped)
{
    m_tasks[{kTacticsBase, 1}].solution = "e3-g5 zz-q9 b3:e6";
    TForm1& form = Form();
    NewTask(1);
    form.Button1Click();

    // Timer events keep coming while the message is open; they go on with
    // the next token instead of showing the same message again.
    int nested = 0;
    m_boxes.WhileOpen = [&](const QString&) {
        if (nested++ == 0)
            form.Timer1Timer();
    };
    form.Timer1Timer();
    form.Timer1Timer();
    EXPECT_EQ(m_boxes.All, QStringList{Text("Данная операция сейчас не возможна")});
    EXPECT_EQ(CodeOn("e6"), "wb");
    EXPECT_FALSE(form.Timer1->isActive());
}

} // namespace

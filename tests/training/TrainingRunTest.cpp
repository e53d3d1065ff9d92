// The training run on a fake view: new task and retry, the draw, the
// solution check and the replies, the clock, the playback and the results.
#include "RunFixture.h"

#include <limits>
#include <set>

namespace {

using TrainingRunTest = RunFixture;
using Lines = std::vector<std::string>;

// The messages, as the user reads them.
const std::string kGuessedText = "Вы угадали ход";
const std::string kNotGuessedText = "Вы не угадали ход. Задание не решено";
const std::string kSolvedText = "Вариант разыгран. Поздравляем";
const std::string kTimeOutText = "Вы не успели решить задание за заданное время";
const std::string kNoTaskText = "Задание еще не определено";
const std::string kMoveImpossibleText = "Данный ход не возможен";
const std::string kOperationImpossibleText = "Данная операция сейчас не возможна";

TEST_F(TrainingRunTest, CreationFollowsTheSettingsFile)
{
    EXPECT_EQ(std::tuple(run.Dragging(), run.TaskOver(), run.WhiteToMove(), run.SolutionPos(), run.TaskSolution()),
              std::tuple(false, false, false, 0, ""));
    const std::tuple<int32_t, int32_t, const char*, ClockDisplay> rows[] = { // time, base (0: no key), caption, clock
        {0, 0, "Tresolvin Тактика", {3, 0}}, {0, 3, "Tresolvin", {3, 0}}, {90, 2, "Tresolvin Стратегия", {1, 30}}};
    for (const auto& [time, base, caption, clock] : rows) {
        std::filesystem::remove(SettingsFilePath());
        for (const auto& [id, value] : {std::pair{SettingId::MoveTime, time}, {SettingId::TaskBase, base}})
            if (value)
                Write(id, value);
        run.FormCreate();
        EXPECT_EQ(std::tuple(view.Caption, view.Clock, run.CurrentTaskNumber()), std::tuple(caption, clock, 10000));
    }
    EXPECT_TRUE(!view.ClockRunning && view.Notices.empty() && view.Errors.empty());
    // Retry and playback before any task only say so.
    run.Button3Click();
    run.Button1Click();
    EXPECT_EQ(std::tuple(view.Notices, run.TaskOver(), run.UsedTasks().size(), view.ClockRunning, view.PlaybackMs, loads),
              std::tuple(Lines{kNoTaskText, kNoTaskText}, true, 0u, false, 0, 0));
}

TEST_F(TrainingRunTest, NewTaskShowsTheDrawnTaskAndStartsTheClock)
{
    Write(SettingId::MoveTime, 75);
    HintSetting = 1; // decided by the switch in memory, then re-read (off)
    NewTask(1);
    EXPECT_EQ(std::tuple(run.CurrentTaskNumber(), run.UsedTasks(), random.Reseeds, random.Bounds, run.TaskSolution()),
              std::tuple(1, std::vector<int32_t>{1}, 1, std::vector<int32_t>{kTacticsCount}, "e3-g5 f3:d1 b3:e6"));
    EXPECT_EQ(std::tuple(run.WhiteToMove(), run.SolutionPos(), run.TaskOver(), run.FigureList().size(), CodeOn("e3")),
              std::tuple(true, 1, false, 23u, "wb"));
    EXPECT_EQ(std::tuple(view.Clock, view.ClockRunning, view.Line), std::tuple(ClockDisplay{1, 15}, true, std::nullopt));
    const Lines header{"[White \"Alpha.\"]", "[Black \"Beta.\"]", "[EventDate \"1945\"]",
                       "Ход белых. Найдите оптимальный вариант."};
    Lines withHint = header;
    withHint.insert(withHint.end(), {"Подсказка", "Попробуйте выиграть на связке."});
    EXPECT_EQ(std::pair(view.Text, HintSetting), std::pair(withHint, 0));

    // Retry reads the file before it shows the texts; playback never shows
    // the hint.
    run.ClockTick();
    run.Button3Click();
    EXPECT_EQ(std::tuple(view.Text, view.Clock, view.ClockRunning), std::tuple(header, ClockDisplay{1, 15}, true));
    Write(SettingId::Hint, 1);
    run.Button3Click();
    const Lines retried = view.Text;
    run.Button1Click();
    EXPECT_EQ(std::tuple(retried, view.Text, run.UsedTasks(), random.Reseeds, view.Notices.size()),
              std::tuple(withHint, header, std::vector<int32_t>{1, 1, 1, 1}, 3, 0u));
}

TEST_F(TrainingRunTest, TheDrawFollowsTheBaseAndItsRounds)
{
    // Strategy: its own collection and round (test 1 is free there); the retry and
    // the playback keep the collection the task came from.
    NewTask(1);
    TaskBaseSetting = 2;
    NewTask(1);
    EXPECT_EQ(std::tuple(random.Bounds.back(), run.TaskSolution()), std::tuple(kStrategyCount, "f4-f5"));
    TaskBaseSetting = 1;
    run.Button3Click();
    const std::string retried = run.TaskSolution();
    run.Button1Click();
    EXPECT_EQ(std::tuple(retried, run.TaskSolution(), run.UsedTasks()),
              std::tuple("f4-f5", "f4-f5", std::vector<int32_t>{1, 1, 1, 1}));

    // Any other base draws and loads nothing, but the clock starts.
    const int before = loads;
    TaskBaseSetting = 3;
    run.Button2Click();
    EXPECT_EQ(std::tuple(loads, view.Text.size(), run.CurrentTaskNumber(), view.ClockRunning), std::tuple(before, 0u, 1, true));
}

// A long evening: 1,000 new tasks from the real collections with the
// program's own chance, retries and playbacks between them and the base
// switched in the middle of rounds. Each collection gives every test once a
// round, and a round never opens with the test that closed the one before.
TEST_F(TrainingRunTest, AThousandNewTasksGoThroughEachCollectionInRounds)
{
    ClockRandomSource chance;
    TrainingRun evening{view, pictures, [] { return kStandard; }, chance};
    evening.FormCreate();
    std::map<int32_t, std::vector<int32_t>> drawn; // by base, in order
    std::size_t repeats = 0;
    for (int i = 0; i < 1000; ++i) {
        TaskBaseSetting = (i % 120) < 70 ? kTacticsBase : kStrategyBase;
        evening.Button2Click();
        drawn[TaskBaseSetting].push_back(evening.CurrentTaskNumber());
        if (i % 3 == 0)
            evening.Button3Click(), ++repeats;
        if (i % 7 == 0)
            evening.Button1Click(), ++repeats;
    }
    EXPECT_EQ(evening.UsedTasks().size(), 1000 + repeats);
    for (const auto& [base, numbers] : drawn) {
        const std::size_t range = static_cast<std::size_t>(CollectionOf(base)->Range);
        ASSERT_GT(numbers.size(), 2 * range) << base;
        for (std::size_t from = 0; from < numbers.size(); from += range) {
            // As many different numbers as draws, all in the collection.
            const auto first = numbers.begin() + static_cast<std::ptrdiff_t>(from);
            const std::size_t length = std::min(range, numbers.size() - from);
            const std::set<int32_t> round(first, first + static_cast<std::ptrdiff_t>(length));
            EXPECT_TRUE(round.size() == length && *round.begin() >= 1 && *round.rbegin() <= static_cast<int32_t>(range) &&
                        (from == 0 || *first != numbers[from - 1])) << "base " << base << ", round from " << from;
        }
    }
}

// The round's edges on a collection of three.
TEST(TaskRoundsTest, ARoundGivesEveryTestOnceAndTheNextNeverOpensWithTheLast)
{
    ScriptedRandom random({0, 0, 0, 1, 0, 0});
    TaskRounds rounds;
    std::vector<int32_t> got;
    for (int i = 0; i < 3; ++i)
        got.push_back(rounds.Draw(1, 3, random));
    EXPECT_EQ(rounds.Candidates(1, 3), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(rounds.Candidates(2, 3), (std::vector<int32_t>{1, 2, 3})); // another collection
    for (int i = 0; i < 3; ++i)
        got.push_back(rounds.Draw(1, 3, random));
    EXPECT_EQ(std::pair(got, random.Bounds),
              std::pair(std::vector<int32_t>{1, 2, 3, 2, 1, 3}, std::vector<int32_t>{3, 2, 1, 2, 2, 1}));
    // A collection of one gives its test again.
    ScriptedRandom once({0, 0});
    EXPECT_EQ(rounds.Draw(5, 1, once) + rounds.Draw(5, 1, once), 2);
}

struct Attempt {
    const char* name;
    int task;
    std::vector<std::pair<const char*, const char*>> moves;
    Lines notices;
    int attempts, solved, solutionPos;
    bool over, boardEnabled;
    const char* lastMove;
};

class AttemptTable : public RunFixture, public testing::WithParamInterface<Attempt> {};

TEST_P(AttemptTable, VerdictsRepliesAndCounts)
{
    const Attempt& a = GetParam();
    tasks[{kTacticsBase, 5}] = boards::kExample;
    tasks[{kTacticsBase, 5}].solution = "e3-g5 f3:d1"; // ends with a reply
    NewTask(a.task);
    // An attempt that ends is stopped and counted before its message.
    view.WhileOpen = [&](const std::string& text) {
        const bool ends = text != kGuessedText && text != kMoveImpossibleText;
        EXPECT_TRUE(!ends || (!view.ClockRunning && run.AttemptCount() == a.attempts)) << text;
    };
    for (const auto& [from, to] : a.moves)
        Play(from, to);
    EXPECT_EQ(std::tuple(view.Notices, run.AttemptCount(), run.SolvedCount(), run.SolutionPos(), run.TaskOver(), view.ClockRunning),
              std::tuple(a.notices, a.attempts, a.solved, a.solutionPos, a.over, !a.over));
    // The move line is switched off: no reply draws one.
    EXPECT_EQ(std::tuple(view.BoardEnabled, run.LastMoveText(), view.Line), std::tuple(a.boardEnabled, a.lastMove, std::nullopt));
    // Nothing is undone after the end, and nothing more can be moved.
    if (a.over) {
        Picture* moved = FigureOn(a.moves.back().second);
        ASSERT_NE(moved, nullptr);
        const PixelPos before{moved->Left(), moved->Top()};
        Drag(*moved, 0, 40);
        EXPECT_EQ(std::tuple(moved->Left(), moved->Top(), view.Notices.size(), run.Dragging()),
                  std::tuple(before.Left, before.Top, a.notices.size(), false));
    }
}

const Attempt kAttempts[] = {
    {"Solved", 1, {{"e3", "g5"}, {"b3", "e6"}}, {kGuessedText, kSolvedText}, 1, 1, 13, true, false, "62-35"},
    {"WrongFirst", 1, {{"d4", "d8"}}, {kNotGuessedText}, 1, 0, 7, true, true, "54-14"},
    {"WrongLast", 1, {{"e3", "g5"}, {"d4", "d8"}}, {kGuessedText, kNotGuessedText}, 1, 0, 13, true, false, "54-14"},
    {"RightSquaresWrongOrder", 1, {{"b3", "e6"}}, {kNotGuessedText}, 1, 0, 7, true, true, "62-35"},
    {"GuessedGoesOn", 1, {{"e3", "g5"}}, {kGuessedText}, 0, 0, 13, false, true, "00-84"},
    {"Illegal", 1, {{"d1", "d5"}, {"c3", "c5"}}, {kMoveImpossibleText, kMoveImpossibleText}, 0, 0, 1, false, true, ""},
    {"OtherSideAndOwnSquare", 1, {{"f3", "e2"}, {"e3", "e3"}}, {}, 0, 0, 1, false, true, ""},
    {"ReplyTakesTheDroppedFigure", 2, {{"f5", "h6"}, {"g5", "f6"}}, {kGuessedText, kSolvedText}, 1, 1, 13, true, false, "47-36"},
    {"BlackOneToken", 3, {{"e8", "d8"}}, {kSolvedText}, 1, 1, 1, true, false, "15-14"},
    {"LineEndsWithAReply", 5, {{"e3", "g5"}, {"b3", "e6"}}, {kGuessedText, kOperationImpossibleText, kNotGuessedText}, 1, 0, 13,
     true, false, "62-35"},
};
INSTANTIATE_TEST_SUITE_P(Rows, AttemptTable, testing::ValuesIn(kAttempts), [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrainingRunTest, ClockCountsDownToTheTimeOut)
{
    const std::pair<int32_t, ClockDisplay> rows[] = {{180, {3, 0}}, {61, {1, 1}}, {60, {1, 0}}, {59, {0, 59}}};
    int attempts = 0;
    NewTask(1);
    for (const auto& [time, start] : rows) {
        Write(SettingId::MoveTime, time);
        run.Button3Click();
        view.Notices.clear();
        EXPECT_EQ(view.Clock, start);
        // One second a tick; the time is out on the last.
        for (int left = start.Minutes * 60 + start.Seconds - 1; left >= 0; --left) {
            const bool out = run.ClockTick();
            EXPECT_EQ(std::pair(out, view.Clock), std::pair(left == 0, ClockDisplay{left / 60, left % 60})) << time;
        }
        EXPECT_EQ(std::tuple(view.Notices, view.ClockRunning, run.TaskOver(), run.AttemptCount(), run.SolvedCount()),
                  std::tuple(Lines{kTimeOutText}, false, true, ++attempts, 0));
    }

    // The options dialog resets the display; a running clock counts on.
    run.Button3Click();
    run.ClockTick();
    run.SetClockDisplay(62);
    const ClockDisplay reset = view.Clock;
    run.Timer2Timer();
    EXPECT_EQ(std::tuple(reset, view.Clock, view.ClockRunning), std::tuple(ClockDisplay{1, 2}, ClockDisplay{1, 1}, true));
}

// The time runs out under the "guessed" message (the board is locked, the
// reply still comes), or during a drag (the figure goes home unjudged).
TEST_F(TrainingRunTest, TimeOutsAndUnfinishedDrags)
{
    Write(SettingId::MoveTime, 1);
    NewTask(1);
    view.WhileOpen = [&](const std::string& text) {
        if (text == kGuessedText)
            run.Timer2Timer();
    };
    Play("e3", "g5");
    EXPECT_EQ(view.Notices, (Lines{kGuessedText, kTimeOutText}));
    Play("b3", "e6"); // locked; the reply still came
    EXPECT_EQ(std::tuple(CodeOn("d1"), run.SolutionPos(), CodeOn("e6"), run.AttemptCount(), run.SolvedCount()),
              std::tuple("bb", 13, "bp", 1, 0));

    NewTask(1);
    view.Notices.clear();
    const std::string lastMove = run.LastMoveText();
    Picture* bishop = FigureOn("e3");
    run.FigureMouseDown(*bishop, 17, 17);
    run.FigureMouseMove(*bishop, 17 + 80, 17 - 80); // over g5, the right move
    PixelPos underTheBox{};
    view.WhileOpen = [&](const std::string&) { underTheBox = {bishop->Left(), bishop->Top()}; };
    run.Timer2Timer();
    run.FigureMouseUp(*bishop);
    EXPECT_EQ(std::tuple(underTheBox, PixelPos{bishop->Left(), bishop->Top()}, view.Notices, view.Clock, run.LastMoveText()),
              std::tuple(Place("e3"), Place("e3"), Lines{kTimeOutText}, ClockDisplay{0, 0}, lastMove));
}

// The playback plays its N tokens in N ticks from the task's start (after
// dropping the attempt and its clock) and counts nothing; it skips a token
// it cannot play, and a new task or a retry ends it.
TEST_F(TrainingRunTest, PlaybackPlaysNTokensInNTicksFromTheStartAndEndsEarly)
{
    using Ticks = std::vector<std::pair<const char*, const char*>>; // a square and its code after each tick
    const std::pair<int, Ticks> rows[] = {{3, {{"d8", "bk"}}},
                                          {1, {{"g5", "wb"}, {"d1", "bb"}, {"e6", "wb"}}},
                                          {2, {{"h6", "wn"}, {"h6", "bp"}, {"f6", "wb"}}}};
    Write(SettingId::MoveInterval, 2);
    for (const auto& [task, ticks] : rows) {
        NewTask(task);
        if (task == 1)
            Play("e3", "g5"); // the attempt, and its clock, are dropped
        run.ClockTick();
        const std::size_t notices = view.Notices.size();
        run.Button1Click();
        EXPECT_EQ(std::tuple(CodeOn(ticks[0].first), run.TaskOver(), view.PlaybackMs, view.ClockRunning, view.Clock,
                             std::vector(run.UsedTasks().end() - 2, run.UsedTasks().end())),
                  std::tuple("", true, 2000, false, ClockDisplay{3, 0}, std::vector<int32_t>{task, task})) << task;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_GT(view.PlaybackMs, 0) << "stopped before tick " << i + 1;
            run.Timer1Timer();
            EXPECT_EQ(CodeOn(ticks[i].first), ticks[i].second) << "tick " << i + 1;
        }
        EXPECT_EQ(std::tuple(view.PlaybackMs, run.SolutionPos(), run.AttemptCount() + run.SolvedCount(), view.Notices.size()),
                  std::tuple(0, static_cast<int>(1 + 6 * ticks.size()), 0, notices)) << task;
    }

    // An interval longer than a timer can wait waits as long as one can; a
    // new task and a retry end a running playback.
    Write(SettingId::MoveInterval, 2147484);
    NewTask(1);
    run.Button1Click();
    EXPECT_EQ(view.PlaybackMs, std::numeric_limits<int>::max());
    run.Timer1Timer();
    run.Button3Click();
    EXPECT_EQ(std::tuple(view.PlaybackMs, run.TaskOver()), std::tuple(0, false));
    run.Button1Click();
    NewTask(2);
    EXPECT_EQ(std::tuple(view.PlaybackMs, run.SolutionPos()), std::tuple(0, 1));

    // An unplayable token is reported once and skipped, also when the next
    // step comes while its message is open.
    tasks[{kTacticsBase, 5}] = boards::kExample;
    tasks[{kTacticsBase, 5}].solution = "e3-g5 zz-q9 b3:e6";
    NewTask(5);
    view.Notices.clear();
    run.Button1Click();
    int nested = 0;
    view.WhileOpen = [&](const std::string&) {
        if (nested++ == 0)
            run.Timer1Timer();
    };
    run.Timer1Timer();
    run.Timer1Timer();
    EXPECT_EQ(std::tuple(view.Notices, CodeOn("e6"), view.PlaybackMs), std::tuple(Lines{kOperationImpossibleText}, "wb", 0));
}

// A figure held while the playback moves (the rook the first token moves;
// the rook the second takes, on f8 after one tick; a king the line never
// touches): the hold ends before the program's move, the release moves
// nothing, and the board ends in the line's final position.
TEST_F(TrainingRunTest, FigureHeldDuringThePlaybackChangesNothing)
{
    NewTask(4);
    for (const auto& [square, ticksBefore] : {std::pair{"f1", 0}, {"f8", 1}, {"e1", 0}}) {
        run.Button1Click(); // each playback sets the task up anew
        for (int t = 0; t < ticksBefore; ++t)
            run.Timer1Timer();
        Picture* held = FigureOn(square);
        ASSERT_NE(held, nullptr) << square;
        run.FigureMouseDown(*held, 17, 17);
        run.FigureMouseMove(*held, 17 - 40, 17 + 40);
        run.Timer1Timer();
        run.FigureMouseUp(*held);
        while (view.PlaybackMs > 0)
            run.Timer1Timer();
        std::string board;
        for (const char* s : {"f8", "e8", "a3", "e1", "f1", "d8", "a2"})
            board += CodeOn(s) + ",";
        EXPECT_EQ(std::tuple(board, run.FigureList().size(), PixelPos{FigureOn("f8")->Left(), FigureOn("f8")->Top()}, view.Notices.size()),
                  std::tuple("br,bk,wp,wk,,,,", 4u, Place("f8"), 0u)) << square;
    }
}

TEST_F(TrainingRunTest, ResultsCountEndedAndSolvedAttempts)
{
    NewTask(1);
    Play("d4", "d8"); // failed
    run.Button3Click();
    Play("e3", "g5"); // abandoned: not counted
    NewTask(3);
    Play("e8", "d8"); // solved
    view.Notices.clear();
    run.N5Click();
    EXPECT_EQ(view.Notices, Lines{"Количество попыток 2. Результат 1."});
}

} // namespace

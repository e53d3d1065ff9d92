#include "TrainingRun.h"

#include "Collections.h"
#include "Notation.h"
#include "Settings.h"
#include "SolutionCheck.h"
#include "TaskDraw.h"
#include "TrainingTexts.h"
#include "Verdict.h"

#include <exception>

TrainingRun::TrainingRun(TrainingView& view, PictureFactory& pictures, ChessBoard::GeometrySource geometry,
                         RandomSource& random, TaskLoader loadTask)
    : m_view(view), m_random(random), m_loadTask(std::move(loadTask)), m_board(pictures, std::move(geometry))
{
}

// ------------------------------------------------------------- the tasks

void TrainingRun::FormCreate()
{
    // TaskOver and the counters start false and 0 with the run; creation
    // happens once.
    try {
        LoadSetting(SettingId::MoveTime);
        LoadSetting(SettingId::TaskBase);
        m_view.ShowCaption(CaptionForBase(TaskBaseSetting));
        SetClockDisplay(MoveTimeSetting);
    } catch (const std::exception&) {
        m_view.Error(kReadErrorText);
    }
    UsedTasks.clear();
    CurrentTaskNumber = kNoTaskNumber;
}

void TrainingRun::TakeTask(int32_t base, int32_t number, bool withHint)
{
    const std::optional<TaskRecord> record = m_loadTask(base, number);
    if (!record)
        return;
    WhiteToMove = record->sideToMove == "w";
    TaskSolution = record->solution;
    TaskPosition = record->position;
    for (const std::string& line : TaskTextLines(*record, withHint))
        m_view.AppendText(line);
}

void TrainingRun::ClearBoard()
{
    CancelDrag();
    m_view.ClearText();
    m_board.ClearFigures();
}

void TrainingRun::PlacePosition()
{
    m_board.PlacePosition(TaskPosition);
    m_view.ShowBoardPicture(std::nullopt);
}

void TrainingRun::Button2Click()
{
    TaskOver = false;
    m_view.EnableBoardPicture(true);
    // A playback still running would go on moving figures of the new task.
    m_view.RunPlayback(0);
    ClearBoard();
    m_random.Reseed();

    if (const std::optional<CollectionLimits> limits = CollectionOf(TaskBaseSetting)) {
        const int32_t base = TaskBaseSetting;
        const int32_t number = m_rounds.Draw(base, limits->Range, m_random);
        CurrentTaskNumber = number;
        CurrentTaskBase = base;
        UsedTasks.push_back(number);
        // The hint follows the switch as it stood before this command reads
        // the settings file again below.
        TakeTask(base, number, HintSetting == 1);
    }

    SolutionPos = 1;
    m_view.RunClock(false);
    LoadSetting(SettingId::MoveTime);
    LoadSetting(SettingId::MoveInterval);
    LoadSetting(SettingId::MoveLine);
    LoadSetting(SettingId::Hint);
    SetClockDisplay(MoveTimeSetting);
    m_view.RunClock(true);
    PlacePosition();
}

void TrainingRun::Button3Click()
{
    TaskOver = false;
    m_view.EnableBoardPicture(true);
    if (CurrentTaskNumber == kNoTaskNumber) {
        m_view.Notice(kNoTaskText);
        return;
    }
    m_view.RunPlayback(0);
    ClearBoard();
    m_random.Reseed();

    LoadSetting(SettingId::MoveLine);
    LoadSetting(SettingId::Hint);
    if (CollectionOf(CurrentTaskBase).has_value()) {
        UsedTasks.push_back(CurrentTaskNumber);
        TakeTask(CurrentTaskBase, CurrentTaskNumber, HintSetting == 1);
    }

    SolutionPos = 1;
    m_view.RunClock(false);
    LoadSetting(SettingId::MoveTime);
    LoadSetting(SettingId::MoveInterval);
    SetClockDisplay(MoveTimeSetting);
    m_view.RunClock(true);
    PlacePosition();
}

void TrainingRun::Button1Click()
{
    TaskOver = true;
    if (CurrentTaskNumber == kNoTaskNumber) {
        m_view.Notice(kNoTaskText);
        return;
    }
    ClearBoard();
    if (CollectionOf(CurrentTaskBase).has_value()) {
        UsedTasks.push_back(CurrentTaskNumber);
        TakeTask(CurrentTaskBase, CurrentTaskNumber, false);
    }
    // SolutionPos goes back to 1 with StartPlayback below.
    m_view.RunClock(false);
    SetClockDisplay(MoveTimeSetting);
    PlacePosition();
    StartPlayback();
}

void TrainingRun::StartPlayback()
{
    // (Re)started with the full interval, so the first move always comes one
    // interval after the click.
    m_view.RunPlayback(PlaybackIntervalMs(MoveIntervalSetting));
    SolutionPos = 1;
}

void TrainingRun::Timer1Timer()
{
    if (IsLastToken(TaskSolution, SolutionPos))
        m_view.RunPlayback(0);
    const std::string token = TokenAt(TaskSolution, SolutionPos);
    // Advanced before any message: the timer keeps firing while one is open,
    // and those events must go on with the next token, not this one again.
    SolutionPos += 6;
    if (!PlayToken(token))
        m_view.Notice(kOperationImpossibleText);
}

void TrainingRun::N5Click()
{
    m_view.Notice(ResultsText(AttemptCount, SolvedCount));
}

// ------------------------------------------------------------------ clock

void TrainingRun::SetClockDisplay(int32_t seconds)
{
    const ClockDisplay full = FullTime(seconds);
    ClockMinutes = full.Minutes;
    ClockSeconds = full.Seconds;
    m_view.ShowClock(full);
}

bool TrainingRun::ClockTick()
{
    const ClockStep step = CountDown({ClockMinutes, ClockSeconds});
    ClockMinutes = step.Display.Minutes;
    ClockSeconds = step.Display.Seconds;
    m_view.ShowClock(step.Display);
    if (!step.TimedOut)
        return false;
    // Stopped and counted before the message, which the timers run under.
    EndAttempt(false);
    m_view.Notice(kTimeOutText);
    return true;
}

void TrainingRun::EndAttempt(bool solved)
{
    m_view.RunClock(false);
    TaskOver = true;
    ++AttemptCount;
    if (solved)
        ++SolvedCount;
    // A figure still being dragged goes home; its release, if it comes, is
    // not judged.
    CancelDrag();
}

// ------------------------------------------------------ moves and replies

void TrainingRun::MoveFigure(Picture* picture, int toRow, int fromCol, int fromRow, int toCol)
{
    if (picture == nullptr)
        return;
    m_board.PlaceOnSquare(*picture, toRow, toCol);
    WhiteToMove = !WhiteToMove;
    LastMoveText = BuildMoveKey(fromRow, fromCol, toRow, toCol);
}

bool TrainingRun::PlayToken(std::string_view token)
{
    // A figure held by the mouse goes home before the program moves, and its
    // release is not judged: it must not undo the program's move.
    CancelDrag();
    const std::optional<DecodedToken> move = DecodeToken(token);
    if (!move)
        return false;
    if (move->IsCapture()) {
        // The program's own moves take whatever stands there, but a king.
        m_board.CaptureTarget(m_board.FigureAt(move->FromColumn, move->FromRow), "", move->ToRow, move->ToColumn);
    }
    MoveFigure(m_board.FigureAt(move->FromColumn, move->FromRow), move->ToRow, 0, 0, move->ToColumn);
    if (MoveLineSetting == 1)
        m_view.ShowBoardPicture(m_board.DrawMoveLineEnds(move->FromColumn, move->FromRow, move->ToColumn, move->ToRow));
    return true;
}

void TrainingRun::CheckUserMove()
{
    const SolutionStep step = JudgeAgainstSolution(TaskSolution, SolutionPos, LastMoveText);

    if (step.Verdict == MoveVerdict::Guessed) {
        m_view.Notice(kGuessedText);
        // The reply comes when the box is closed, even if the time ran out
        // while it was open.
        if (!PlayToken(step.ReplyToken))
            m_view.Notice(kOperationImpossibleText);
        SolutionPos = step.NextSolutionPos;
        return;
    }

    // The attempt is over: stop the clock and count it before any message,
    // so that a time-out while a message is open cannot count it again.
    const bool solved = step.Verdict == MoveVerdict::Solved;
    EndAttempt(solved);
    SolutionPos = step.NextSolutionPos;
    if (step.Verdict != MoveVerdict::NotGuessed)
        m_view.EnableBoardPicture(false);
    if (step.KeyUnreadable)
        m_view.Notice(kOperationImpossibleText);
    m_view.Notice(solved ? kSolvedText : kNotGuessedText);
}

// ---------------------------------------------------------------- dragging

void TrainingRun::FigureMouseDown(Picture& sender, int x, int y)
{
    // A drag whose release never came (the pointer was taken by a message
    // box, for instance) is ended before the new one starts.
    CancelDrag();
    Dragging = !TaskOver;
    sender.BringToFront();
    DragStartX = x;
    DragStartY = y;
    const Square from = m_board.SquareOf(sender);
    FromRow = from.Row;
    FromCol = from.Column;
    m_held = &sender;
}

void TrainingRun::FigureMouseMove(Picture& sender, int x, int y)
{
    if (!Dragging || &sender != m_held)
        return;
    if (x != DragStartX)
        sender.SetLeft(sender.Left() + x - DragStartX);
    if (y != DragStartY)
        sender.SetTop(sender.Top() + y - DragStartY);
}

void TrainingRun::FigureMouseUp(Picture& sender)
{
    // The release of a figure whose hold has been ended (by a time-out or a
    // move of the program) moves nothing.
    if (&sender != m_held) {
        CancelDrag();
        return;
    }
    Dragging = false;
    m_held = nullptr;
    // A figure pressed while the attempt is over was not dragged: it stays.
    if (TaskOver) {
        SnapBack(sender);
        return;
    }
    const DropVerdict verdict = m_board.JudgeDrop(sender, {FromRow, FromCol}, WhiteToMove);
    switch (verdict.Result) {
    case DropResult::PutBack:
        SnapBack(sender);
        break;
    case DropResult::PutBackRefused:
        SnapBack(sender);
        m_view.Notice(kMoveImpossibleText);
        break;
    case DropResult::Made:
        MoveFigure(&sender, verdict.To.Row, FromCol, FromRow, verdict.To.Column);
        // The sender may be captured by the reply in here; it stays alive
        // (hidden) until this event has been handled, and nothing below
        // touches it.
        CheckUserMove();
        break;
    }
}

void TrainingRun::SnapBack(Picture& picture)
{
    m_board.PlaceOnSquare(picture, FromRow, FromCol);
}

void TrainingRun::CancelDrag()
{
    if (Dragging && m_held != nullptr && m_board.Holds(m_held))
        SnapBack(*m_held);
    Dragging = false;
    m_held = nullptr;
}

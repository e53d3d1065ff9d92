#include "TrainingRun.h"

#include "Collections.h"
#include "Notation.h"
#include "Settings.h"
#include "SolutionCheck.h"
#include "TaskDraw.h"
#include "TrainingTexts.h"

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
    m_usedTasks.clear();
    m_currentTaskNumber = kNoTaskNumber;
}

void TrainingRun::TakeTask(int32_t base, int32_t number, bool withHint)
{
    const std::optional<TaskRecord> record = m_loadTask(base, number);
    if (!record)
        return;
    m_whiteToMove = record->sideToMove == "w";
    m_taskSolution = record->solution;
    m_taskPosition = record->position;
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
    m_board.PlacePosition(m_taskPosition);
    m_view.ShowBoardPicture(std::nullopt);
}

void TrainingRun::Button2Click()
{
    m_taskOver = false;
    m_view.EnableBoardPicture(true);
    // A playback still running would go on moving figures of the new task.
    m_view.RunPlayback(0);
    ClearBoard();
    m_random.Reseed();

    if (const std::optional<CollectionLimits> limits = CollectionOf(TaskBaseSetting)) {
        const int32_t base = TaskBaseSetting;
        const int32_t number = m_rounds.Draw(base, limits->Range, m_random);
        m_currentTaskNumber = number;
        m_currentTaskBase = base;
        m_usedTasks.push_back(number);
        // The hint follows the switch as it stood before this command reads
        // the settings file again below.
        TakeTask(base, number, HintSetting == 1);
    }

    m_solutionPos = 1;
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
    m_taskOver = false;
    m_view.EnableBoardPicture(true);
    if (m_currentTaskNumber == kNoTaskNumber) {
        m_view.Notice(kNoTaskText);
        return;
    }
    m_view.RunPlayback(0);
    ClearBoard();
    m_random.Reseed();

    LoadSetting(SettingId::MoveLine);
    LoadSetting(SettingId::Hint);
    if (CollectionOf(m_currentTaskBase).has_value()) {
        m_usedTasks.push_back(m_currentTaskNumber);
        TakeTask(m_currentTaskBase, m_currentTaskNumber, HintSetting == 1);
    }

    m_solutionPos = 1;
    m_view.RunClock(false);
    LoadSetting(SettingId::MoveTime);
    LoadSetting(SettingId::MoveInterval);
    SetClockDisplay(MoveTimeSetting);
    m_view.RunClock(true);
    PlacePosition();
}

void TrainingRun::Button1Click()
{
    m_taskOver = true;
    if (m_currentTaskNumber == kNoTaskNumber) {
        m_view.Notice(kNoTaskText);
        return;
    }
    ClearBoard();
    if (CollectionOf(m_currentTaskBase).has_value()) {
        m_usedTasks.push_back(m_currentTaskNumber);
        TakeTask(m_currentTaskBase, m_currentTaskNumber, false);
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
    m_solutionPos = 1;
}

void TrainingRun::Timer1Timer()
{
    if (IsLastToken(m_taskSolution, m_solutionPos))
        m_view.RunPlayback(0);
    const std::string token = TokenAt(m_taskSolution, m_solutionPos);
    // Advanced before any message: the timer keeps firing while one is open,
    // and those events must go on with the next token, not this one again.
    m_solutionPos += 6;
    if (!PlayToken(token))
        m_view.Notice(kOperationImpossibleText);
}

void TrainingRun::N5Click()
{
    m_view.Notice(ResultsText(m_attemptCount, m_solvedCount));
}

// ------------------------------------------------------------------ clock

void TrainingRun::SetClockDisplay(int32_t seconds)
{
    const ClockDisplay full = FullTime(seconds);
    m_clockMinutes = full.Minutes;
    m_clockSeconds = full.Seconds;
    m_view.ShowClock(full);
}

bool TrainingRun::ClockTick()
{
    const ClockStep step = CountDown({m_clockMinutes, m_clockSeconds});
    m_clockMinutes = step.Display.Minutes;
    m_clockSeconds = step.Display.Seconds;
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
    m_taskOver = true;
    ++m_attemptCount;
    if (solved)
        ++m_solvedCount;
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
    m_whiteToMove = !m_whiteToMove;
    m_lastMoveText = BuildMoveKey(fromRow, fromCol, toRow, toCol);
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
    const SolutionStep step = JudgeAgainstSolution(m_taskSolution, m_solutionPos, m_lastMoveText);

    if (step.Verdict == MoveVerdict::Guessed) {
        m_view.Notice(kGuessedText);
        // The reply comes when the box is closed, even if the time ran out
        // while it was open.
        if (!PlayToken(step.ReplyToken))
            m_view.Notice(kOperationImpossibleText);
        m_solutionPos = step.NextSolutionPos;
        return;
    }

    // The attempt is over: stop the clock and count it before any message,
    // so that a time-out while a message is open cannot count it again.
    const bool solved = step.Verdict == MoveVerdict::Solved;
    EndAttempt(solved);
    m_solutionPos = step.NextSolutionPos;
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
    m_dragging = !m_taskOver;
    sender.BringToFront();
    m_dragStartX = x;
    m_dragStartY = y;
    const Square from = m_board.SquareOf(sender);
    m_fromRow = from.Row;
    m_fromCol = from.Column;
    m_held = &sender;
}

void TrainingRun::FigureMouseMove(Picture& sender, int x, int y)
{
    if (!m_dragging || &sender != m_held)
        return;
    if (x != m_dragStartX)
        sender.SetLeft(sender.Left() + x - m_dragStartX);
    if (y != m_dragStartY)
        sender.SetTop(sender.Top() + y - m_dragStartY);
}

void TrainingRun::FigureMouseUp(Picture& sender)
{
    // The release of a figure whose hold has been ended (by a time-out or a
    // move of the program) moves nothing.
    if (&sender != m_held) {
        CancelDrag();
        return;
    }
    m_dragging = false;
    m_held = nullptr;
    // A figure pressed while the attempt is over was not dragged: it stays.
    if (m_taskOver) {
        SnapBack(sender);
        return;
    }
    const DropVerdict verdict = m_board.JudgeDrop(sender, {m_fromRow, m_fromCol}, m_whiteToMove);
    switch (verdict.Result) {
    case DropResult::PutBack:
        SnapBack(sender);
        break;
    case DropResult::PutBackRefused:
        SnapBack(sender);
        m_view.Notice(kMoveImpossibleText);
        break;
    case DropResult::Made:
        MoveFigure(&sender, verdict.To.Row, m_fromCol, m_fromRow, verdict.To.Column);
        // The sender may be captured by the reply in here; it stays alive
        // (hidden) until this event has been handled, and nothing below
        // touches it.
        CheckUserMove();
        break;
    }
}

void TrainingRun::SnapBack(Picture& picture)
{
    m_board.PlaceOnSquare(picture, m_fromRow, m_fromCol);
}

void TrainingRun::CancelDrag()
{
    if (m_dragging && m_held != nullptr && m_board.Holds(m_held))
        SnapBack(*m_held);
    m_dragging = false;
    m_held = nullptr;
}

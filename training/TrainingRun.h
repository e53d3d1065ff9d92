#pragma once
// A training run: the task on the board, its figures, whose move it is, how
// far the solution has got, the clock, the counters and the tasks given so
// far, with every command that changes them: creation, a new task, a retry,
// a made drop with the solution check and the program's reply, a clock tick,
// a playback step and the results.
//
// The run knows no windowing toolkit. It sees the screen through a
// TrainingView (message boxes, the clock labels and timers, the text pane,
// the board picture and the caption) and the figures through the core's
// Picture. The window that shows the run implements the view, owns one run
// and forwards its handlers, under the same names, to it.
//
// Everything runs on the user-interface thread. A notice is modal and the
// timers keep firing while it is open, so a clock tick or a playback step
// may run inside another command's notice.
#include "ChessBoard.h"
#include "MessageBoxes.h"
#include "RandomSource.h"
#include "TaskClock.h"
#include "TaskDraw.h"
#include "TaskRecord.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The screen of a training run.
class TrainingView : public MessageBoxes {
public:
    // The clock labels: minutes and seconds.
    virtual void ShowClock(ClockDisplay display) = 0;
    // The clock timer: while running, Timer2Timer once a second.
    virtual void RunClock(bool running) = 0;
    // The playback timer: a positive interval (re)starts it with that
    // interval, one Timer1Timer per interval; 0 stops it.
    virtual void RunPlayback(int intervalMs) = 0;
    // The text pane: emptied, or one line added at the end.
    virtual void ClearText() = 0;
    virtual void AppendText(const std::string& line) = 0;
    // The board picture: its clean copy put back, with the red move line of
    // a program move drawn on it when `line` is given; and its enabled state.
    virtual void ShowBoardPicture(const std::optional<MoveLine>& line) = 0;
    virtual void EnableBoardPicture(bool enabled) = 0;
    // The window's caption.
    virtual void ShowCaption(const std::string& caption) = 0;
};

// `CurrentTaskNumber` before the first task has been drawn.
inline constexpr int32_t kNoTaskNumber = 10000;

class TrainingRun {
public:
    // `view`, `pictures` and `random` must outlive the run. `geometry` gives
    // the board picture's place and size; `loadTask` the records (the real
    // collections unless a test gives boards of its own).
    TrainingRun(TrainingView& view, PictureFactory& pictures, ChessBoard::GeometrySource geometry,
                RandomSource& random, TaskLoader loadTask = LoadFromCollections);

    // --- the training state, under its names; only the commands change it ---
    bool Dragging() const { return m_dragging; }  // the pressed figure follows the mouse
    bool TaskOver() const { return m_taskOver; }  // the attempt is over or played back: no drag starts
    int DragStartX() const { return m_dragStartX; } // press point inside the pressed picture
    int DragStartY() const { return m_dragStartY; }
    int FromRow() const { return m_fromRow; } // square of the pressed figure at the press
    int FromCol() const { return m_fromCol; }
    int SolutionPos() const { return m_solutionPos; } // 1-based position in TaskSolution of the next token
    int32_t ClockMinutes() const { return m_clockMinutes; } // the clock as its labels show it
    int32_t ClockSeconds() const { return m_clockSeconds; }
    int32_t CurrentTaskNumber() const { return m_currentTaskNumber; } // the task on the board; 10000: none yet
    int32_t AttemptCount() const { return m_attemptCount; } // attempts ended in this run
    int32_t SolvedCount() const { return m_solvedCount; }   // attempts solved in this run
    const std::string& TaskPosition() const { return m_taskPosition; } // FEN placement of the task on the board
    const std::string& TaskSolution() const { return m_taskSolution; } // its solution line
    const std::string& LastMoveText() const { return m_lastMoveText; } // MoveKey of the last placement of a figure
    bool WhiteToMove() const { return m_whiteToMove; } // White is to move
    // Every task number put on the board, repeats included.
    const std::vector<int32_t>& UsedTasks() const { return m_usedTasks; }
    // The collection CurrentTaskNumber was drawn from (1 or 2; 0 before the
    // first task). Retry and playback load the task from it, so switching
    // the base in between cannot put another collection's test (or none) on
    // the board under the same number.
    int32_t CurrentTaskBase() const { return m_currentTaskBase; }

    ChessBoard& Board() { return m_board; }
    // The rounds of the task draw (what the next new task may give).
    const TaskRounds& Rounds() const { return m_rounds; }
    const std::vector<std::unique_ptr<TFigure>>& FigureList() const { return m_board.FigureList(); }

    // --- commands ---
    // Creation: reads "vremya" and "baza1", shows the caption and the full
    // time; a failure shows "Ошибка при чтении данных!".
    void FormCreate();
    // New task ("Задание"): draws a test of the chosen collection not given
    // yet in its current round (TaskRounds), shows it, starts the clock.
    // Also ends a running playback.
    void Button2Click();
    // Retry ("Попробовать еще раз"): the same task from its start. Also ends a
    // running playback. Before any task: "Задание еще не определено".
    void Button3Click();
    // Playback ("Разыграть вариант"): the task from its start, the clock
    // stopped at the full time, its whole line played by Timer1Timer.
    void Button1Click();
    void StartPlayback();
    // A playback step: the next token of the line.
    void Timer1Timer();
    // A clock tick; true when it ran the time out.
    bool ClockTick();
    void Timer2Timer() { ClockTick(); }
    // "Результаты": "Количество попыток <n>. Результат <m>."
    void N5Click();
    // The clock display for a time in seconds (a new time setting shows it);
    // a running clock counts on from it.
    void SetClockDisplay(int32_t seconds);

    // --- the figures ---
    // Press, drag and release of a figure picture; x and y are in the
    // picture's own coordinates. A release after a drag judges the drop and,
    // for a made move, runs CheckUserMove. The end of the attempt and every
    // move of the program end a hold first: the figure goes home and its
    // release moves nothing.
    void FigureMouseDown(Picture& sender, int x, int y);
    void FigureMouseMove(Picture& sender, int x, int y);
    void FigureMouseUp(Picture& sender);
    // Puts the picture back on (FromRow, FromCol).
    void SnapBack(Picture& picture);
    // Places `picture` on (toRow, toCol), flips WhiteToMove and sets
    // LastMoveText to the MoveKey of (fromRow, fromCol) -> (toRow, toCol).
    // Does nothing at all for nullptr.
    void MoveFigure(Picture* picture, int toRow, int fromCol, int fromRow, int toCol);
    // Judges the move just made against the solution: confirms it and plays
    // the reply, or ends the attempt. A verdict that ends it stops the clock
    // and counts before its message, so a time-out under the message cannot
    // count it again.
    void CheckUserMove();
    // Makes one move of the solution for the program; false (and nothing
    // done) when the token cannot be read.
    bool PlayToken(std::string_view token);
    // Board setup: the figures of TaskPosition, then the clean board picture.
    void PlacePosition();

private:
    // Loads the record of test `number` of collection `base`, takes its side,
    // position and solution and shows its text; nothing when there is no such
    // record.
    void TakeTask(int32_t base, int32_t number, bool withHint);
    // Clears the pane and the board for a command that sets a task up.
    void ClearBoard();
    // Ends the attempt: clock stopped, TaskOver set, the attempt counted.
    void EndAttempt(bool solved);
    // Ends the hold of the pressed figure: a figure being dragged goes back
    // on its square, and its release, if it comes, moves nothing.
    void CancelDrag();

    // The training state (see the accessors above).
    bool m_dragging = false;
    bool m_taskOver = false;
    int m_dragStartX = 0;
    int m_dragStartY = 0;
    int m_fromRow = 0;
    int m_fromCol = 0;
    int m_solutionPos = 0;
    int32_t m_clockMinutes = 0;
    int32_t m_clockSeconds = 0;
    int32_t m_currentTaskNumber = kNoTaskNumber;
    int32_t m_attemptCount = 0;
    int32_t m_solvedCount = 0;
    std::string m_taskPosition;
    std::string m_taskSolution;
    std::string m_lastMoveText;
    bool m_whiteToMove = false;
    std::vector<int32_t> m_usedTasks;
    int32_t m_currentTaskBase = 0;

    TrainingView& m_view;
    RandomSource& m_random;
    TaskLoader m_loadTask;
    ChessBoard m_board;
    TaskRounds m_rounds;
    // The pressed figure, from its press until its release or until its
    // hold is ended.
    Picture* m_held = nullptr;
};

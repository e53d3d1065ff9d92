#pragma once
// The main window "Tresolvin": the board on the left, the text pane, the
// task clock and the three task buttons on the right, the main menu on top.
//
// TForm1 owns the whole state of a training run under the names the rest of
// the program knows it by, and runs every command of a run: a new task, a
// retry, the check of the user's moves and the program's replies, the clock,
// the playback of a solution and the results. The screen-free arithmetic
// (task draw, countdown, solution check, texts) lives in training/; the
// board itself, its rules and its figures in core/ (`ChessBoard`), which this
// window owns and whose fields `WhiteToMove`, `LastMoveText`, `FromRow` and
// `FromCol` it exposes under those names.
//
// Everything runs on the user-interface thread. Messages go through
// MessageBoxes; while one is open the two timers keep firing.
#include "ChessBoard.h"
#include "Picture.h"
#include "TaskClock.h"
#include "TaskRecord.h"
#include "TrainingTexts.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class FigurePicture;
class MessageBoxes;
class PictureBox;
class QAction;
class QDialog;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTextEdit;
class QTimer;
class RandomSource;

class TForm1 : public QMainWindow, private PictureFactory {
    Q_OBJECT

public:
    // `boxes` and `random` must outlive the window. `loadTask` gives the
    // record of a test by base and number (the real collections unless a
    // test gives boards of its own). The constructor runs FormCreate().
    TForm1(MessageBoxes& boxes, RandomSource& random, TaskLoader loadTask = LoadFromCollections,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // --- components, owned by the window; also found by their objectName ---
    QWidget* ScrollBox1 = nullptr;  // the board area, 457 x 454, white
    PictureBox* Image1 = nullptr;   // the board picture, at (32, 32) of the board area
    PictureBox* Image14 = nullptr;  // hidden: the clean copy of the board picture
    QTextEdit* RichEdit1 = nullptr; // the text pane
    QLabel* Label1 = nullptr;       // clock minutes
    QLabel* Label2 = nullptr;       // "Время на ход"
    QLabel* Label3 = nullptr;       // "мин"
    QLabel* Label4 = nullptr;       // "сек"
    QLabel* Label5 = nullptr;       // clock seconds
    QFrame* Bevel1 = nullptr;       // the frame around the clock
    QPushButton* Button1 = nullptr; // "Разыграть вариант"
    QPushButton* Button2 = nullptr; // "Задание"
    QPushButton* Button3 = nullptr; // "Попробовать еще раз"
    QTimer* Timer1 = nullptr;       // the playback timer
    QTimer* Timer2 = nullptr;       // the task clock, 1000 ms
    QMenu* N1 = nullptr;            // "Опции"
    QAction* N9 = nullptr;          //   "Опции"
    QAction* N10 = nullptr;         //   "База"
    QAction* N5 = nullptr;          // "Результаты"
    QMenu* N6 = nullptr;            // "Интересное"
    QAction* N7 = nullptr;          //   "Шахматные цитаты"
    QAction* N8 = nullptr;          //   "Шахматная цитата от Гулмара"
    QAction* N11 = nullptr;         //   "Шахматные ссылки"
    QMenu* N2 = nullptr;            // "Выход"
    QAction* N3 = nullptr;          //   "О программе"
    QAction* N4 = nullptr;          //   "Выход"

    // The hidden source picture of a piece code (Image2 .. Image13), or
    // nullptr for any other text.
    PictureBox* SourcePicture(std::string_view code) const;

private:
    // Declared before the references below, which point into it.
    std::unique_ptr<ChessBoard> m_board;

public:
    // --- the training state ---
    bool Dragging = false;   // a pressed figure follows the mouse
    bool TaskOver = false;   // the attempt is over or played back: no drag starts
    int DragStartX = 0;      // press point inside the pressed picture
    int DragStartY = 0;
    int& FromRow;            // square of the pressed figure at the press (the board's)
    int& FromCol;
    int SolutionPos = 0;     // 1-based position in TaskSolution of the next token
    int ClockMinutes = 0;    // working values of one clock tick
    int ClockSeconds = 0;
    int32_t CurrentTaskNumber = kNoTaskNumber; // the task on the board; 10000: none drawn yet
    int32_t AttemptCount = 0;  // attempts ended in this run
    int32_t SolvedCount = 0;   // attempts solved in this run
    std::string TaskPosition;  // FEN placement of the task on the board
    std::string TaskSolution;  // its solution line
    std::string& LastMoveText; // MoveKey of the last placement (the board's)
    bool& WhiteToMove;         // White is to move (the board's)
    std::vector<int32_t> UsedTasks; // every task number put on the board, repeats included
    // The collection CurrentTaskNumber was drawn from (1 or 2; 0 before the
    // first task). Retry and playback load the task from it, so switching
    // the base in between cannot put another collection's test (or none) on
    // the board under the same number.
    int32_t CurrentTaskBase = 0;

    const std::vector<std::unique_ptr<TFigure>>& FigureList() const { return m_board->FigureList(); }
    ChessBoard& Board() { return *m_board; }

    // --- operations and handlers ---
    // Creation: reads "vremya" and "baza1", sets the caption and the clock
    // display, takes the clean copy of the board picture.
    void FormCreate();
    // "Задание": draws a task not given yet in this run, shows it and starts
    // the clock. Also ends a running playback.
    void Button2Click();
    // "Попробовать еще раз": the same task again from its start. Also ends a
    // running playback. Before any task: "Задание еще не определено".
    void Button3Click();
    // "Разыграть вариант": the task again from its start, its whole solution
    // played move by move by Timer1; the clock stops at the full time.
    void Button1Click();
    // Judges the user's move just made against the solution (see
    // SolutionCheck.h): confirms it and plays the reply, or ends the attempt.
    // A verdict that ends the attempt stops the clock and counts before its
    // message is shown, so a time-out under the message cannot count it again.
    void CheckUserMove();
    // Makes one move of the solution for the program; false (and nothing
    // done) when the token cannot be read.
    bool PlayToken(std::string_view token);
    // One second of the clock; true when it ran the time out.
    bool ClockTick();
    void Timer2Timer();
    void StartPlayback();
    void Timer1Timer();
    void N5Click(); // "Результаты"
    void N2Click(); // the top-level "Выход": does nothing
    void N4Click(); // "Выход" > "Выход": ends the program
    void N9Click();
    void N10Click();
    void N7Click();
    void N8Click();
    void N11Click();
    void N3Click();

    void FigureMouseDown(Picture* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void FigureMouseMove(Picture* sender, Qt::KeyboardModifiers shift, int x, int y);
    void FigureMouseUp(Picture* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void SnapBack(Picture* picture);

    // Puts the clean board picture back and draws the program's move as a
    // red line of width 4 on it.
    void DrawMoveLine(int fromCol, int fromRow, int toCol, int toRow);
    // Board setup: the figures of TaskPosition, then the clean board picture.
    void PlacePosition();

    // The clock display for a time in seconds (minutes and seconds labels);
    // the options dialog sets it too.
    void SetClockDisplay(int32_t seconds);

    // The windows the menu opens, created after this one. Any may be null
    // (its menu item then does nothing).
    void AttachWindows(QDialog* options, QDialog* base, QDialog* about, QDialog* links);

    // The lines the text pane holds, in order.
    QStringList TextPaneLines() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Picture* CreatePicture(const std::string& code) override;
    void BuildLayout();
    void BuildMenu();
    void LoadArtwork();
    void ClearTextPane();
    void AppendLine(const std::string& line);
    // Loads the record of test `number` of collection `base` and takes its
    // side, position and solution; false when `base` names no collection.
    bool TakeTask(int32_t base, int32_t number, bool withHint);
    void ShowClock(ClockDisplay display);
    // Ends the attempt: clock stopped, TaskOver set, the attempt counted.
    void EndAttempt(bool solved);
    // Puts a figure whose drag has not been finished back on its square.
    void CancelDrag();

    MessageBoxes& m_boxes;
    RandomSource& m_random;
    TaskLoader m_loadTask;
    std::map<std::string, PictureBox*, std::less<>> m_sources;
    QPointer<FigurePicture> m_dragged;
    int m_paneLines = 0;
    QPointer<QDialog> m_options;
    QPointer<QDialog> m_base;
    QPointer<QDialog> m_about;
    QPointer<QDialog> m_links;
};

#pragma once
// The main window "Tresolvin": the board on the left, the text pane, the
// task clock and the three task buttons on the right, the main menu on top.
//
// TForm1 holds the layout, the menu and the figure pictures, and is the
// screen of one training run (training/TrainingRun.h): the run holds the
// whole training state and runs every command of a run; the window forwards
// its button, timer and figure handlers to it under the same names and shows
// what the run tells it through the TrainingView interface.
//
// Everything runs on the user-interface thread. Messages go through
// MessageBoxes; while one is open the two timers keep firing.
#include "Picture.h"
#include "SettingsObserver.h"
#include "TrainingRun.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

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

class TForm1 : public QMainWindow, public SettingsObserver, private TrainingView, private PictureFactory {
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

    // The training run shown in this window.
    TrainingRun& Run() { return m_run; }

    // --- handlers; the training ones are the run's (TrainingRun.h) ---
    // Creation: the run's FormCreate, and the clean copy of the board picture.
    void FormCreate();
    void Button2Click() { m_run.Button2Click(); } // "Задание"
    void Button3Click() { m_run.Button3Click(); } // "Попробовать еще раз"
    void Button1Click() { m_run.Button1Click(); } // "Разыграть вариант"
    void Timer1Timer() { m_run.Timer1Timer(); }
    void Timer2Timer() { m_run.Timer2Timer(); }
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

    // SettingsObserver: the options dialog resets the clock display, the
    // base dialog the caption.
    void MoveTimeChanged(int32_t seconds) override { m_run.SetClockDisplay(seconds); }
    void BaseChanged(int32_t base) override;

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

    // TrainingView
    void Notice(const std::string& text) override;
    void Error(const std::string& text) override;
    void ShowClock(ClockDisplay display) override;
    void RunClock(bool running) override;
    void RunPlayback(int intervalMs) override;
    void ClearText() override;
    void AppendText(const std::string& line) override;
    void ShowBoardPicture(const std::optional<MoveLine>& line) override;
    void EnableBoardPicture(bool enabled) override;
    void ShowCaption(const std::string& caption) override;

    MessageBoxes& m_boxes;
    RandomSource& m_random;
    std::map<std::string, PictureBox*, std::less<>> m_sources;
    int m_paneLines = 0;
    TrainingRun m_run;
    QPointer<QDialog> m_options;
    QPointer<QDialog> m_base;
    QPointer<QDialog> m_about;
    QPointer<QDialog> m_links;
};

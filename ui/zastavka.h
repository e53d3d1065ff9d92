#pragma once
// The splash window "Tresolvin": fourteen portraits of the world chess
// champions with their surnames, and the button "Вход" that leads into the
// program.
//
// It is the first window created and the only one shown at start-up.
// "Вход" shows the main window and then hides the splash for the rest of the
// run. Closing the splash (before "Вход") ends the program.
#include <QWidget>

#include <array>

class PictureBox;
class QFrame;
class QLabel;
class QPushButton;

class TForm6 : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPortraitCount = 14;

    explicit TForm6(QWidget* parent = nullptr);

    // The window that "Вход" shows; may be set after construction.
    void SetMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }

    // Components, owned by the window; also found by their objectName.
    std::array<QFrame*, 3> Panels{};                    // Bevel1 .. Bevel3
    std::array<PictureBox*, kPortraitCount> Portraits{}; // Image1 .. Image14
    std::array<QLabel*, kPortraitCount> Names{};         // Label1 .. Label14
    QPushButton* Button1 = nullptr;                      // "Вход"

    // "Вход": the main window is shown, then the splash is hidden.
    void Button1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_mainWindow = nullptr;
};

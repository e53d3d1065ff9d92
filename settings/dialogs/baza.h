#pragma once
// The base dialog "Tresolvin": chooses the collection new tasks come from
// ("Тактика" = 1, "Стратегия" = 2), stored under "baza1" in "opt.ini".
//
// Created once at start-up (after the options dialog) and filled from the
// settings file by the constructor; between showings it keeps whatever its
// buttons last held. Show it modally with exec(). It never touches the
// board: the new base is used by the next command that loads a task.
#include <QDialog>

#include <cstdint>

class MessageBoxes;
class SettingsObserver;
class QGroupBox;
class QPushButton;
class QRadioButton;

class TForm5 : public QDialog {
    Q_OBJECT

public:
    // `boxes` and `observer` (told the chosen base, so that the main
    // window's caption follows; may be null) must outlive the dialog. The
    // constructor runs FormCreate().
    explicit TForm5(MessageBoxes& boxes, SettingsObserver* observer = nullptr, QWidget* parent = nullptr);

    // Components, owned by the dialog; also reachable by their objectName.
    QGroupBox* GroupBox1 = nullptr;       // "База заданий"
    QRadioButton* RadioButton1 = nullptr; // "Тактика", marked in the design
    QRadioButton* RadioButton2 = nullptr; // "Стратегия"
    QPushButton* Button1 = nullptr;       // "Ok"

    // Reads "baza1" into TaskBaseSetting and marks "Тактика" for 1 and
    // "Стратегия" for 2; any other value keeps the designed state. A failure
    // shows the error box "Ошибка считывания данных!".
    void FormCreate();

    // "Ok": sets TaskBaseSetting from the marked button and tells the
    // observer, writes "baza1" when the choice differs from what this dialog
    // last read or wrote or the file does not hold it yet, and closes the
    // dialog. When the write fails the
    // error box "Ошибка при записи данных!" with the reason on a second line
    // is shown and the dialog stays open, so the choice is not lost silently.
    void Button1Click();

private:
    MessageBoxes& m_boxes;
    SettingsObserver* m_observer;
    int32_t m_known = 0; // "baza1" as this dialog last read or wrote it
};

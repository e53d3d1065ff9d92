#pragma once
// The options dialog "Tresolvin Опции": time per test, playback interval and
// the two display switches, stored in "opt.ini".
//
// Created once at start-up (after the main window, because it sets the
// main window's clock display) and filled from the settings file by the
// constructor; it is not filled again when it is shown, so between showings
// it keeps whatever its fields last held. Show it modally with exec().
// Closing it with the window's close button changes nothing.
#include <QDialog>

#include <cstdint>
#include <string>

class MessageBoxes;
class SettingsObserver;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TForm3 : public QDialog {
    Q_OBJECT

public:
    // `boxes` and `observer` (told the time per task, so that the clock
    // display follows; may be null) must outlive the dialog. The constructor
    // runs FormCreate().
    explicit TForm3(MessageBoxes& boxes, SettingsObserver* observer = nullptr, QWidget* parent = nullptr);

    // Components, owned by the dialog; also reachable by their objectName.
    QLabel* Label1 = nullptr;       // "Количество времени на вариант (сек)"
    QLineEdit* Edit1 = nullptr;     // time per test, seconds
    QLabel* Label2 = nullptr;       // "Интервал между ходами (сек)"
    QLineEdit* Edit2 = nullptr;     // playback interval, seconds
    QCheckBox* CheckBox1 = nullptr; // "Отображение хода линией"
    QCheckBox* CheckBox2 = nullptr; // "Отображение подсказки"
    QPushButton* Button1 = nullptr; // "Ok"

    // Reads "vremya", "secnahod", "otobragenie_hoda" and
    // "otobragenie_podskazki" into the four in-memory settings, fills the
    // controls from them and tells the observer the time. A failure shows the
    // error box "Ошибка при записи данных!" and leaves the rest as it is.
    void FormCreate();

    // "Ok": takes the two fields through the integer reader, the two boxes
    // as 1/0; after the box "Значение должно быть больше 0!" a negative time
    // or interval becomes its negation and a 0 gives way to the setting's
    // previous value, field and setting alike. Tells the observer the time,
    // then writes, in order, each of the four keys whose value differs from
    // what this dialog last read or wrote, or that the file does not hold
    // yet, and closes the dialog. A refused field text or a failed write ends
    // the steps there with "Ошибка при записи данных!" (for a failed write
    // followed by the reason on a line of its own); the dialog closes all the
    // same.
    void Button1Click();

private:
    // False when a step failed; `reason` then says why a write failed.
    bool ApplyAndWrite(std::string& reason);

    MessageBoxes& m_boxes;
    SettingsObserver* m_observer;
    // Time, interval, line, hint as this dialog last read or wrote them.
    int32_t m_known[4] = {};
};

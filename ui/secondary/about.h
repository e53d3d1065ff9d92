#pragma once
// The about box "О программе": who made the program, thanks, a contact
// address and the version. Labels only; the e-mail address is clickable and
// hands "mailto:" + the address to the desktop.
//
// Created once at start-up and shown modally with exec().
#include <QDialog>

#include <array>

class ClickableLabel;
class QFrame;
class QLabel;
class UrlOpener;

class TForm4 : public QDialog {
    Q_OBJECT

public:
    // `opener` must outlive the box.
    explicit TForm4(UrlOpener& opener, QWidget* parent = nullptr);

    // Components, owned by the box; also reachable by their objectName.
    QLabel* Label1 = nullptr;  // "Программу шахматных тестов "
    QLabel* Label2 = nullptr;  // "Tresolvin " in bold
    QLabel* Label3 = nullptr;  // "составил  :"
    QLabel* Label4 = nullptr;  // the author
    QLabel* Label5 = nullptr;  // "Благодарность за помощь в создании программы :"
    QFrame* Bevel1 = nullptr;  // raised frame around the four thanks
    std::array<QLabel*, 4> ThanksNames{};   // Label6, Label8, Label10, Label12
    std::array<QLabel*, 4> ThanksReasons{}; // Label7, Label9, Label11, Label13
    QLabel* Label14 = nullptr;         // "Все претензии и пожелания отправляйте на ящик "
    ClickableLabel* Label15 = nullptr; // the contact address, navy blue
    QLabel* Label16 = nullptr;         // "Tresolvin Версия 1.2"

    // Click on the address: opens "mailto:" + the label's text.
    void Label15Click();

private:
    UrlOpener& m_opener;
};

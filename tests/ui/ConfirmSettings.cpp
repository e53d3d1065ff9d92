// A copy of the program's settings side for the tests of several running
// copies: creates the options dialog and the base dialog as start-up does
// (both read the settings file), says "ready" on standard output, waits for
// one order on standard input, carries it out like a user (typing or
// marking, then clicking "Ok") and ends. Orders: "time N", "interval N",
// "line", "hint", "strategy". Every error box is written to standard output.
#include "MessageBoxes.h"
#include "baza.h"
#include "option.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

class PrintedBoxes final : public MessageBoxes {
public:
    void Notice(const std::string& text) override { std::cout << "notice: " << text << std::endl; }
    void Error(const std::string& text) override { std::cout << "error: " << text << std::endl; }
};

void Type(QLineEdit* field, const QString& text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    PrintedBoxes boxes;
    TForm3 options(boxes);
    TForm5 base(boxes);
    std::cout << "ready" << std::endl;

    std::string order, value;
    if (!(std::cin >> order))
        return 2;
    QDialog* dialog = &options;
    QPushButton* ok = options.Button1;
    if (order == "time" && std::cin >> value) {
        Type(options.Edit1, QString::fromStdString(value));
    } else if (order == "interval" && std::cin >> value) {
        Type(options.Edit2, QString::fromStdString(value));
    } else if (order == "line") {
        options.CheckBox1->toggle();
    } else if (order == "hint") {
        options.CheckBox2->toggle();
    } else if (order == "strategy") {
        base.RadioButton2->setChecked(true);
        dialog = &base;
        ok = base.Button1;
    } else {
        return 2;
    }
    dialog->show();
    QTest::mouseClick(ok, Qt::LeftButton);
    std::cout << "done" << std::endl;
    return 0;
}

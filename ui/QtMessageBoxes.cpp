#include "QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void Show(const QString& caption, QMessageBox::Icon icon, QMessageBox::StandardButton button, const std::string& text)
{
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr)
        parent = QApplication::activeWindow();
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setIcon(icon);
    box.setText(QString::fromStdString(text));
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(button);
    box.setDefaultButton(button);
    box.exec();
}

} // namespace

void QtMessageBoxes::Notice(const std::string& text)
{
    Show(QStringLiteral("Tresolvin"), QMessageBox::NoIcon, QMessageBox::Ok, text);
}

void QtMessageBoxes::Error(const std::string& text)
{
    Show(QStringLiteral("Error"), QMessageBox::Critical, QMessageBox::Yes, text);
}

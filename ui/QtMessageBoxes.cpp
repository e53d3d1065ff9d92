#include "QtMessageBoxes.h"

#include <QMessageBox>

namespace {

void Show(QWidget* parent, const QString& caption, QMessageBox::Icon icon, QMessageBox::StandardButton button,
          const QString& text)
{
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setIcon(icon);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(button);
    box.setDefaultButton(button);
    box.exec();
}

} // namespace

void QtMessageBoxes::Notice(QWidget* parent, const QString& text)
{
    Show(parent, QStringLiteral("Tresolvin"), QMessageBox::NoIcon, QMessageBox::Ok, text);
}

void QtMessageBoxes::Error(QWidget* parent, const QString& text)
{
    Show(parent, QStringLiteral("Error"), QMessageBox::Critical, QMessageBox::Yes, text);
}

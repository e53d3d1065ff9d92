#pragma once
// Every message box of the program goes through this interface, so that
// tests can answer the boxes without blocking.
//
// The real implementation (QtMessageBoxes) shows modal boxes; the main
// window's timers keep firing while one is open.
#include <QString>

class QWidget;

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A plain notice: caption "Tresolvin", no icon, one OK button. Returns
    // when the user has closed it.
    virtual void Notice(QWidget* parent, const QString& text) = 0;
    // An error box: error icon, caption "Error", a single Yes button.
    virtual void Error(QWidget* parent, const QString& text) = 0;
};

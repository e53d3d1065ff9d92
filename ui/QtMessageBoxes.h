#pragma once
// The program's message boxes: modal QMessageBox dialogs.
//
// Each box runs its own event loop, so the main window's timers keep firing
// while it is open (the clock counts on under a message).
#include "MessageBoxes.h"

class QtMessageBoxes final : public MessageBoxes {
public:
    // Caption "Tresolvin", no icon, one OK button.
    void Notice(QWidget* parent, const QString& text) override;
    // Caption "Error", the critical icon, a single Yes button.
    void Error(QWidget* parent, const QString& text) override;
};

#pragma once
// The program's message boxes: modal QMessageBox dialogs over the active
// window (or centred on the screen when there is none).
//
// Each box runs its own event loop, so the main window's timers keep firing
// while it is open (the clock counts on under a message).
#include "MessageBoxes.h"

class QtMessageBoxes final : public MessageBoxes {
public:
    // Caption "Tresolvin", no icon, one OK button.
    void Notice(const std::string& text) override;
    // Caption "Error", the critical icon, a single Yes button (which reads
    // "Да" with Qt's Russian translation, Startup.h).
    void Error(const std::string& text) override;
};

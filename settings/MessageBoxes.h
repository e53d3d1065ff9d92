#pragma once
// Every message box of the program goes through this interface: the
// settings dialogs, the training run and the menu commands use it, and the
// user interface implements it (QtMessageBoxes: modal boxes over the active
// window, under which the main window's timers keep firing). Tests answer
// the boxes without blocking.
#include <string>

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A plain notice: caption "Tresolvin", no icon, one OK button. Returns
    // when the user has closed it.
    virtual void Notice(const std::string& text) = 0;
    // An error box: error icon, caption "Error", a single Yes button.
    virtual void Error(const std::string& text) = 0;
};

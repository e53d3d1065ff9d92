#pragma once
// Every message box of the program goes through this interface: whatever
// has something to tell the user uses it, and the screen implements it with
// modal boxes over the active window, under which the timers keep firing.
// Tests answer the boxes without blocking.
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

#pragma once
// Test doubles for the windows: message boxes that record instead of
// blocking (and can run code "while the box is open", as timer events
// would), a URL opener and a settings observer that record.
#include "MessageBoxes.h"
#include "SettingsObserver.h"
#include "UrlOpener.h"

#include <functional>
#include <string>
#include <vector>

class FakeMessageBoxes final : public MessageBoxes {
public:
    void Notice(const std::string& text) override { Record(text); }
    void Error(const std::string& text) override { Errors.push_back(text), Record(text); }

    std::vector<std::string> All;    // every box, in order
    std::vector<std::string> Errors; // the error boxes
    std::function<void(const std::string&)> WhileOpen;

private:
    void Record(const std::string& text)
    {
        All.push_back(text);
        if (const auto hook = WhileOpen) // a copy: a hook may replace itself
            hook(text);
    }
};

class RecordingUrlOpener final : public UrlOpener {
public:
    void Open(const QUrl& url) override { Opened.push_back(url.toString().toStdString()); }
    std::vector<std::string> Opened;
};

class RecordingObserver final : public SettingsObserver {
public:
    void MoveTimeChanged(int32_t seconds) override { Times.push_back(seconds); }
    void BaseChanged(int32_t base) override { Bases.push_back(base); }
    std::vector<int32_t> Times, Bases;
};

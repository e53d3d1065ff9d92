#pragma once
// Message boxes that record their texts instead of showing anything, and
// can run code "while the box is open", as timer events would.
#include "MessageBoxes.h"

#include <QString>
#include <QStringList>

#include <functional>

class FakeMessageBoxes final : public MessageBoxes {
public:
    void Notice(QWidget*, const QString& text) override
    {
        Notices << text;
        All << text;
        if (WhileOpen) {
            // Copied, so that a hook may replace itself.
            const auto hook = WhileOpen;
            hook(text);
        }
    }
    void Error(QWidget*, const QString& text) override
    {
        Errors << text;
        All << text;
    }
    void Clear()
    {
        Notices.clear();
        Errors.clear();
        All.clear();
    }

    QStringList Notices;
    QStringList Errors;
    QStringList All;
    std::function<void(const QString& text)> WhileOpen;
};

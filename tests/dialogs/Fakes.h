#pragma once
// Test doubles for the dialogs and secondary windows: message boxes that
// record instead of blocking, a URL opener that records, and random sources
// with a script or a fixed seed.
#include "MessageBoxes.h"
#include "RandomSource.h"
#include "UrlOpener.h"

#include <QString>
#include <QUrl>

#include <deque>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

struct RecordedBox {
    enum Kind { Notice, Error };
    Kind kind;
    QString text;
    QWidget* parent;
};

class FakeMessageBoxes final : public MessageBoxes {
public:
    std::vector<RecordedBox> boxes;
    // Runs while a box is "open", to look at the state at that moment.
    std::function<void(const RecordedBox&)> whileOpen;

    void Notice(QWidget* parent, const QString& text) override { Record({RecordedBox::Notice, text, parent}); }
    void Error(QWidget* parent, const QString& text) override { Record({RecordedBox::Error, text, parent}); }

    std::vector<QString> ErrorTexts() const
    {
        std::vector<QString> texts;
        for (const RecordedBox& box : boxes)
            if (box.kind == RecordedBox::Error)
                texts.push_back(box.text);
        return texts;
    }

private:
    void Record(const RecordedBox& box)
    {
        boxes.push_back(box);
        if (whileOpen)
            whileOpen(box);
    }
};

class RecordingUrlOpener final : public UrlOpener {
public:
    std::vector<QUrl> opened;
    void Open(const QUrl& url) override { opened.push_back(url); }
};

// Hands out the scripted numbers in order and logs every call ("R" for a
// re-seed, "B<bound>" for a draw).
class ScriptedRandomSource final : public RandomSource {
public:
    std::deque<int32_t> script;
    std::vector<std::string> calls;

    void Reseed() override { calls.push_back("R"); }
    int32_t Below(int32_t bound) override
    {
        calls.push_back("B" + std::to_string(bound));
        const int32_t value = script.front();
        script.pop_front();
        return value;
    }
};

// A uniform source with a fixed seed, so that a long run of draws is the
// same on every test run. Re-seeding only counts.
class SeededRandomSource final : public RandomSource {
public:
    int reseeds = 0;
    void Reseed() override { ++reseeds; }
    int32_t Below(int32_t bound) override { return std::uniform_int_distribution<int32_t>(0, bound - 1)(m_engine); }

private:
    std::mt19937 m_engine{20240611u};
};

#pragma once
// A main window with boards of the tests' own making: its task loader serves
// a small table of records, its random source a script of draws, its
// message boxes are fakes. Figures are moved with real mouse events.
#include "FakeMessageBoxes.h"
#include "FigurePicture.h"
#include "ScriptedRandom.h"
#include "Settings.h"
#include "TrainingTexts.h"
#include "Unit1.h"
#include "Verdict.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <utility>

namespace testboards {

// The worked example of the move rules: White to move, "e3-g5 f3:d1 b3:e6".
inline TaskRecord WorkedExample()
{
    return {"[White \"Alpha.\"]\r\n[Black \"Beta.\"]\r\n[EventDate \"1945\"]",
            "r3kb1r/2q2ppp/p3p3/1p6/3Q4/1BP1Bb2/PP3P1P/2KRR3",
            "w",
            "e3-g5 f3:d1 b3:e6",
            "Ход белых. Найдите оптимальный вариант.",
            "Попробуйте выиграть на связке.",
            1};
}

// The reply takes the figure the user has just dropped: f5-h6 g7:h6 g5:f6.
inline TaskRecord Recapture()
{
    return {"[White \"Gamma.\"]\r\n[Black \"Delta.\"]\r\n[EventDate \"1950\"]",
            "r2qrbk1/1bp2ppp/p2p1n2/2p2NB1/4P3/2N2Q2/PPP2PPP/R3R1K1",
            "w",
            "f5-h6 g7:h6 g5:f6",
            "Ход белых. Найдите оптимальный вариант.",
            "Свяжите коня.",
            1};
}

// Black to move, one token.
inline TaskRecord BlackToMove()
{
    return {"[White \"Epsilon\"]\r\n[Black \"Zeta\"]\r\n[EventDate \"0000\"]",
            "4k3/8/8/8/8/8/4P3/4K3",
            "b",
            "e8-d8",
            "Ход черных. Найдите оптимальный вариант.",
            "Отступите королем.",
            1};
}

// A strategy record, one token.
inline TaskRecord StrategyOne()
{
    return {"[White \"Eta, A.\"]\r\n[Black \"Theta, B.\"]\r\n[EventDate \"2008\"]",
            "8/8/5pkp/3Q4/5P2/1P4K1/6P1/1r5r",
            "w",
            "f4-f5",
            "Ход белых. Найдите оптимальный вариант.",
            "Захватите пространство.",
            1};
}

// The number of pieces a FEN placement describes.
inline std::size_t PieceCount(const std::string& placement)
{
    return static_cast<std::size_t>(std::count_if(placement.begin(), placement.end(), [](char c) {
        return std::string_view("PNBRQKpnbrqk").find(c) != std::string_view::npos;
    }));
}

// Row and column of a square name such as "e3".
inline Square At(const char* name)
{
    return {9 - (name[1] - '0'), name[0] - 'a' + 1};
}

} // namespace testboards

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::error_code ignored;
        std::filesystem::remove(SettingsFilePath(), ignored);
        for (const SettingInfo& info : kSettings)
            *info.Variable = 0;
        m_tasks[{kTacticsBase, 1}] = testboards::WorkedExample();
        m_tasks[{kTacticsBase, 2}] = testboards::Recapture();
        m_tasks[{kTacticsBase, 3}] = testboards::BlackToMove();
        m_tasks[{kStrategyBase, 1}] = testboards::StrategyOne();
    }

    void TearDown() override
    {
        m_form.reset();
        QTest::qWait(0);
    }

    static void WriteSetting(SettingId id, int32_t value) { ASSERT_TRUE(WriteSettingValue(id, value).Ok); }

    // Creates and shows the main window; FormCreate reads the settings file.
    TForm1& Form()
    {
        if (!m_form) {
            m_form = std::make_unique<TForm1>(m_boxes, m_random, [this](int32_t base, int32_t number) {
                return Load(base, number);
            });
            m_form->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
        }
        return *m_form;
    }

    std::optional<TaskRecord> Load(int32_t base, int32_t number)
    {
        ++m_loads;
        if (base != kTacticsBase && base != kStrategyBase)
            return std::nullopt;
        const auto it = m_tasks.find({base, number});
        return it == m_tasks.end() ? TaskRecord{} : it->second;
    }

    // "Задание" with the draw scripted to give test `number`.
    void NewTask(int32_t number)
    {
        m_random.Push(number - 1);
        Form().Button2Click();
    }

    FigurePicture* FigureOn(const char* square)
    {
        const Square s = testboards::At(square);
        return dynamic_cast<FigurePicture*>(Form().Board().FigureAt(s.Column, s.Row));
    }

    std::string CodeOn(const char* square)
    {
        FigurePicture* figure = FigureOn(square);
        return figure ? Form().Board().CodeOf(figure) : std::string();
    }

    QPoint RestingPlace(const char* square)
    {
        const Square s = testboards::At(square);
        const PixelPos p = SquareToPixel(Form().Board().Geometry(), s.Row, s.Column);
        return {p.Left, p.Top};
    }

    // Presses `figure`, moves the pointer by `delta` and releases it there,
    // with real mouse events.
    static void Drag(QWidget* figure, QPoint delta)
    {
        const QPoint grip(17, 17);
        QTest::mousePress(figure, Qt::LeftButton, {}, grip);
        QTest::mouseMove(figure, grip + delta);
        // The picture followed the pointer: it is under the same grip again.
        QTest::mouseRelease(figure, Qt::LeftButton, {}, grip);
    }

    // Drags the figure on `from` to the square `to`.
    void Play(const char* from, const char* to)
    {
        FigurePicture* figure = FigureOn(from);
        ASSERT_NE(figure, nullptr) << "no figure on " << from;
        const Square a = testboards::At(from);
        const Square b = testboards::At(to);
        Drag(figure, {40 * (b.Column - a.Column), 40 * (b.Row - a.Row)});
    }

    FakeMessageBoxes m_boxes;
    ScriptedRandom m_random;
    std::map<std::pair<int32_t, int32_t>, TaskRecord> m_tasks;
    int m_loads = 0;
    std::unique_ptr<TForm1> m_form;
};

inline QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

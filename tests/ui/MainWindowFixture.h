#pragma once
// A main window on the offscreen platform with boards of the tests' own
// making, a script of draws and recording message boxes. Figures are moved
// with real mouse events.
#include "Boards.h"
#include "Fakes.h"
#include "FigurePicture.h"
#include "ScriptedRandom.h"
#include "Unit1.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
    void TearDown() override { m_form.reset(), QTest::qWait(0); }

    static void Write(SettingId id, int32_t value) { ASSERT_TRUE(WriteSettingValue(id, value).Ok); }

    TForm1& Form()
    {
        if (!m_form) {
            m_form = std::make_unique<TForm1>(m_boxes, m_random,
                                              [this](int32_t base, int32_t number) { return LoadFrom(m_tasks, base, number); });
            m_form->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
        }
        return *m_form;
    }
    TrainingRun& Run() { return Form().Run(); }
    // The clock labels, minutes and seconds.
    QString Clock() { return Form().Label1->text() + " " + Form().Label5->text(); }

    // "Задание", clicked, with the draw scripted to give test `number`.
    void NewTask(int32_t number)
    {
        m_random.Push(FreeIndexFor(m_tasks, Run().Rounds(), number));
        QTest::mouseClick(Form().Button2, Qt::LeftButton);
    }

    FigurePicture* FigureOn(const char* square)
    {
        return dynamic_cast<FigurePicture*>(Run().Board().FigureAt(At(square).Column, At(square).Row));
    }
    std::string CodeOn(const char* square) { return Run().Board().CodeOf(FigureOn(square)); }
    QPoint Place(const char* square)
    {
        const PixelPos p = SquareToPixel(Run().Board().Geometry(), At(square).Row, At(square).Column);
        return {p.Left, p.Top};
    }

    // Press at the figure's middle, drag it to `to`, release (the picture
    // followed the pointer).
    void Play(const char* from, const char* to)
    {
        FigurePicture* figure = FigureOn(from);
        ASSERT_NE(figure, nullptr) << "no figure on " << from;
        QTest::mousePress(figure, Qt::LeftButton, {}, {17, 17});
        QTest::mouseMove(figure, QPoint(17, 17) + Place(to) - Place(from));
        QTest::mouseRelease(figure, Qt::LeftButton, {}, {17, 17});
    }

    FakeMessageBoxes m_boxes;
    ScriptedRandom m_random;
    BoardTable m_tasks = Boards();
    std::unique_ptr<TForm1> m_form;
};

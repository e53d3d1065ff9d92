#pragma once
// A training run on a fake view and fake pictures, with boards of the tests'
// own making, a script of draws and the settings file in a temporary
// directory. Figures are moved through the run's own mouse handlers.
#include "../core/FakePicture.h"
#include "Boards.h"
#include "ScriptedRandom.h"
#include "TrainingRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

class FakeView final : public TrainingView {
public:
    void Notice(const std::string& text) override
    {
        Notices.push_back(text);
        if (const auto hook = WhileOpen) // a copy: a hook may replace itself
            hook(text);
    }
    void Error(const std::string& text) override { Errors.push_back(text); }
    void ShowClock(ClockDisplay display) override { Clock = display; }
    void RunClock(bool running) override { ClockRunning = running; }
    void RunPlayback(int intervalMs) override { PlaybackMs = intervalMs; }
    void ClearText() override { Text.clear(); }
    void AppendText(const std::string& line) override { Text.push_back(line); }
    void ShowBoardPicture(const std::optional<MoveLine>& line) override { Line = line; }
    void EnableBoardPicture(bool enabled) override { BoardEnabled = enabled; }
    void ShowCaption(const std::string& caption) override { Caption = caption; }

    std::vector<std::string> Notices, Errors, Text;
    ClockDisplay Clock{-1, -1};
    bool ClockRunning = false;
    int PlaybackMs = 0;
    std::optional<MoveLine> Line;
    bool BoardEnabled = true;
    std::string Caption;
    std::function<void(const std::string&)> WhileOpen;
};

class RunFixture : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_config = (std::filesystem::temp_directory_path() / "tresolvin-run-XXXXXX").string();
        ASSERT_NE(::mkdtemp(s_config.data()), nullptr);
        ::setenv("XDG_CONFIG_HOME", s_config.c_str(), 1);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(s_config); }

    void SetUp() override
    {
        ResetSettings();
        run.FormCreate();
    }

    static void Write(SettingId id, int32_t value) { ASSERT_TRUE(WriteSettingValue(id, value).Ok); }

    // "Задание" with the draw scripted to give test `number`.
    void NewTask(int32_t number)
    {
        random.Push(FreeIndexFor(tasks, run.Rounds(), number));
        run.Button2Click();
    }

    Picture* FigureOn(const char* square) { return run.Board().FigureAt(At(square).Column, At(square).Row); }
    std::string CodeOn(const char* square) { return run.Board().CodeOf(FigureOn(square)); }
    PixelPos Place(const char* square) { return SquareToPixel(kStandard, At(square).Row, At(square).Column); }

    // Press, drag by `dx`, `dy` pixels and release, through the run.
    void Drag(Picture& figure, int dx, int dy)
    {
        run.FigureMouseDown(figure, 17, 17);
        run.FigureMouseMove(figure, 17 + dx, 17 + dy);
        run.FigureMouseUp(figure);
    }
    void Play(const char* from, const char* to)
    {
        ASSERT_NE(FigureOn(from), nullptr) << "no figure on " << from;
        Drag(*FigureOn(from), Place(to).Left - Place(from).Left, Place(to).Top - Place(from).Top);
    }

    static inline std::string s_config;
    static constexpr BoardGeometry kStandard{32, 32, 385};
    BoardTable tasks = Boards();
    int loads = 0;
    FakeView view;
    FakePictureFactory pictures;
    ScriptedRandom random;
    TrainingRun run{view, pictures, [] { return kStandard; }, random,
                    [this](int32_t base, int32_t number) { return ++loads, LoadFrom(tasks, base, number); }};
};

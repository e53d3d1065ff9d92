// The options dialog, driven like a user: typing into its fields, ticking
// its boxes and clicking "Ok" with the mouse.
#include "Fakes.h"
#include "SettingsFixture.h"
#include "option.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace {

const QString kWriteError = QStringLiteral("Ошибка при записи данных!");
const QString kMustBePositive = QStringLiteral("Значение должно быть больше 0!");

void TypeInto(QLineEdit* field, const QString& text)
{
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    ASSERT_EQ(field->text(), text);
}

void SetTicked(QCheckBox* box, bool ticked)
{
    if (box->isChecked() != ticked)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    ASSERT_EQ(box->isChecked(), ticked);
}

class OptionsDialog : public SettingsFixture {
protected:
    std::unique_ptr<TForm3> Create()
    {
        auto dialog = std::make_unique<TForm3>(m_boxes, [this](int32_t seconds) { m_clock.push_back(seconds); });
        return dialog;
    }

    static void ShowAndWait(TForm3& dialog)
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    static void ClickOk(TForm3& dialog)
    {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        QTRY_VERIFY(!dialog.isVisible());
    }

    FakeMessageBoxes m_boxes;
    std::vector<int32_t> m_clock;
};

TEST_F(OptionsDialog, DesignMatchesTheWindowTable)
{
    const auto dialog = Create();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Tresolvin Опции"));
    EXPECT_EQ(dialog->size(), QSize(318 - 8, 167 - 27));
    const struct {
        const char* name;
        QString text;
    } labels[] = {
        {"Label1", QStringLiteral("Количество времени на вариант (сек)")},
        {"Label2", QStringLiteral("Интервал между ходами (сек)")},
    };
    for (const auto& l : labels) {
        const auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(l.name));
        ASSERT_NE(label, nullptr) << l.name;
        EXPECT_EQ(label->text(), l.text);
    }
    EXPECT_EQ(dialog->findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->text(), QStringLiteral("Отображение хода линией"));
    EXPECT_EQ(dialog->findChild<QCheckBox*>(QStringLiteral("CheckBox2"))->text(), QStringLiteral("Отображение подсказки"));
    EXPECT_EQ(dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->text(), QStringLiteral("Ok"));

    // Every control fits inside the window and shows its whole text, and the
    // fields stand to the right of their labels.
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        EXPECT_TRUE(dialog->rect().contains(child->geometry())) << child->objectName().toStdString();
        if (qobject_cast<QLabel*>(child) || qobject_cast<QCheckBox*>(child)) {
            EXPECT_GE(child->width(), child->sizeHint().width()) << child->objectName().toStdString();
        }
    }
    EXPECT_GE(dialog->Edit1->x(), dialog->Label1->x() + dialog->Label1->sizeHint().width());
    EXPECT_GE(dialog->Edit2->x(), dialog->Label2->x() + dialog->Label2->sizeHint().width());
}

TEST_F(OptionsDialog, NoFileShowsDefaultsAndCreatesNothing)
{
    const auto dialog = Create();
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("180"));
    EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("1"));
    EXPECT_FALSE(dialog->CheckBox1->isChecked());
    EXPECT_FALSE(dialog->CheckBox2->isChecked());
    EXPECT_EQ(MoveTimeSetting, 180);
    EXPECT_EQ(MoveIntervalSetting, 1);
    EXPECT_EQ(m_clock, std::vector<int32_t>{180});
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_FALSE(FileExists());
}

struct FillCase {
    const char* name;
    const char* time;
    const char* interval;
    const char* line;
    const char* hint;
    QString timeField;
    QString intervalField;
    bool lineTicked;
    bool hintTicked;
};

class OptionsDialogFill : public OptionsDialog, public testing::WithParamInterface<FillCase> {};

TEST_P(OptionsDialogFill, ShowsTheFileAtCreation)
{
    const FillCase& c = GetParam();
    Put(SettingId::MoveTime, c.time);
    Put(SettingId::MoveInterval, c.interval);
    Put(SettingId::MoveLine, c.line);
    Put(SettingId::Hint, c.hint);
    const auto dialog = Create();
    EXPECT_EQ(dialog->Edit1->text(), c.timeField);
    EXPECT_EQ(dialog->Edit2->text(), c.intervalField);
    EXPECT_EQ(dialog->CheckBox1->isChecked(), c.lineTicked);
    EXPECT_EQ(dialog->CheckBox2->isChecked(), c.hintTicked);
    EXPECT_EQ(m_clock, std::vector<int32_t>{dialog->Edit1->text().toInt()});
    EXPECT_TRUE(m_boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Settings, OptionsDialogFill,
    testing::Values(
        FillCase{"LineOnHintOff", "180", "1", "1", "0", "180", "1", true, false},
        FillCase{"LineOffHintOn", "75", "4", "0", "1", "75", "4", false, true},
        FillCase{"SwitchesTwoAreNotOn", "180", "1", "2", "-1", "180", "1", false, false},
        FillCase{"HexTime", "0x3C", "$A", "1", "1", "60", "10", true, true},
        FillCase{"TextTimeGivesDefault", "abc", "x", "yes", "1x", "180", "1", false, false},
        FillCase{"NegativeValuesAreShownAsRead", "-30", "-2", "0", "0", "-30", "-2", false, false}),
    [](const testing::TestParamInfo<FillCase>& info) { return std::string(info.param.name); });

struct OkCase {
    const char* name;
    QString time;
    QString interval;
    bool line;
    bool hint;
    std::vector<QString> errors;
    QString timeFieldAfter;
    QString intervalFieldAfter;
    // Settings in memory after "Ok": time, interval, line, hint.
    std::vector<int32_t> memory;
    // The four keys in the file afterwards; the earlier 150, 3, 0, 0 when
    // nothing may be written.
    std::vector<std::string> file;
    std::optional<int32_t> clock; // the clock display set by "Ok", if any
};

class OptionsDialogOk : public OptionsDialog, public testing::WithParamInterface<OkCase> {};

TEST_P(OptionsDialogOk, RunsTheStepsInOrder)
{
    const OkCase& c = GetParam();
    Put(SettingId::MoveTime, "150");
    Put(SettingId::MoveInterval, "3");
    Put(SettingId::MoveLine, "0");
    Put(SettingId::Hint, "0");
    const auto dialog = Create();
    ShowAndWait(*dialog);
    m_clock.clear();

    TypeInto(dialog->findChild<QLineEdit*>(QStringLiteral("Edit1")), c.time);
    TypeInto(dialog->findChild<QLineEdit*>(QStringLiteral("Edit2")), c.interval);
    SetTicked(dialog->findChild<QCheckBox*>(QStringLiteral("CheckBox1")), c.line);
    SetTicked(dialog->findChild<QCheckBox*>(QStringLiteral("CheckBox2")), c.hint);
    ClickOk(*dialog);

    EXPECT_EQ(m_boxes.ErrorTexts(), c.errors);
    for (const RecordedBox& box : m_boxes.boxes)
        EXPECT_EQ(box.parent, dialog.get());
    EXPECT_EQ(dialog->Edit1->text(), c.timeFieldAfter);
    EXPECT_EQ(dialog->Edit2->text(), c.intervalFieldAfter);
    EXPECT_EQ((std::vector<int32_t>{MoveTimeSetting, MoveIntervalSetting, MoveLineSetting, HintSetting}), c.memory);
    EXPECT_EQ((std::vector<std::string>{Stored(SettingId::MoveTime).value_or("?"), Stored(SettingId::MoveInterval).value_or("?"),
                  Stored(SettingId::MoveLine).value_or("?"), Stored(SettingId::Hint).value_or("?")}),
        c.file);
    if (c.clock) {
        EXPECT_EQ(m_clock, std::vector<int32_t>{*c.clock});
    } else {
        EXPECT_TRUE(m_clock.empty());
    }
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

const std::vector<std::string> kOldFile{"150", "3", "0", "0"};

INSTANTIATE_TEST_SUITE_P(Fields, OptionsDialogOk,
    testing::Values(
        OkCase{"PlainValues", "200", "2", true, false, {}, "200", "2", {200, 2, 1, 0}, {"200", "2", "1", "0"}, 200},
        OkCase{"NegativeTime", "-90", "1", false, false, {kMustBePositive}, "90", "1", {90, 1, 0, 0}, {"90", "1", "0", "0"}, 90},
        OkCase{"ZeroTimeIsKept", "0", "1", false, true, {kMustBePositive}, "0", "1", {0, 1, 0, 1}, {"0", "1", "0", "1"}, 0},
        OkCase{"NegativeInterval", "180", "-2", false, false, {kMustBePositive}, "180", "2", {180, 2, 0, 0}, {"180", "2", "0", "0"}, 180},
        OkCase{"ZeroInterval", "180", "0", false, false, {kMustBePositive}, "180", "0", {180, 0, 0, 0}, {"180", "0", "0", "0"}, 180},
        OkCase{"BothNegative", "-5", "-7", true, true, {kMustBePositive, kMustBePositive}, "5", "7", {5, 7, 1, 1}, {"5", "7", "1", "1"}, 5},
        OkCase{"MostNegativeTime", "-2147483648", "1", false, false, {kMustBePositive}, "2147483647", "1",
            {std::numeric_limits<int32_t>::max(), 1, 0, 0}, {"2147483647", "1", "0", "0"}, std::numeric_limits<int32_t>::max()},
        OkCase{"HexFieldsAreNotRewritten", "$3C", "0x2", false, false, {}, "$3C", "0x2", {60, 2, 0, 0}, {"60", "2", "0", "0"}, 60},
        OkCase{"LeadingBlanksAndPlus", "  +45", "1", false, false, {}, "  +45", "1", {45, 1, 0, 0}, {"45", "1", "0", "0"}, 45},
        OkCase{"TimeWithALetter", "12a", "1", true, true, {kWriteError}, "12a", "1", {150, 3, 0, 0}, kOldFile, std::nullopt},
        OkCase{"TimeWithATrailingBlank", "90 ", "1", false, false, {kWriteError}, "90 ", "1", {150, 3, 0, 0}, kOldFile, std::nullopt},
        OkCase{"EmptyTime", "", "1", false, false, {kWriteError}, "", "1", {150, 3, 0, 0}, kOldFile, std::nullopt},
        OkCase{"TimeOutOfRange", "2147483648", "1", false, false, {kWriteError}, "2147483648", "1", {150, 3, 0, 0}, kOldFile,
            std::nullopt},
        OkCase{"IntervalInLetters", "100", "abc", true, false, {kWriteError}, "100", "abc", {100, 3, 0, 0}, kOldFile,
            std::nullopt},
        OkCase{"NegativeTimeThenBadInterval", "-20", "1.5", false, false, {kWriteError}, "-20", "1.5", {-20, 3, 0, 0},
            kOldFile, std::nullopt}),
    [](const testing::TestParamInfo<OkCase>& info) { return std::string(info.param.name); });

TEST_F(OptionsDialog, BoxComesBeforeTheCorrectedValue)
{
    const auto dialog = Create();
    ShowAndWait(*dialog);
    std::vector<QString> timeFieldWhileOpen;
    std::vector<int32_t> timeSettingWhileOpen;
    m_boxes.whileOpen = [&](const RecordedBox&) {
        timeFieldWhileOpen.push_back(dialog->Edit1->text());
        timeSettingWhileOpen.push_back(MoveTimeSetting);
    };
    TypeInto(dialog->Edit1, QStringLiteral("-90"));
    ClickOk(*dialog);
    EXPECT_EQ(timeFieldWhileOpen, std::vector<QString>{QStringLiteral("-90")});
    EXPECT_EQ(timeSettingWhileOpen, std::vector<int32_t>{-90});
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("90"));
}

TEST_F(OptionsDialog, BadIntervalLeavesTheFileForTheNextNewTask)
{
    Put(SettingId::MoveTime, "150");
    const auto dialog = Create();
    ShowAndWait(*dialog);
    TypeInto(dialog->Edit1, QStringLiteral("100"));
    TypeInto(dialog->Edit2, QStringLiteral("abc"));
    ClickOk(*dialog);
    EXPECT_EQ(m_boxes.ErrorTexts(), std::vector<QString>{kWriteError});
    EXPECT_EQ(MoveTimeSetting, 100);
    // What a new task reads back restores the time.
    EXPECT_EQ(LoadSetting(SettingId::MoveTime), 150);
}

TEST_F(OptionsDialog, FailedWriteReportsAndStillCloses)
{
    const auto dialog = Create();
    ShowAndWait(*dialog);
    BreakSettingsDirectory();
    m_clock.clear();
    TypeInto(dialog->Edit1, QStringLiteral("120"));
    ClickOk(*dialog);
    // The reason follows the text on a line of its own.
    const std::vector<QString> errors = m_boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].startsWith(kWriteError + QLatin1Char('\n'))) << errors[0].toStdString();
    EXPECT_GT(errors[0].size(), kWriteError.size() + 1);
    // Steps before the write have run: memory and clock display are updated.
    EXPECT_EQ(MoveTimeSetting, 120);
    EXPECT_EQ(m_clock, std::vector<int32_t>{120});
}

TEST_F(OptionsDialog, IsFilledOnlyAtCreation)
{
    Put(SettingId::MoveTime, "150");
    const auto dialog = Create();
    ShowAndWait(*dialog);
    TypeInto(dialog->Edit1, QStringLiteral("77"));
    dialog->close(); // the window's close button: nothing happens
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(Stored(SettingId::MoveTime), "150");
    EXPECT_EQ(MoveTimeSetting, 150);

    Put(SettingId::MoveTime, "99");
    ShowAndWait(*dialog);
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("77"));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(OptionsDialog, OkCanBeUsedAgain)
{
    const auto dialog = Create();
    for (const char* time : {"30", "-40"}) {
        ShowAndWait(*dialog);
        TypeInto(dialog->Edit1, QString::fromLatin1(time));
        ClickOk(*dialog);
    }
    EXPECT_EQ(Stored(SettingId::MoveTime), "40");
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("40"));
    EXPECT_EQ(m_boxes.ErrorTexts(), std::vector<QString>{kMustBePositive});
}

TEST_F(OptionsDialog, WorksWithoutAClockDisplay)
{
    TForm3 dialog(m_boxes);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    TypeInto(dialog.Edit1, QStringLiteral("61"));
    ClickOk(dialog);
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_EQ(Stored(SettingId::MoveTime), "61");
}

} // namespace

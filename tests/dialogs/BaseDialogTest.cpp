// The base dialog: filling from "baza1", choosing a collection with the
// mouse and confirming with "Ok".
#include "Fakes.h"
#include "SettingsFixture.h"
#include "baza.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>
#include <vector>

namespace {

class BaseDialog : public SettingsFixture {
protected:
    std::unique_ptr<TForm5> Create()
    {
        return std::make_unique<TForm5>(m_boxes, [this](const QString& caption) { m_captions.push_back(caption); });
    }

    static void ShowAndWait(TForm5& dialog)
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    static void Mark(QRadioButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        ASSERT_TRUE(button->isChecked());
    }

    static void ClickOk(TForm5& dialog)
    {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    }

    FakeMessageBoxes m_boxes;
    std::vector<QString> m_captions;
};

TEST_F(BaseDialog, DesignMatchesTheWindowTable)
{
    const auto dialog = Create();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Tresolvin"));
    EXPECT_EQ(dialog->size(), QSize(313 - 8, 137 - 27));
    const auto* group = dialog->findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("База заданий"));
    const auto* tactics = group->findChild<QRadioButton*>(QStringLiteral("RadioButton1"));
    const auto* strategy = group->findChild<QRadioButton*>(QStringLiteral("RadioButton2"));
    ASSERT_NE(tactics, nullptr);
    ASSERT_NE(strategy, nullptr);
    EXPECT_EQ(tactics->text(), QStringLiteral("Тактика"));
    EXPECT_EQ(strategy->text(), QStringLiteral("Стратегия"));
    const auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("Button1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("Ok"));
    EXPECT_GE(ok->x(), group->x() + group->width()) << "the button stands to the right of the group";
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        EXPECT_TRUE(child->parentWidget()->rect().contains(child->geometry())) << child->objectName().toStdString();
        if (qobject_cast<QRadioButton*>(child)) {
            EXPECT_GE(child->width(), child->sizeHint().width()) << child->objectName().toStdString();
        }
    }
}

struct FillCase {
    const char* name;
    const char* fileValue; // nullptr: no file at all
    bool strategyMarked;
    int32_t setting;
};

class BaseDialogFill : public BaseDialog, public testing::WithParamInterface<FillCase> {};

TEST_P(BaseDialogFill, MarksTheFilesCollection)
{
    const FillCase& c = GetParam();
    if (c.fileValue != nullptr)
        Put(SettingId::TaskBase, c.fileValue);
    const auto dialog = Create();
    EXPECT_EQ(dialog->RadioButton2->isChecked(), c.strategyMarked);
    EXPECT_EQ(dialog->RadioButton1->isChecked(), !c.strategyMarked);
    EXPECT_EQ(TaskBaseSetting, c.setting);
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_TRUE(m_captions.empty()) << "creation leaves the caption to the main window";
    EXPECT_EQ(FileExists(), c.fileValue != nullptr);
}

INSTANTIATE_TEST_SUITE_P(Values, BaseDialogFill,
    testing::Values(FillCase{"NoFile", nullptr, false, 1}, FillCase{"Tactics", "1", false, 1},
        FillCase{"Strategy", "2", true, 2}, FillCase{"HexStrategy", "$2", true, 2},
        FillCase{"UnknownKeepsTheDesign", "3", false, 3}, FillCase{"TextGivesDefault", "two", false, 1}),
    [](const testing::TestParamInfo<FillCase>& info) { return std::string(info.param.name); });

struct OkCase {
    const char* name;
    bool chooseStrategy;
    QString caption;
    int32_t setting;
    const char* stored;
};

class BaseDialogOk : public BaseDialog, public testing::WithParamInterface<OkCase> {};

TEST_P(BaseDialogOk, SetsCaptionWritesAndCloses)
{
    const OkCase& c = GetParam();
    Put(SettingId::TaskBase, c.chooseStrategy ? "1" : "2");
    const auto dialog = Create();
    ShowAndWait(*dialog);
    Mark(c.chooseStrategy ? dialog->RadioButton2 : dialog->RadioButton1);
    ClickOk(*dialog);
    QTRY_VERIFY(!dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_captions, std::vector<QString>{c.caption});
    EXPECT_EQ(TaskBaseSetting, c.setting);
    EXPECT_EQ(Stored(SettingId::TaskBase), c.stored);
    EXPECT_TRUE(m_boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Choices, BaseDialogOk,
    testing::Values(OkCase{"Strategy", true, QStringLiteral("Tresolvin Стратегия"), 2, "2"},
        OkCase{"Tactics", false, QStringLiteral("Tresolvin Тактика"), 1, "1"}),
    [](const testing::TestParamInfo<OkCase>& info) { return std::string(info.param.name); });

TEST_F(BaseDialog, UnknownFileValueIsReplacedByTheMarkedCollection)
{
    Put(SettingId::TaskBase, "3");
    const auto dialog = Create();
    ShowAndWait(*dialog);
    ClickOk(*dialog);
    QTRY_VERIFY(!dialog->isVisible());
    EXPECT_EQ(TaskBaseSetting, 1);
    EXPECT_EQ(Stored(SettingId::TaskBase), "1");
    EXPECT_EQ(m_captions, std::vector<QString>{QStringLiteral("Tresolvin Тактика")});
}

TEST_F(BaseDialog, FailedWriteShowsTheReasonAndStaysOpen)
{
    const auto dialog = Create();
    ShowAndWait(*dialog);
    BreakSettingsDirectory();
    Mark(dialog->RadioButton2);
    ClickOk(*dialog);

    const std::vector<QString> errors = m_boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1u);
    const QString prefix = QStringLiteral("Ошибка при записи данных!\n");
    EXPECT_TRUE(errors[0].startsWith(prefix)) << errors[0].toStdString();
    EXPECT_GT(errors[0].size(), prefix.size()) << "the reason follows";
    EXPECT_EQ(m_boxes.boxes[0].parent, dialog.get());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    // The choice has been taken over in memory and in the caption already.
    EXPECT_EQ(TaskBaseSetting, 2);
    EXPECT_EQ(m_captions, std::vector<QString>{QStringLiteral("Tresolvin Стратегия")});
    dialog->close();
}

TEST_F(BaseDialog, KeepsItsChoiceBetweenShowings)
{
    const auto dialog = Create();
    ShowAndWait(*dialog);
    Mark(dialog->RadioButton2);
    dialog->close(); // close button: nothing written, nothing set
    EXPECT_FALSE(FileExists());
    EXPECT_EQ(TaskBaseSetting, 1);
    EXPECT_TRUE(m_captions.empty());
    ShowAndWait(*dialog);
    EXPECT_TRUE(dialog->RadioButton2->isChecked());
    dialog->close();
}

} // namespace

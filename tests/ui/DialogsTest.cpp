// The settings dialogs, driven like a user (typing, ticking, clicking "Ok"),
// and the clickable labels of the secondary windows.
#include "Fakes.h"
#include "IniFile.h"
#include "Settings.h"
#include "about.h"
#include "baza.h"
#include "links.h"
#include "option.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <tuple>

namespace {

using Texts = std::vector<std::string>;
const std::string kWriteError = "Ошибка при записи данных!";
const std::string kMustBePositive = "Значение должно быть больше 0!";

class Dialogs : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove_all(SettingsFilePath().parent_path());
        for (const SettingInfo& info : kSettings)
            *info.Variable = 0;
    }
    static void Put(SettingId id, const std::string& text)
    {
        ASSERT_TRUE(WriteIniValue(SettingsFilePath(), InfoOf(id).Section, InfoOf(id).Key, text));
    }
    static std::string Stored(SettingId id)
    {
        return ReadIniValue(SettingsFilePath(), InfoOf(id).Section, InfoOf(id).Key).value_or("-");
    }
    // The four keys of the options dialog: time, interval, line, hint.
    static constexpr SettingId kOptions[] = {SettingId::MoveTime, SettingId::MoveInterval, SettingId::MoveLine,
                                            SettingId::Hint};
    static void PutOptions(const Texts& texts)
    {
        for (std::size_t i = 0; i < 4; ++i)
            Put(kOptions[i], texts[i]);
    }
    static std::string Slurp()
    {
        std::ifstream in(SettingsFilePath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static Texts StoredOptions()
    {
        Texts texts;
        for (SettingId id : kOptions)
            texts.push_back(Stored(id));
        return texts;
    }
    // A plain file where the settings directory should be: nothing can be
    // written.
    static void BreakSettingsDirectory()
    {
        std::filesystem::remove_all(SettingsFilePath().parent_path());
        std::ofstream(SettingsFilePath().parent_path()) << "x";
    }
    static void Type(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    static void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2)); }

    FakeMessageBoxes boxes;
    RecordingObserver observer;
};

TEST_F(Dialogs, OptionsAreFilledFromTheFileAtCreationOnly)
{
    struct Row {
        const char *time, *interval, *line, *hint;
        QString timeField, intervalField;
        bool lineTicked, hintTicked;
    } rows[] = {
        {"180", "1", "1", "0", "180", "1", true, false}, {"75", "4", "0", "1", "75", "4", false, true},
        {"0x3C", "$A", "2", "-1", "60", "10", false, false}, {"abc", "x", "yes", "1", "180", "1", false, true},
    };
    for (const Row& r : rows) {
        PutOptions({r.time, r.interval, r.line, r.hint});
        observer.Times.clear();
        TForm3 dialog(boxes, &observer);
        EXPECT_EQ(dialog.Edit1->text(), r.timeField) << r.time;
        EXPECT_EQ(dialog.Edit2->text(), r.intervalField) << r.interval;
        EXPECT_EQ(dialog.CheckBox1->isChecked(), r.lineTicked) << r.line;
        EXPECT_EQ(dialog.CheckBox2->isChecked(), r.hintTicked) << r.hint;
        EXPECT_EQ(observer.Times, std::vector<int32_t>{r.timeField.toInt()});
        EXPECT_EQ(MoveTimeSetting, r.timeField.toInt());
        // Shown again later, it keeps what its fields held.
        Put(SettingId::MoveTime, "99");
        dialog.show();
        EXPECT_EQ(dialog.Edit1->text(), r.timeField);
    }
    EXPECT_TRUE(boxes.All.empty());
}

TEST_F(Dialogs, OptionsOkRunsItsStepsInOrder)
{
    struct Row {
        const char* name;
        QString time, interval;
        bool line, hint;
        Texts errors;
        QString timeAfter, intervalAfter;
        std::vector<int32_t> memory; // time, interval, line, hint
        Texts file;                  // "150 3 0 0" when nothing may be written
        std::vector<int32_t> told;   // the times the observer was told on "Ok"
    } rows[] = {
        {"Plain", "200", "2", true, false, {}, "200", "2", {200, 2, 1, 0}, {"200", "2", "1", "0"}, {200}},
        {"OneSecond", "1", "1", false, true, {}, "1", "1", {1, 1, 0, 1}, {"1", "1", "0", "1"}, {1}},
        {"NegativeTime", "-90", "1", false, false, {kMustBePositive}, "90", "1", {90, 1, 0, 0}, {"90", "1", "0", "0"}, {90}},
        {"ZeroTimeKeepsThePrevious", "0", "1", false, true, {kMustBePositive}, "150", "1", {150, 1, 0, 1},
         {"150", "1", "0", "1"}, {150}},
        {"NegativeInterval", "180", "-2", false, false, {kMustBePositive}, "180", "2", {180, 2, 0, 0},
         {"180", "2", "0", "0"}, {180}},
        {"ZeroIntervalKeepsThePrevious", "180", "0", false, false, {kMustBePositive}, "180", "3", {180, 3, 0, 0},
         {"180", "3", "0", "0"}, {180}},
        {"BothZero", "0", "-0", false, false, {kMustBePositive, kMustBePositive}, "150", "3", {150, 3, 0, 0},
         {"150", "3", "0", "0"}, {150}},
        {"BothNegative", "-5", "-7", true, true, {kMustBePositive, kMustBePositive}, "5", "7", {5, 7, 1, 1},
         {"5", "7", "1", "1"}, {5}},
        {"MostNegative", "-2147483648", "1", false, false, {kMustBePositive}, "2147483647", "1",
         {2147483647, 1, 0, 0}, {"2147483647", "1", "0", "0"}, {2147483647}},
        {"HexKept", "$3C", "0x2", false, false, {}, "$3C", "0x2", {60, 2, 0, 0}, {"60", "2", "0", "0"}, {60}},
        {"BadTime", "12a", "1", true, true, {kWriteError}, "12a", "1", {150, 3, 0, 0}, {"150", "3", "0", "0"}, {}},
        {"BadInterval", "100", "abc", true, false, {kWriteError}, "100", "abc", {100, 3, 0, 0}, {"150", "3", "0", "0"},
         {}},
    };
    for (const Row& r : rows) {
        PutOptions({"150", "3", "0", "0"});
        TForm3 dialog(boxes, &observer);
        dialog.show();
        boxes.All.clear();
        boxes.Errors.clear();
        observer.Times.clear();
        // The box comes before the corrected value.
        boxes.WhileOpen = [&](const std::string& text) {
            if (text == kMustBePositive) {
                EXPECT_TRUE(dialog.Edit1->text().startsWith('-') || dialog.Edit2->text().startsWith('-') ||
                            dialog.Edit1->text() == "0" || dialog.Edit2->text() == "0");
            }
        };
        Type(dialog.Edit1, r.time);
        QTest::keyClick(dialog.Edit1, Qt::Key_Return); // Enter in a field closes nothing
        ASSERT_TRUE(dialog.isVisible());
        Type(dialog.Edit2, r.interval);
        if (dialog.CheckBox1->isChecked() != r.line)
            Click(dialog.CheckBox1);
        if (dialog.CheckBox2->isChecked() != r.hint)
            Click(dialog.CheckBox2);
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        EXPECT_EQ(std::tuple(dialog.result(), boxes.Errors, dialog.Edit1->text(), dialog.Edit2->text(), observer.Times),
                  std::tuple(int(QDialog::Accepted), r.errors, r.timeAfter, r.intervalAfter, r.told))
            << r.name;
        EXPECT_EQ((std::vector<int32_t>{MoveTimeSetting, MoveIntervalSetting, MoveLineSetting, HintSetting}), r.memory)
            << r.name;
        EXPECT_EQ(StoredOptions(), r.file) << r.name;
        boxes.WhileOpen = nullptr;
    }
}

// "Ok" writes what the user changed and what the file lacks, nothing else:
// a setting that another copy of the program stored in the meantime stays.
TEST_F(Dialogs, OkWritesOnlyWhatChangedOrIsMissing)
{
    // A first "Ok" with nothing changed creates the four sections in order.
    TForm3 options(boxes, &observer);
    options.show();
    QTest::mouseClick(options.Button1, Qt::LeftButton);
    EXPECT_EQ(Slurp(), "[VREMYA]\nvremya=180\n[SECNAHOD]\nsecnahod=1\n[otobragenie_hoda]\notobragenie_hoda=0\n"
                       "[otobragenie_podskazki]\notobragenie_podskazki=0\n");

    // Another copy stores a time and the hint; this one changes the interval.
    Put(SettingId::MoveTime, "111");
    Put(SettingId::Hint, "1");
    options.show();
    Type(options.Edit2, "7");
    QTest::mouseClick(options.Button1, Qt::LeftButton);
    EXPECT_EQ(StoredOptions(), (Texts{"111", "7", "0", "1"}));
    // A field changed here is written over another copy's value.
    Put(SettingId::MoveTime, "150");
    Put(SettingId::Hint, "0");
    options.show();
    Type(options.Edit1, "111");
    Click(options.CheckBox2); // ticked: this dialog last read it clear
    QTest::mouseClick(options.Button1, Qt::LeftButton);
    EXPECT_EQ(StoredOptions(), (Texts{"111", "7", "0", "1"}));
    // What this dialog wrote last counts as read.
    Put(SettingId::MoveTime, "222");
    Put(SettingId::Hint, "0");
    options.show();
    QTest::mouseClick(options.Button1, Qt::LeftButton);
    EXPECT_EQ(StoredOptions(), (Texts{"222", "7", "0", "0"}));
    EXPECT_TRUE(boxes.All.empty());

    // A file of an older program with a time and an interval of 0: read as
    // the defaults, and "Ok" puts them in the file.
    PutOptions({"0", "-5", "1", "0"});
    TForm3 fresh(boxes, &observer);
    EXPECT_EQ(std::tuple(fresh.Edit1->text(), fresh.Edit2->text()), std::tuple(QString("180"), QString("1")));
    fresh.show();
    QTest::mouseClick(fresh.Button1, Qt::LeftButton);
    EXPECT_EQ(StoredOptions(), (Texts{"180", "1", "1", "0"}));
    // One second is a time of its own, kept when 0 is typed.
    PutOptions({"1", "1", "0", "0"});
    TForm3 quick(boxes, &observer);
    quick.show();
    Type(quick.Edit1, "0");
    QTest::mouseClick(quick.Button1, Qt::LeftButton);
    EXPECT_EQ(StoredOptions(), (Texts{"1", "1", "0", "0"}));

    // The base dialog likewise.
    TForm5 base(boxes, &observer);
    Put(SettingId::TaskBase, "2");
    base.show();
    QTest::mouseClick(base.Button1, Qt::LeftButton);
    EXPECT_EQ(std::tuple(Stored(SettingId::TaskBase), TaskBaseSetting), std::tuple("2", 1));
    base.show();
    Click(base.RadioButton2);
    Put(SettingId::TaskBase, "1");
    QTest::mouseClick(base.Button1, Qt::LeftButton);
    EXPECT_EQ(Stored(SettingId::TaskBase), "2");
}

// Copies of the program (processes of their own) that each confirm a
// different setting: every confirmation stays in the file.
class RunningCopy {
public:
    RunningCopy()
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(TRESOLVIN_CONFIRM_SETTINGS), {});
    }
    // The first line of output: "ready" once the dialogs have read the file.
    std::string Line()
    {
        while (!m_process.canReadLine() && m_process.waitForReadyRead(20000)) {
        }
        return m_process.readLine().trimmed().toStdString();
    }
    void Order(const char* order)
    {
        m_process.write(order);
        m_process.write("\n");
        m_process.closeWriteChannel();
    }
    // What it printed after the order (error boxes, then "done"), once it
    // has ended with status 0; "failed" otherwise.
    std::string Finish()
    {
        if (!m_process.waitForFinished(20000) || m_process.exitStatus() != QProcess::NormalExit ||
            m_process.exitCode() != 0)
            return "failed";
        return m_process.readAll().trimmed().toStdString();
    }

private:
    QProcess m_process;
};

TEST_F(Dialogs, RunningCopiesEachKeepTheirConfirmation)
{
    PutOptions({"180", "1", "0", "0"});
    Put(SettingId::TaskBase, "1");
    // B starts first; A confirms a time, then B an interval.
    RunningCopy b, a;
    ASSERT_EQ(b.Line(), "ready");
    ASSERT_EQ(a.Line(), "ready");
    a.Order("time 111");
    EXPECT_EQ(a.Finish(), "done");
    b.Order("interval 7");
    EXPECT_EQ(b.Finish(), "done");
    EXPECT_EQ(StoredOptions(), (Texts{"111", "7", "0", "0"}));

    // Five at once, each a different setting.
    std::vector<std::unique_ptr<RunningCopy>> copies;
    for (int i = 0; i < 5; ++i)
        copies.push_back(std::make_unique<RunningCopy>());
    for (const auto& copy : copies)
        ASSERT_EQ(copy->Line(), "ready");
    const char* orders[] = {"time 222", "interval 9", "line", "hint", "strategy"};
    for (int i = 0; i < 5; ++i)
        copies[static_cast<std::size_t>(i)]->Order(orders[i]);
    for (const auto& copy : copies)
        EXPECT_EQ(copy->Finish(), "done");
    EXPECT_EQ(StoredOptions(), (Texts{"222", "9", "1", "1"}));
    EXPECT_EQ(Stored(SettingId::TaskBase), "2");
}

TEST_F(Dialogs, OptionsWriteThatFailsIsReportedAndTheDialogCloses)
{
    TForm3 dialog(boxes, &observer);
    dialog.show();
    BreakSettingsDirectory();
    Type(dialog.Edit1, "120");
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    ASSERT_EQ(boxes.Errors.size(), 1u); // the reason follows on a line of its own
    EXPECT_EQ(boxes.Errors[0].rfind(kWriteError + "\n", 0), 0u);
    EXPECT_GT(boxes.Errors[0].size(), kWriteError.size() + 1);
    EXPECT_EQ(MoveTimeSetting, 120);
    EXPECT_EQ(observer.Times, (std::vector<int32_t>{180, 120}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(Dialogs, BaseDialogMarksChoosesAndWrites)
{
    struct Row {
        const char* file; // nullptr: no file
        bool strategyMarked;
        int32_t setting;
    } rows[] = {{nullptr, false, 1}, {"1", false, 1}, {"2", true, 2}, {"$2", true, 2}, {"3", false, 3}, {"two", false, 1}};
    for (const Row& r : rows) {
        std::filesystem::remove(SettingsFilePath());
        if (r.file)
            Put(SettingId::TaskBase, r.file);
        TForm5 dialog(boxes, &observer);
        EXPECT_EQ(dialog.RadioButton2->isChecked(), r.strategyMarked) << r.file;
        EXPECT_EQ(dialog.RadioButton1->isChecked(), !r.strategyMarked) << r.file;
        EXPECT_EQ(TaskBaseSetting, r.setting) << r.file;
        // "Ok" takes the other collection (or, for an unknown value, the
        // marked one), tells the main window and writes it.
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Return); // Enter closes nothing
        ASSERT_TRUE(dialog.isVisible());
        if (r.setting == 1 || r.setting == 2)
            Click(r.strategyMarked ? dialog.RadioButton1 : dialog.RadioButton2);
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        const int32_t chosen = r.setting == 3 ? 1 : 3 - r.setting;
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(TaskBaseSetting, chosen) << r.file;
        EXPECT_EQ(observer.Bases.back(), chosen) << r.file;
        EXPECT_EQ(Stored(SettingId::TaskBase), std::to_string(chosen)) << r.file;
        // Filled again, it marks what the file now says.
        (chosen == 1 ? dialog.RadioButton2 : dialog.RadioButton1)->setChecked(true);
        dialog.FormCreate();
        EXPECT_EQ(dialog.RadioButton2->isChecked(), chosen == 2) << r.file;
    }
    EXPECT_EQ(observer.Bases.size(), 6u);
    EXPECT_TRUE(boxes.All.empty());

    // A failed write says why and keeps the dialog open.
    TForm5 dialog(boxes, &observer);
    dialog.show();
    BreakSettingsDirectory();
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    ASSERT_EQ(boxes.Errors.size(), 1u);
    EXPECT_EQ(boxes.Errors[0].rfind(kWriteError + "\n", 0), 0u);
    EXPECT_GT(boxes.Errors[0].size(), kWriteError.size() + 1);
    EXPECT_TRUE(dialog.isVisible());
}

// A label opens its address on a left click released over it; another
// button, or a release outside, takes the click back.
TEST_F(Dialogs, LabelsOpenTheirAddressesOnALeftClick)
{
    RecordingUrlOpener opener;
    TForm4 about(opener);
    TForm7 links(opener);
    about.show();
    links.show();
    QLabel* address = about.findChild<QLabel*>("Label15");
    QTest::mouseClick(address, Qt::LeftButton);
    QTest::mouseClick(address, Qt::RightButton);
    QTest::mousePress(address, Qt::LeftButton, {}, address->rect().center());
    QTest::mouseRelease(address, Qt::LeftButton, {}, QPoint(address->width() + 20, 2));
    for (const char* name : {"Label2", "Label4"})
        QTest::mouseClick(links.findChild<QLabel*>(name), Qt::LeftButton);
    EXPECT_EQ(opener.Opened, (Texts{"mailto:" + address->text().toStdString(), "https://lichess.org/",
                                    "https://chesstempo.com/"}));
}

} // namespace

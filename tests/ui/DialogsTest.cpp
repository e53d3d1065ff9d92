// The settings dialogs, driven like a user (typing, ticking, clicking "Ok"),
// and the clickable labels of the secondary windows.
#include "Boards.h"
#include "Fakes.h"
#include "IniFile.h"
#include "about.h"
#include "baza.h"
#include "links.h"
#include "option.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using Texts = std::vector<std::string>;
const std::string kWriteError = "Ошибка при записи данных!";
const std::string kMustBePositive = "Значение должно быть больше 0!";

class Dialogs : public testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
    static void Put(SettingId id, const std::string& text)
    {
        ASSERT_TRUE(WriteIniValue(SettingsFilePath(), InfoOf(id).Section, InfoOf(id).Key, text));
    }
    static std::string Stored(SettingId id)
    {
        return ReadIniValue(SettingsFilePath(), InfoOf(id).Section, InfoOf(id).Key).value_or("-");
    }
    // The four keys of the options dialog: time, interval, line, hint.
    static constexpr SettingId kOptions[] = {SettingId::MoveTime, SettingId::MoveInterval, SettingId::MoveLine, SettingId::Hint};
    static void PutOptions(const Texts& texts)
    {
        for (std::size_t i = 0; i < 4; ++i)
            Put(kOptions[i], texts[i]);
    }
    static Texts StoredOptions()
    {
        Texts texts;
        for (SettingId id : kOptions)
            texts.push_back(Stored(id));
        return texts;
    }
    static void Type(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    static void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2)); }
    // Shows the dialog again and clicks its "Ok".
    static void Confirm(QDialog& dialog, QPushButton* ok)
    {
        dialog.show();
        QTest::mouseClick(ok, Qt::LeftButton);
    }

    FakeMessageBoxes boxes;
    RecordingObserver observer;
};

// The options dialog shows what the file holds when it is made (the time
// told to the main window at once), and keeps its fields when shown later.
TEST_F(Dialogs, OptionsAreFilledFromTheFileAtCreationOnly)
{
    PutOptions({"0x3C", "$A", "2", "1"});
    TForm3 dialog(boxes, &observer);
    Put(SettingId::MoveTime, "99");
    dialog.show();
    EXPECT_EQ(std::tuple(dialog.Edit1->text(), dialog.Edit2->text(), dialog.CheckBox1->isChecked(),
                         dialog.CheckBox2->isChecked(), observer.Times, MoveTimeSetting, boxes.All.size()),
              std::tuple(QString("60"), QString("10"), false, true, std::vector<int32_t>{60}, 60, 0u));
}

// "Ok" checks the fields (a value below 1 is reported, then made positive
// or, for 0, the previous one), takes them into memory, writes them and
// tells the observer the time; a field that is no number is a write error,
// which leaves the file at "150 3 0 0".
TEST_F(Dialogs, OptionsOkRunsItsStepsInOrder)
{
    struct Row {
        const char* name;
        QString time, interval;
        bool line, hint;
        Texts errors;
        QString timeAfter, intervalAfter;
        std::vector<int32_t> memory; // time, interval, line, hint
    } rows[] = {
        {"Plain", "200", "2", true, false, {}, "200", "2", {200, 2, 1, 0}},
        {"OneSecond", "1", "1", false, true, {}, "1", "1", {1, 1, 0, 1}},
        {"NegativeTime", "-90", "1", false, false, {kMustBePositive}, "90", "1", {90, 1, 0, 0}},
        {"ZeroTimeKeepsThePrevious", "0", "1", false, true, {kMustBePositive}, "150", "1", {150, 1, 0, 1}},
        {"NegativeInterval", "180", "-2", false, false, {kMustBePositive}, "180", "2", {180, 2, 0, 0}},
        {"ZeroIntervalKeepsThePrevious", "180", "0", false, false, {kMustBePositive}, "180", "3", {180, 3, 0, 0}},
        {"MostNegative", "-2147483648", "1", false, false, {kMustBePositive}, "2147483647", "1", {2147483647, 1, 0, 0}},
        {"HexKept", "$3C", "0x2", false, false, {}, "$3C", "0x2", {60, 2, 0, 0}},
        {"BadTime", "12a", "1", true, true, {kWriteError}, "12a", "1", {150, 3, 0, 0}},
        {"BadInterval", "100", "abc", true, false, {kWriteError}, "100", "abc", {100, 3, 0, 0}},
    };
    for (const Row& r : rows) {
        PutOptions({"150", "3", "0", "0"});
        TForm3 dialog(boxes, &observer);
        dialog.show();
        boxes.Errors.clear();
        observer.Times.clear();
        // The box comes before the corrected value.
        boxes.WhileOpen = [&](const std::string& text) {
            for (const QString& field : {dialog.Edit1->text(), dialog.Edit2->text()})
                if (field.startsWith('-') || field == "0")
                    return;
            EXPECT_NE(text, kMustBePositive);
        };
        Type(dialog.Edit1, r.time);
        QTest::keyClick(dialog.Edit1, Qt::Key_Return); // Enter in a field closes nothing
        ASSERT_TRUE(dialog.isVisible());
        Type(dialog.Edit2, r.interval);
        for (const auto& [box, ticked] : {std::pair{dialog.CheckBox1, r.line}, {dialog.CheckBox2, r.hint}})
            if (box->isChecked() != ticked)
                Click(box);
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        const bool failed = r.errors == Texts{kWriteError};
        Texts file;
        for (int32_t value : failed ? std::vector<int32_t>{150, 3, 0, 0} : r.memory)
            file.push_back(std::to_string(value));
        EXPECT_EQ(std::tuple(dialog.result(), boxes.Errors, dialog.Edit1->text(), dialog.Edit2->text(), StoredOptions()),
                  std::tuple(int(QDialog::Accepted), r.errors, r.timeAfter, r.intervalAfter, file)) << r.name;
        EXPECT_EQ(std::pair(std::vector<int32_t>{MoveTimeSetting, MoveIntervalSetting, MoveLineSetting, HintSetting},
                            observer.Times),
                  std::pair(r.memory, failed ? std::vector<int32_t>{} : std::vector<int32_t>{r.memory[0]})) << r.name;
        boxes.WhileOpen = nullptr;
    }
}

// "Ok" writes what the user changed and what the file lacks, nothing else:
// a setting that another copy of the program stored in the meantime stays.
TEST_F(Dialogs, OkWritesOnlyWhatChangedOrIsMissing)
{
    // A first "Ok" with nothing changed writes the four settings the file lacks.
    TForm3 options(boxes, &observer);
    Confirm(options, options.Button1);
    EXPECT_EQ(StoredOptions(), (Texts{"180", "1", "0", "0"}));
    // Another copy stores a time and the hint; this one changes the interval.
    PutOptions({"111", "1", "0", "1"});
    options.show();
    Type(options.Edit2, "7");
    Confirm(options, options.Button1);
    EXPECT_EQ(StoredOptions(), (Texts{"111", "7", "0", "1"}));
    // What this dialog wrote counts as read: another copy's later interval stays.
    PutOptions({"111", "5", "0", "1"});
    Confirm(options, options.Button1);
    EXPECT_EQ(StoredOptions(), (Texts{"111", "5", "0", "1"}));

    // A file of an older program with a time and an interval of 0 or less:
    // read as the defaults, and "Ok" puts them in the file. One second is a
    // time of its own, kept when 0 is typed.
    for (const auto& [stored, typed, written] : {std::tuple{Texts{"0", "-5", "1", "0"}, "", Texts{"180", "1", "1", "0"}},
                                                 {Texts{"1", "1", "0", "0"}, "0", Texts{"1", "1", "0", "0"}}}) {
        PutOptions(stored);
        TForm3 fresh(boxes, &observer);
        fresh.show();
        if (*typed)
            Type(fresh.Edit1, typed);
        Confirm(fresh, fresh.Button1);
        EXPECT_EQ(StoredOptions(), written);
    }

    // The base dialog likewise.
    TForm5 base(boxes, &observer);
    Put(SettingId::TaskBase, "2");
    Confirm(base, base.Button1);
    EXPECT_EQ(std::tuple(Stored(SettingId::TaskBase), TaskBaseSetting), std::tuple("2", 1));
    base.show();
    Click(base.RadioButton2);
    Put(SettingId::TaskBase, "1");
    Confirm(base, base.Button1);
    EXPECT_EQ(Stored(SettingId::TaskBase), "2");
}

// The base dialog marks the collection the file names and, on "Ok", takes
// the other one (or, for an unknown value, the marked one), tells the main
// window and writes it.
TEST_F(Dialogs, BaseDialogMarksChoosesAndWrites)
{
    const std::tuple<const char*, bool, int32_t> rows[] = { // the file (nullptr: none), strategy marked, setting
        {nullptr, false, 1}, {"1", false, 1}, {"2", true, 2}, {"$2", true, 2}, {"3", false, 3}, {"two", false, 1}};
    for (const auto& [file, strategyMarked, setting] : rows) {
        std::filesystem::remove(SettingsFilePath());
        if (file)
            Put(SettingId::TaskBase, file);
        TForm5 dialog(boxes, &observer);
        EXPECT_EQ(std::tuple(dialog.RadioButton1->isChecked(), dialog.RadioButton2->isChecked(), TaskBaseSetting),
                  std::tuple(!strategyMarked, strategyMarked, setting)) << file;
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Return); // Enter closes nothing
        ASSERT_TRUE(dialog.isVisible());
        if (setting == 1 || setting == 2)
            Click(strategyMarked ? dialog.RadioButton1 : dialog.RadioButton2);
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        const int32_t chosen = setting == 3 ? 1 : 3 - setting;
        EXPECT_EQ(std::tuple(dialog.result(), TaskBaseSetting, observer.Bases.back(), Stored(SettingId::TaskBase)),
                  std::tuple(int(QDialog::Accepted), chosen, chosen, std::to_string(chosen))) << file;
        // Filled again, it marks what the file now says.
        (chosen == 1 ? dialog.RadioButton2 : dialog.RadioButton1)->setChecked(true);
        dialog.FormCreate();
        EXPECT_EQ(dialog.RadioButton2->isChecked(), chosen == 2) << file;
    }
    EXPECT_EQ(std::tuple(observer.Bases.size(), boxes.All.size()), std::tuple(6u, 0u));
}

// A failed write says why; the options dialog closes all the same, with the
// new time in memory, the base dialog stays open.
TEST_F(Dialogs, AFailedWriteIsReportedWithItsReason)
{
    TForm3 options(boxes, &observer);
    TForm5 base(boxes, &observer);
    // A plain file where the settings directory should be: nothing can be written.
    std::filesystem::remove_all(SettingsFilePath().parent_path());
    std::ofstream(SettingsFilePath().parent_path()) << "x";
    options.show();
    Type(options.Edit1, "120");
    QTest::mouseClick(options.Button1, Qt::LeftButton);
    base.show();
    QTest::mouseClick(base.Button1, Qt::LeftButton);
    EXPECT_EQ(std::tuple(options.result(), MoveTimeSetting, observer.Times, base.isVisible(), boxes.Errors.size()),
              std::tuple(int(QDialog::Accepted), 120, std::vector<int32_t>{180, 120}, true, 2u));
    for (const std::string& error : boxes.Errors) // the reason follows on a line of its own
        EXPECT_TRUE(error.rfind(kWriteError + "\n", 0) == 0 && error.size() > kWriteError.size() + 1) << error;
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

#include "baza.h"

#include "MessageBoxes.h"
#include "Collections.h"
#include "Settings.h"
#include "SettingsObserver.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <exception>

namespace {

// Outer size 313 x 137 pixels, less a classic dialog frame (4-pixel borders,
// 19-pixel caption).
constexpr int kClientWidth = 313 - 8;
constexpr int kClientHeight = 137 - 27;

} // namespace

TForm5::TForm5(MessageBoxes& boxes, SettingsObserver* observer, QWidget* parent)
    : QDialog(parent)
    , m_boxes(boxes)
    , m_observer(observer)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Tresolvin"));
    QFont designFont = font();
    designFont.setPointSize(8);
    setFont(designFont);
    setFixedSize(kClientWidth, kClientHeight);
    move(346, 117);

    GroupBox1 = new QGroupBox(QStringLiteral("База заданий"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 185, 89);

    // Both buttons share the group box as parent, so marking one clears the
    // other.
    RadioButton1 = new QRadioButton(QString::fromStdString(BaseName(kTacticsBase)), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(16, 26, 150, 20);
    RadioButton1->setChecked(true);

    RadioButton2 = new QRadioButton(QString::fromStdString(BaseName(kStrategyBase)), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(16, 54, 150, 20);

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(212, 40, 75, 25);
    Button1->setAutoDefault(false);

    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);

    FormCreate();
}

void TForm5::FormCreate()
{
    try {
        m_known = LoadSetting(SettingId::TaskBase);
        if (TaskBaseSetting == kTacticsBase)
            RadioButton1->setChecked(true);
        if (TaskBaseSetting == kStrategyBase)
            RadioButton2->setChecked(true);
    } catch (const std::exception&) {
        m_boxes.Error("Ошибка считывания данных!");
    }
}

void TForm5::Button1Click()
{
    if (RadioButton1->isChecked())
        TaskBaseSetting = kTacticsBase;
    if (RadioButton2->isChecked())
        TaskBaseSetting = kStrategyBase;
    if (m_observer)
        m_observer->BaseChanged(TaskBaseSetting);

    // Unchanged here, a base that another copy of the program has stored
    // since this dialog read it stays.
    if (TaskBaseSetting != m_known || !StoredSettingValue(SettingId::TaskBase).has_value()) {
        const IniWriteResult written = WriteSettingValue(SettingId::TaskBase, TaskBaseSetting);
        if (!written) {
            // Staying open lets the user see that the choice was not stored
            // and try again, or close the window knowingly.
            m_boxes.Error("Ошибка при записи данных!\n" + written.Error);
            return;
        }
        m_known = TaskBaseSetting;
    }
    accept();
}

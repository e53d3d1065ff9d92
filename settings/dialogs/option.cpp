#include "option.h"

#include "IntegerReader.h"
#include "MessageBoxes.h"
#include "Settings.h"
#include "SettingsObserver.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <exception>
#include <iterator>
#include <limits>

namespace {

// The window is designed with an outer size of 318 x 167 pixels; the client
// area is that minus a classic dialog frame of 4-pixel borders and a
// 19-pixel caption.
constexpr int kClientWidth = 318 - 8;
constexpr int kClientHeight = 167 - 27;

constexpr const char* kWriteError = "Ошибка при записи данных!";
constexpr const char* kMustBePositive = "Значение должно быть больше 0!";

// The four settings of the dialog, in the order "Ok" writes them.
constexpr SettingId kOptionIds[] = {SettingId::MoveTime, SettingId::MoveInterval, SettingId::MoveLine, SettingId::Hint};

// A typed time or interval made usable: a negative value becomes its
// negation (the negation of the most negative 32-bit integer does not
// exist; it becomes the largest positive one instead of overflowing back
// into a negative value), and 0, which would end every task at once, gives
// way to `previous`.
int32_t Corrected(int32_t typed, int32_t previous)
{
    if (typed > 0)
        return typed;
    if (typed == 0)
        return previous;
    if (typed == std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::max();
    return -typed;
}

// The in-memory value of a time or interval as the value to fall back on:
// a value of 0 or less (never read, or set elsewhere) counts as the default.
int32_t Usable(SettingId id)
{
    const int32_t value = *InfoOf(id).Variable;
    return value > 0 ? value : InfoOf(id).Default;
}

} // namespace

TForm3::TForm3(MessageBoxes& boxes, SettingsObserver* observer, QWidget* parent)
    : QDialog(parent)
    , m_boxes(boxes)
    , m_observer(observer)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Tresolvin Опции"));
    QFont designFont = font();
    designFont.setPointSize(8);
    setFont(designFont);
    setFixedSize(kClientWidth, kClientHeight);
    move(264, 168);

    Label1 = new QLabel(QStringLiteral("Количество времени на вариант (сек)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 12);
    Label1->adjustSize();

    Edit1 = new QLineEdit(QStringLiteral("180"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(240, 8, 57, 22);

    Label2 = new QLabel(QStringLiteral("Интервал между ходами (сек)"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(8, 40);
    Label2->adjustSize();

    Edit2 = new QLineEdit(QStringLiteral("1"), this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(240, 36, 57, 22);

    CheckBox1 = new QCheckBox(QStringLiteral("Отображение хода линией"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(8, 66, 220, 20);

    CheckBox2 = new QCheckBox(QStringLiteral("Отображение подсказки"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(8, 88, 220, 20);

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(222, 106, 75, 25);
    // Enter in a field must not close the dialog behind the steps' back.
    Button1->setAutoDefault(false);

    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);

    FormCreate();
}

void TForm3::FormCreate()
{
    // The readers themselves fall back to defaults and do not fail; what can
    // still fail here is memory or the main window's clock display.
    try {
        LoadSetting(SettingId::MoveTime);
        LoadSetting(SettingId::MoveInterval);
        LoadSetting(SettingId::MoveLine);
        LoadSetting(SettingId::Hint);
        Edit1->setText(QString::number(MoveTimeSetting));
        Edit2->setText(QString::number(MoveIntervalSetting));
        CheckBox1->setChecked(MoveLineSetting == 1);
        CheckBox2->setChecked(HintSetting == 1);
        for (std::size_t i = 0; i < std::size(kOptionIds); ++i)
            m_known[i] = *InfoOf(kOptionIds[i]).Variable;
        if (m_observer)
            m_observer->MoveTimeChanged(MoveTimeSetting);
    } catch (const std::exception&) {
        m_boxes.Error(kWriteError);
    }
}

bool TForm3::ApplyAndWrite(std::string& reason)
{
    const int32_t previousTime = Usable(SettingId::MoveTime);
    const int32_t previousInterval = Usable(SettingId::MoveInterval);

    const std::optional<int32_t> time = ReadInteger(Edit1->text().toStdString());
    if (!time)
        return false;
    MoveTimeSetting = Corrected(*time, previousTime);

    // A refused interval leaves the new time in memory: the next new task or
    // retry reads the file again.
    const std::optional<int32_t> interval = ReadInteger(Edit2->text().toStdString());
    if (!interval)
        return false;
    MoveIntervalSetting = Corrected(*interval, previousInterval);

    MoveLineSetting = CheckBox1->isChecked() ? 1 : 0;
    HintSetting = CheckBox2->isChecked() ? 1 : 0;

    // The box comes first, the corrected value afterwards.
    if (*time <= 0) {
        m_boxes.Error(kMustBePositive);
        Edit1->setText(QString::number(MoveTimeSetting));
    }
    if (*interval <= 0) {
        m_boxes.Error(kMustBePositive);
        Edit2->setText(QString::number(MoveIntervalSetting));
    }

    // A running task clock keeps ticking from its current value; only the
    // display is reset.
    if (m_observer)
        m_observer->MoveTimeChanged(MoveTimeSetting);

    // Only what the user changed here is written (and whatever the file does
    // not hold yet, so that a first "Ok" creates every section in order):
    // another copy of the program may have changed the rest since this
    // dialog read it, and writing the old values back would undo that.
    for (std::size_t i = 0; i < std::size(kOptionIds); ++i) {
        const SettingId id = kOptionIds[i];
        const int32_t value = *InfoOf(id).Variable;
        if (value == m_known[i] && StoredSettingValue(id).has_value())
            continue;
        const IniWriteResult written = WriteSettingValue(id, value);
        if (!written) {
            reason = written.Error;
            return false;
        }
        m_known[i] = value;
    }
    return true;
}

void TForm3::Button1Click()
{
    std::string reason;
    bool written;
    try {
        written = ApplyAndWrite(reason);
    } catch (const std::exception&) {
        written = false;
    }
    // Each write opens and releases the file itself, so the file is already
    // released when the box appears.
    if (!written)
        m_boxes.Error(reason.empty() ? kWriteError : kWriteError + std::string("\n") + reason);
    accept();
}

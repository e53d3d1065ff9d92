#include "about.h"

#include "ClickableLabel.h"
#include "UrlOpener.h"

#include <QFrame>
#include <QLabel>

namespace {

// Outer size 460 x 255 pixels, less a classic dialog frame (4-pixel borders,
// 19-pixel caption).
constexpr int kClientWidth = 460 - 8;
constexpr int kClientHeight = 255 - 27;

// Placeholders: the program names no real persons.
const QString kAuthor = QStringLiteral("Команда Tresolvin");
const QString kContactAddress = QStringLiteral("tresolvin@example.org");

struct Thanks {
    const char* name; // in the dative
    const char* reason;
};
const std::array<Thanks, 4> kThanks{{
    {"Ученикам шахматной школы ", "за идею и вдохновение "},
    {"Друзьям по шахматному клубу ", "за подбор шахматной базы"},
    {"Коллегам-программистам ", "за подсказки в программировании"},
    {"Тренеру шахматной секции ", "за книгу о стратегических приемах"},
}};

template <typename Label = QLabel>
Label* MakeLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new Label(text, parent);
    label->setObjectName(name);
    label->adjustSize();
    return label;
}

// Labels of one line stand side by side, each as wide as its text.
void PlaceAfter(QLabel* label, const QLabel* previous)
{
    label->move(previous->x() + previous->width(), previous->y());
}

} // namespace

TForm4::TForm4(UrlOpener& opener, QWidget* parent)
    : QDialog(parent)
    , m_opener(opener)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("О программе"));
    QFont designFont = font();
    designFont.setPointSize(8);
    setFont(designFont);
    setFixedSize(kClientWidth, kClientHeight);
    move(396, 198);

    Label1 = MakeLabel(QStringLiteral("Программу шахматных тестов "), QStringLiteral("Label1"), this);
    Label1->move(16, 12);
    Label2 = MakeLabel(QStringLiteral("Tresolvin "), QStringLiteral("Label2"), this);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label2->adjustSize();
    PlaceAfter(Label2, Label1);
    Label3 = MakeLabel(QStringLiteral("составил  :"), QStringLiteral("Label3"), this);
    PlaceAfter(Label3, Label2);
    // A little air between the colon and the name.
    Label4 = MakeLabel(kAuthor, QStringLiteral("Label4"), this);
    Label4->move(Label3->x() + Label3->width() + 6, Label3->y());

    Label5 = MakeLabel(QStringLiteral("Благодарность за помощь в создании программы :"), QStringLiteral("Label5"), this);
    Label5->move(16, 38);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bevel1->setLineWidth(1);
    Bevel1->setGeometry(16, 62, 393, 97);

    // The thanks are children of the dialog, drawn over the bevel, as the
    // bevel is only a frame.
    for (std::size_t row = 0; row < kThanks.size(); ++row) {
        const int y = 72 + static_cast<int>(row) * 21;
        const int number = 6 + static_cast<int>(row) * 2;
        ThanksNames[row] = MakeLabel(QString::fromUtf8(kThanks[row].name), QStringLiteral("Label%1").arg(number), this);
        ThanksNames[row]->move(28, y);
        ThanksReasons[row] = MakeLabel(QString::fromUtf8(kThanks[row].reason), QStringLiteral("Label%1").arg(number + 1), this);
        PlaceAfter(ThanksReasons[row], ThanksNames[row]);
    }

    Label14 = MakeLabel(QStringLiteral("Все претензии и пожелания отправляйте на ящик "), QStringLiteral("Label14"), this);
    Label14->move(16, 172);
    Label15 = MakeLabel<ClickableLabel>(kContactAddress, QStringLiteral("Label15"), this);
    QPalette navy = Label15->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    Label15->setPalette(navy);
    Label15->setCursor(Qt::PointingHandCursor);
    PlaceAfter(Label15, Label14);
    connect(Label15, &ClickableLabel::clicked, this, &TForm4::Label15Click);

    Label16 = MakeLabel(QStringLiteral("Tresolvin Версия 1.2"), QStringLiteral("Label16"), this);
    QFont versionFont = Label16->font();
    versionFont.setPixelSize(13);
    Label16->setFont(versionFont);
    Label16->adjustSize();
    Label16->move(kClientWidth - 16 - Label16->width(), kClientHeight - 12 - Label16->height());
}

void TForm4::Label15Click()
{
    m_opener.Open(MailUrl(Label15->text()));
}

#include "links.h"

#include "ClickableLabel.h"
#include "UrlOpener.h"

namespace {

// Outer size 429 x 118 pixels, less a classic dialog frame (4-pixel borders,
// 19-pixel caption).
constexpr int kClientWidth = 429 - 8;
constexpr int kClientHeight = 118 - 27;

ClickableLabel* MakeLink(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new ClickableLabel(text, parent);
    label->setObjectName(name);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

void MakeHostLabel(ClickableLabel* label)
{
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(16);
    label->setFont(font);
    label->adjustSize();
}

} // namespace

TForm7::TForm7(UrlOpener& opener, QWidget* parent)
    : QDialog(parent)
    , m_opener(opener)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Шахматные ссылки"));
    QFont designFont = font();
    designFont.setPointSize(8);
    setFont(designFont);
    setFixedSize(kClientWidth, kClientHeight);
    move(488, 213);

    // Two free chess sites: a playing and training server run by a
    // non-profit association (an indeclinable name, so its genitive is the
    // name itself) and a tactics training site.
    Label1 = MakeLink(QStringLiteral("lichess.org"), QStringLiteral("Label1"), this);
    MakeHostLabel(Label1);
    Label1->move(16, 16);
    Label2 = MakeLink(QStringLiteral("Шахматный проект Lichess"), QStringLiteral("Label2"), this);
    Label2->adjustSize();
    Label2->move(216, 20);

    Label3 = MakeLink(QStringLiteral("chesstempo.com"), QStringLiteral("Label3"), this);
    MakeHostLabel(Label3);
    Label3->move(16, 48);
    Label4 = MakeLink(QStringLiteral("Школа шахмат Chess Tempo"), QStringLiteral("Label4"), this);
    Label4->adjustSize();
    Label4->move(216, 52);

    connect(Label1, &ClickableLabel::clicked, this, &TForm7::Label1Click);
    connect(Label2, &ClickableLabel::clicked, this, &TForm7::Label1Click);
    connect(Label3, &ClickableLabel::clicked, this, &TForm7::Label3Click);
    connect(Label4, &ClickableLabel::clicked, this, &TForm7::Label3Click);
}

void TForm7::Label1Click()
{
    m_opener.Open(SiteUrl(Label1->text()));
}

void TForm7::Label3Click()
{
    m_opener.Open(SiteUrl(Label3->text()));
}

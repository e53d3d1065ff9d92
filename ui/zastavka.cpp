#include "zastavka.h"

#include "AssetPaths.h"
#include "PictureBox.h"
#include "PortraitDecoder.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

struct PanelPlace {
    int left, top, width, height;
    int first, count; // which portraits stand in it
};

// Six portraits in the top panel, six in the middle one, two in the bottom
// left one.
constexpr PanelPlace kPanels[3] = {
    {16, 8, 713, 138, 0, 6},
    {16, 160, 713, 132, 6, 6},
    {16, 304, 244, 135, 12, 2},
};

constexpr int kPortraitTop = 4;   // pictures stand at the top of their panel
constexpr int kNameGap = 2;       // between a picture and its name

} // namespace

TForm6::TForm6(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Tresolvin"));
    // The designed window is 758 x 500 with its frame; the frame takes about
    // 16 pixels of the width and 39 of the height.
    setFixedSize(742, 461);
    move(241, 125);

    for (int p = 0; p < 3; ++p) {
        const PanelPlace& place = kPanels[p];
        auto* panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("Bevel%1").arg(p + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setLineWidth(2);
        panel->setGeometry(place.left, place.top, place.width, place.height);
        Panels[static_cast<std::size_t>(p)] = panel;

        const int slot = place.width / place.count;
        for (int i = 0; i < place.count; ++i) {
            const int index = place.first + i;
            const AssetPaths::Portrait& portrait = AssetPaths::kPortraits[static_cast<std::size_t>(index)];

            auto* picture = new PictureBox(panel);
            picture->setObjectName(QStringLiteral("Image%1").arg(index + 1));
            picture->setPixmap(QPixmap::fromImage(PortraitDecoder::DecodeFile(QString::fromUtf8(portrait.path))));
            const QSize size = picture->size();
            const int centre = slot * i + slot / 2;
            picture->move(centre - size.width() / 2, kPortraitTop);

            auto* name = new QLabel(QString::fromUtf8(portrait.surname), panel);
            name->setObjectName(QStringLiteral("Label%1").arg(index + 1));
            name->adjustSize();
            name->move(centre - name->width() / 2, kPortraitTop + size.height() + kNameGap);

            Portraits[static_cast<std::size_t>(index)] = picture;
            Names[static_cast<std::size_t>(index)] = name;
        }
    }

    Button1 = new QPushButton(QStringLiteral("Вход"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    QFont big = Button1->font();
    big.setPixelSize(19);
    Button1->setFont(big);
    Button1->setGeometry(416, 352, 289, 49);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm6::Button1Click()
{
    if (m_mainWindow != nullptr)
        m_mainWindow->show();
    hide();
}

void TForm6::closeEvent(QCloseEvent* event)
{
    // The splash is the application's first window: closing it before
    // entering ends the program.
    event->accept();
    QCoreApplication::quit();
}

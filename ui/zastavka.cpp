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
#include <QRect>

namespace {

// The three raised panels, and how many portraits stand in each: six in the
// top one, six in the middle one, two in the bottom left one.
const QRect kPanelRects[3] = {QRect(16, 8, 713, 138), QRect(16, 160, 713, 132), QRect(16, 304, 244, 135)};
constexpr int kPanelCounts[3] = {6, 6, 2};

} // namespace

TForm6::TForm6(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Tresolvin"));
    // The designed window is 758 x 500 with its frame; the frame takes about
    // 16 pixels of the width and 39 of the height.
    setFixedSize(742, 461);
    move(241, 125);

    int first = 0; // the first portrait of the panel
    for (int p = 0; p < 3; ++p) {
        const int count = kPanelCounts[p];
        auto* panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("Bevel%1").arg(p + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setLineWidth(2);
        panel->setGeometry(kPanelRects[p]);
        Panels[static_cast<std::size_t>(p)] = panel;

        const int slot = panel->width() / count;
        for (int i = 0; i < count; ++i) {
            const int index = first + i;
            const AssetPaths::Portrait& portrait = AssetPaths::kPortraits[static_cast<std::size_t>(index)];

            auto* picture = new PictureBox(panel);
            picture->setObjectName(QStringLiteral("Image%1").arg(index + 1));
            picture->setPixmap(QPixmap::fromImage(PortraitDecoder::DecodeFile(QString::fromUtf8(portrait.path))));
            const QSize size = picture->size();
            const int centre = slot * i + slot / 2;
            picture->move(centre - size.width() / 2, 4); // at the top of the panel

            auto* name = new QLabel(QString::fromUtf8(portrait.surname), panel);
            name->setObjectName(QStringLiteral("Label%1").arg(index + 1));
            name->adjustSize();
            name->move(centre - name->width() / 2, 4 + size.height() + 2); // just below the picture

            Portraits[static_cast<std::size_t>(index)] = picture;
            Names[static_cast<std::size_t>(index)] = name;
        }
        first += count;
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

// What the application start-up gives every window (Startup.h): the windows
// kept on their screen and the overflow icon read late.
#include "DeferredIconStyle.h"
#include "Fakes.h"
#include "ScreenFit.h"
#include "ScriptedRandom.h"
#include "Unit1.h"
#include "about.h"
#include "baza.h"
#include "links.h"
#include "option.h"
#include "zastavka.h"

#include <QApplication>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A frame that sticks out moves just inside the available area; one larger
// than it goes to its left or top edge.
TEST(ScreenFit, FittedTopLeft)
{
    const QRect screen(0, 0, 640, 512);
    const std::tuple<QRect, QRect, QPoint> rows[] = {
        {{241, 125, 300, 200}, screen, {241, 125}}, {{500, 10, 300, 200}, screen, {340, 10}},
        {{10, 400, 300, 200}, screen, {10, 312}},   {{-20, -5, 300, 200}, screen, {0, 0}},
        {{241, 125, 746, 300}, screen, {0, 125}},   {{100, 125, 300, 600}, screen, {100, 0}},
        {{275, 10, 676, 480}, {0, 30, 1280, 994}, {275, 30}},     // below a panel
        {{1200, 50, 300, 200}, {1280, 0, 1024, 768}, {1280, 50}}, // a second screen
    };
    for (const auto& [frame, area, expected] : rows)
        EXPECT_EQ(ScreenFit::FittedTopLeft(frame, area), expected) << frame.x() << "," << frame.y();
}

// Every window shown as the program shows it, with the client size it was
// designed for, on the offscreen screen of screen-1280x1024.json: at scale 1
// every window stays where it was designed; at QT_SCALE_FACTOR=2 (640 x 512)
// the splash and the main window are wider than the screen and go to its
// left edge, and the windows that stick out move just inside, to an edge.
TEST(ScreenFit, EveryWindowIsShownOnItsScreen)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    const qreal scale = screen->devicePixelRatio();
    if (screen->geometry().size() * scale != QSize(1280, 1024))
        GTEST_SKIP() << "needs the 1280 x 1024 screen of screen-1280x1024.json";

    FakeMessageBoxes boxes;
    ScriptedRandom random;
    RecordingUrlOpener opener;
    TForm6 splash;
    TForm1 form(boxes, random);
    TForm3 options(boxes, &form, &form);
    TForm4 about(opener, &form);
    TForm5 base(boxes, &form, &form);
    TForm7 links(opener, &form);
    const std::pair<QWidget*, QSize> windows[] = {{&splash, {742, 461}}, {&form, {672, 454}}, {&options, {310, 140}},
                                                  {&about, {452, 228}},  {&base, {305, 110}}, {&links, {421, 91}}};
    QStringList moved;
    for (const auto& [window, size] : windows) {
        const std::string name = window->objectName().toStdString();
        const QPoint designed = window->pos();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << name;
        EXPECT_EQ(window->size() - QSize(0, window == &form ? form.menuBar()->height() : 0), size) << name;
        const QRect frame = window->frameGeometry();
        EXPECT_TRUE(frame.width() > area.width() ? frame.left() == area.left()
                                                 : frame.left() >= area.left() && frame.right() <= area.right())
            << name;
        EXPECT_TRUE(frame.top() >= area.top() && frame.bottom() <= area.bottom()) << name;
        if (window->pos() != designed) {
            moved << window->objectName();
            EXPECT_TRUE(frame.left() == area.left() || frame.right() == area.right() || frame.top() == area.top()
                        || frame.bottom() == area.bottom())
                << name;
        }
        window->hide();
    }
    EXPECT_EQ(moved, scale == 1 ? QStringList{} : QStringList({"Form6", "Form1", "Form4", "Form5", "Form7"}));
}

// The overflow button's icon, read late, is the base style's icon, as a
// pixmap at ratio 1.5 and as painted at ratio 2; any other icon is the base
// style's own.
TEST(DeferredIconStyle, OverflowIconIsTheBaseStylesWhenUsed)
{
    auto* style = qobject_cast<DeferredIconStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr) << "the application's style is not the start-up's";
    for (auto which : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
                       QStyle::SP_MessageBoxCritical}) {
        const QIcon icons[] = {style->standardIcon(which), style->baseStyle()->standardIcon(which)};
        QImage drawn[2];
        for (int i = 0; i < 2; ++i) {
            drawn[i] = QImage(80, 80, QImage::Format_ARGB32);
            drawn[i].setDevicePixelRatio(2);
            drawn[i].fill(Qt::transparent);
            QPainter painter(&drawn[i]);
            painter.drawPixmap(0, 0, icons[i].pixmap(QSize(20, 20), 1.5));
            icons[i].paint(&painter, QRect(3, 25, 16, 12));
        }
        EXPECT_FALSE(icons[1].isNull());
        EXPECT_EQ(std::tuple(icons[0].availableSizes(), icons[0].actualSize(QSize(20, 20)), drawn[0]),
                  std::tuple(icons[1].availableSizes(), icons[1].actualSize(QSize(20, 20)), drawn[1])) << which;
    }
}

} // namespace

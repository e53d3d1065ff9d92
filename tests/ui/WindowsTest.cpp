// The windows as designed, the splash, the menu, the ways the program ends,
// the real message boxes and the bitmaps.
#include "MainWindowFixture.h"
#include "PictureBox.h"
#include "QtMessageBoxes.h"
#include "about.h"
#include "baza.h"
#include "links.h"
#include "option.h"
#include "zastavka.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

namespace {

using Windows = MainWindowFixture;

// Each window keeps the client size it was laid out for (its captions and
// texts are the window's own code, not checked here).
TEST_F(Windows, ClientSizesAsDesigned)
{
    RecordingUrlOpener opener;
    TForm6 splash;
    TForm3 options(m_boxes);
    TForm5 base(m_boxes);
    TForm4 about(opener);
    TForm7 links(opener);
    const std::pair<QWidget*, QSize> rows[] = {{&Form(), {672, 454 + Form().menuBar()->height()}},
                                               {&splash, {742, 461}}, {&options, {310, 140}}, {&base, {305, 110}},
                                               {&about, {452, 228}}, {&links, {421, 91}}};
    for (const auto& [window, size] : rows)
        EXPECT_EQ(window->size(), size) << window->objectName().toStdString();
    EXPECT_TRUE(m_boxes.All.empty());
}

TEST_F(Windows, SplashShowsFourteenPortraitsAndEntersTheMainWindow)
{
    TForm6 splash;
    for (std::size_t i = 0; i < TForm6::kPortraitCount; ++i)
        EXPECT_FALSE(splash.Portraits[i]->pixmap().isNull() || splash.Names[i]->text().isEmpty()) << i + 1;
    for (auto [last, panel] : {std::pair{5, 0}, {11, 1}, {13, 2}}) // six, six and two to a panel
        EXPECT_EQ(splash.Portraits[last]->parentWidget(), splash.Panels[panel]);
    splash.SetMainWindow(&Form());
    Form().hide();
    splash.show();
    QTest::mouseClick(splash.Button1, Qt::LeftButton);
    EXPECT_TRUE(Form().isVisible());
    EXPECT_FALSE(splash.isVisible());
}

// Runs the event loop until the program is told to end; false when it was
// not within ten seconds.
bool RunsToTheEnd(const std::function<void()>& action)
{
    QApplication::setQuitOnLastWindowClosed(false); // only an explicit end stops the loop
    QTimer limit;
    QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    limit.start(10000);
    QTimer::singleShot(0, action);
    const int code = QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(true);
    return code == 0;
}

TEST_F(Windows, ClosingAWindowOrExitEndsTheProgram)
{
    TForm6 splash;
    splash.show();
    EXPECT_TRUE(RunsToTheEnd([&] { splash.close(); }));
    EXPECT_TRUE(RunsToTheEnd([&] { Form().close(); }));
    EXPECT_TRUE(RunsToTheEnd([&] { Form().N4->trigger(); }));
    Form().N2->menuAction()->trigger(); // the top-level "Выход" does nothing
    EXPECT_TRUE(m_boxes.All.empty());
}

TEST_F(Windows, MenuItemsOpenTheirWindows)
{
    TForm1& form = Form();
    QDialog options, base, about, links;
    form.AttachWindows(&options, &base, &about, &links);
    for (const auto& [action, dialog] :
         {std::pair{form.N9, &options}, {form.N10, &base}, {form.N3, &about}, {form.N11, &links}}) {
        bool modal = false;
        QTimer::singleShot(0, dialog, [dialog = dialog, &modal] {
            modal = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
            dialog->reject();
        });
        action->trigger();
        EXPECT_TRUE(modal) << action->objectName().toStdString();
    }
    // The quote commands draw from their tables.
    m_random.Push(0);
    form.N7->trigger();
    m_random.Push(17);
    form.N8->trigger();
    EXPECT_EQ(m_random.Bounds, (std::vector<int32_t>{42, 18}));
    ASSERT_EQ(m_boxes.All.size(), 2u);
}

// Looks at the next modal box as soon as it is open (after `waitWhileOpen`
// holds, if given), then presses its one button.
void AnswerNextBox(QMessageBox*& seen, QStringList& facts, const std::function<bool()>& waitWhileOpen = {})
{
    QTimer::singleShot(0, [&seen, &facts, waitWhileOpen] {
        ASSERT_TRUE(QTest::qWaitFor([&] { return (seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())); }));
        const QList<QAbstractButton*> buttons = seen->buttons();
        facts << seen->windowTitle() << seen->text() << QString::number(seen->icon()) << QString::number(buttons.size())
              << QString::number(seen->standardButton(buttons.first())) << buttons.first()->text()
              << QString::number(seen->textFormat());
        if (waitWhileOpen)
            facts << QString::number(QTest::qWaitFor(waitWhileOpen));
        QTest::mouseClick(buttons.first(), Qt::LeftButton);
    });
}

TEST(QtMessageBoxesTest, NoticeAndErrorBoxesAndTimersRunUnderThem)
{
    QtMessageBoxes boxes;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    QMessageBox* seen = nullptr;
    QStringList facts;
    AnswerNextBox(seen, facts, [&] { return ticks >= 3; });
    boxes.Notice("<b>Вы угадали ход</b>");
    EXPECT_EQ(facts, (QStringList{"Tresolvin", "<b>Вы угадали ход</b>", QString::number(QMessageBox::NoIcon), "1",
                                  QString::number(QMessageBox::Ok), "OK", QString::number(Qt::PlainText), "1"}));
    facts.clear();
    AnswerNextBox(seen, facts);
    boxes.Error("Ошибка при чтении данных!");
    // The one button's text is Qt's Russian for "Yes" (Startup.h).
    EXPECT_EQ(facts, (QStringList{"Error", "Ошибка при чтении данных!", QString::number(QMessageBox::Critical), "1",
                                  QString::number(QMessageBox::Yes), "&Да", QString::number(Qt::PlainText)}));
}

// Run once as it is and once with QT_SCALE_FACTOR=1.5: the bitmaps follow the
// display's pixel ratio, the layout keeps its 1x geometry.
TEST_F(Windows, BitmapsFollowTheDevicePixelRatio)
{
    TForm1& form = Form();
    NewTask(2); // every kind of figure of both colours
    const qreal ratio = form.devicePixelRatioF() >= 1.5 ? 2.0 : 1.0;
    EXPECT_EQ(form.Image1->size(), QSize(385, 385));
    EXPECT_EQ(form.Image1->pixmap().size(), QSize(385, 385) * ratio);
    // At 1x the board shows its bitmap unscaled, from the corner.
    EXPECT_TRUE(ratio != 1.0 || form.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32)
                                    == form.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32));
    // Figures are keyed by the bottom-left pixel's own colour, whatever it is.
    QImage odd(2, 2, QImage::Format_RGB32);
    odd.fill(Qt::white);
    odd.setPixel(0, 1, qRgb(255, 0, 0));
    const QImage keyed = TransparentByBottomLeft(odd, 1).toImage();
    EXPECT_EQ(std::tuple(qAlpha(keyed.pixel(0, 1)), qAlpha(keyed.pixel(1, 1))), std::tuple(0, 255));

    for (const auto& entry : Run().FigureList()) {
        auto* figure = dynamic_cast<FigurePicture*>(entry->Image);
        const QSize size = entry->Code == "bp" ? QSize(34, 35) : QSize(35, 35);
        EXPECT_EQ(figure->size(), size) << entry->Code;
        EXPECT_EQ(figure->pixmap().size(), size * ratio) << entry->Code;
        // Transparent by the bitmap's bottom-left colour: the background
        // goes, the piece (a white piece's own white included) stays.
        const QImage image = figure->pixmap().toImage();
        EXPECT_EQ(image.pixelColor(0, image.height() - 1).alpha(), 0) << entry->Code;
        EXPECT_EQ(image.pixelColor(image.width() - 1, 0).alpha(), 0) << entry->Code;
        EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() * 2 / 3).alpha(), 255) << entry->Code;
        bool light = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                light = light || (image.pixelColor(x, y).alpha() != 0 && image.pixelColor(x, y).lightness() > 230);
        EXPECT_EQ(light, entry->Code[0] == 'w') << entry->Code;
        // Painted where it stands: every opaque pixel of the bitmap shows.
        const QImage shown = figure->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        int wrong = 0;
        for (int y = 0; y < image.height() && shown.size() == image.size(); ++y)
            for (int x = 0; x < image.width(); ++x)
                wrong += image.pixelColor(x, y).alpha() == 255 && shown.pixel(x, y) != image.pixel(x, y);
        EXPECT_EQ(wrong, 0) << entry->Code;
    }
}

} // namespace

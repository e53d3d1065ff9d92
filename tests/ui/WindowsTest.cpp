// The splash, the menu, the ways the program ends,
// the real message boxes and the bitmaps.
#include "MainWindowFixture.h"
#include "PictureBox.h"
#include "QtMessageBoxes.h"
#include "zastavka.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

namespace {

using Windows = MainWindowFixture;

TEST_F(Windows, SplashShowsFourteenPortraitsAndEntersTheMainWindow)
{
    TForm6 splash;
    for (std::size_t i = 0; i < TForm6::kPortraitCount; ++i) { // six, six and two to a panel
        EXPECT_FALSE(splash.Portraits[i]->pixmap().isNull() || splash.Names[i]->text().isEmpty()) << i + 1;
        EXPECT_EQ(splash.Portraits[i]->parentWidget(), splash.Panels[i < 6 ? 0 : i < 12 ? 1 : 2]) << i + 1;
    }
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

// Presses the one button of the next modal box once it is open (and once
// `waitWhileOpen` holds), after writing down what the box shows.
void AnswerNextBox(QStringList& facts, const std::function<bool()>& waitWhileOpen = [] { return true; })
{
    QTimer::singleShot(0, [&facts, waitWhileOpen] {
        QMessageBox* box = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())); }));
        ASSERT_EQ(box->buttons().size(), 1);
        facts << box->windowTitle() << box->text() << QString::number(box->icon()) << box->buttons()[0]->text()
              << QString::number(box->textFormat()) << QString::number(QTest::qWaitFor(waitWhileOpen));
        QTest::mouseClick(box->buttons()[0], Qt::LeftButton);
    });
}

TEST(QtMessageBoxesTest, NoticeAndErrorBoxesAndTimersRunUnderThem)
{
    QtMessageBoxes boxes;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    QStringList facts;
    AnswerNextBox(facts, [&] { return ticks >= 3; });
    boxes.Notice("<b>Вы угадали ход</b>");
    // The error box's one button is Qt's Russian for "Yes" (Startup.h).
    AnswerNextBox(facts);
    boxes.Error("Ошибка при чтении данных!");
    const QString plain = QString::number(Qt::PlainText);
    EXPECT_EQ(facts, (QStringList{"Tresolvin", "<b>Вы угадали ход</b>", QString::number(QMessageBox::NoIcon), "OK", plain,
                                  "1", "Error", "Ошибка при чтении данных!", QString::number(QMessageBox::Critical),
                                  "&Да", plain, "1"}));
}

// Run once as it is and once with QT_SCALE_FACTOR=1.5: the bitmaps follow the
// display's pixel ratio, the layout keeps its 1x geometry.
TEST_F(Windows, BitmapsFollowTheDevicePixelRatio)
{
    TForm1& form = Form();
    NewTask(2); // every kind of figure of both colours
    const qreal ratio = form.devicePixelRatioF() >= 1.5 ? 2.0 : 1.0;
    EXPECT_EQ(form.Image1->pixmap().size(), form.Image1->size() * ratio);
    // At 1x the board shows its bitmap unscaled, from the corner.
    EXPECT_TRUE(ratio != 1.0 || form.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32)
                                    == form.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32));
    for (const auto& entry : Run().FigureList()) {
        auto* figure = dynamic_cast<FigurePicture*>(entry->Image);
        const QSize size = entry->Code == "bp" ? QSize(34, 35) : QSize(35, 35);
        EXPECT_EQ(std::pair(figure->size(), figure->pixmap().size()), std::pair(size, size * ratio)) << entry->Code;
        // Transparent by the bitmap's bottom-left colour: the background
        // goes, the piece (a white piece's own white included) stays, and
        // every opaque pixel shows where the figure stands (at 1x, where
        // the grab has the bitmap's size).
        const QImage image = figure->pixmap().toImage();
        const QImage shown = figure->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const bool sameSize = shown.size() == image.size();
        EXPECT_TRUE(sameSize || ratio != 1.0);
        EXPECT_EQ(image.pixelColor(0, image.height() - 1).alpha() + image.pixelColor(image.width() - 1, 0).alpha(), 0);
        EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() * 2 / 3).alpha(), 255) << entry->Code;
        bool light = false;
        int wrong = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                light = light || (c.alpha() != 0 && c.lightness() > 230);
                wrong += sameSize && c.alpha() == 255 && shown.pixel(x, y) != image.pixel(x, y);
            }
        }
        EXPECT_EQ(std::pair(light, wrong), std::pair(entry->Code[0] == 'w', 0)) << entry->Code;
    }
}

} // namespace

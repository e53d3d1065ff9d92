// The splash, the menu, the ways the program ends and the real message
// boxes.
#include "MainWindowFixture.h"
#include "PictureBox.h"
#include "QtMessageBoxes.h"
#include "zastavka.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
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
    EXPECT_TRUE(Form().isVisible() && !splash.isVisible());
}

// Runs the event loop until the program is told to end; false when it was
// not within ten seconds.
bool RunsToTheEnd(const std::function<void()>& action)
{
    QApplication::setQuitOnLastWindowClosed(false); // only an explicit end stops the loop
    QObject limit; // its timer goes with it
    QTimer::singleShot(10000, &limit, [] { QCoreApplication::exit(7); });
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
    EXPECT_EQ(std::tuple(m_random.Bounds, m_boxes.All.size()), std::tuple(std::vector<int32_t>{42, 18}, 2u));
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

} // namespace

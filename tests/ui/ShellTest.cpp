// The program's frame: the splash window, the main menu, the real message
// boxes and the ways the program ends.
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
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

// ------------------------------------------------------------------ splash

TEST(SplashTest, FourteenPortraitsWithTheirSurnames)
{
    TForm6 splash;
    const char* const surnames[] = {"Стейниц", "Ласкер", "Капабланка", "Алехин", "Эйве",  "Ботвинник", "Смыслов",
                                    "Таль",    "Петросян", "Спасский", "Фишер", "Карпов", "Каспаров",  "Крамник"};
    for (int i = 0; i < TForm6::kPortraitCount; ++i) {
        const PictureBox* picture = splash.Portraits[static_cast<std::size_t>(i)];
        const QLabel* name = splash.Names[static_cast<std::size_t>(i)];
        ASSERT_NE(picture, nullptr);
        EXPECT_FALSE(picture->pixmap().isNull()) << "portrait " << i + 1 << " was not decoded";
        EXPECT_GE(picture->width(), 65);
        EXPECT_LE(picture->width(), 100);
        EXPECT_GE(picture->height(), 99);
        EXPECT_LE(picture->height(), 104);
        EXPECT_EQ(name->text(), Text(surnames[i]));
        // The name stands under its picture, both inside their panel.
        EXPECT_GT(name->y(), picture->y() + picture->height() - 1);
        const QWidget* panel = picture->parentWidget();
        EXPECT_TRUE(panel->rect().contains(picture->geometry())) << i;
        EXPECT_TRUE(panel->rect().contains(name->geometry())) << i;
    }
    // Six, six and two to a panel.
    EXPECT_EQ(splash.Portraits[5]->parentWidget(), splash.Panels[0]);
    EXPECT_EQ(splash.Portraits[6]->parentWidget(), splash.Panels[1]);
    EXPECT_EQ(splash.Portraits[12]->parentWidget(), splash.Panels[2]);
    EXPECT_EQ(splash.windowTitle(), "Tresolvin");
    EXPECT_EQ(splash.Button1->text(), Text("Вход"));
}

TEST(SplashTest, EnterShowsTheMainWindowAndHidesTheSplash)
{
    QWidget mainWindow;
    TForm6 splash;
    splash.SetMainWindow(&mainWindow);
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    ASSERT_FALSE(mainWindow.isVisible());
    QTest::mouseClick(splash.Button1, Qt::LeftButton);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(splash.isVisible());
}

// Runs the event loop until the program is told to end; false when it was
// not within `limitMs` (then the loop is ended by force).
bool RunsToTheEnd(const std::function<void()>& action, int limitMs = 10000)
{
    const bool quitOnLast = QApplication::quitOnLastWindowClosed();
    // Only an explicit end of the program may stop the loop here.
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    limit.start(limitMs);
    QTimer::singleShot(0, action);
    const int code = QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(quitOnLast);
    return code == 0;
}

TEST(ShutDownTest, ClosingTheSplashEndsTheProgram)
{
    TForm6 splash;
    splash.show();
    EXPECT_TRUE(RunsToTheEnd([&] { splash.close(); }));
}

class ShellFixture : public MainWindowFixture {};

TEST_F(ShellFixture, ClosingTheMainWindowEndsTheProgramThoughTheSplashIsHidden)
{
    TForm6 splash;
    splash.SetMainWindow(&Form());
    Form().hide();
    splash.show();
    QTest::mouseClick(splash.Button1, Qt::LeftButton);
    ASSERT_TRUE(Form().isVisible());
    EXPECT_TRUE(RunsToTheEnd([&] { Form().close(); }));
}

TEST_F(ShellFixture, ExitCommandEndsTheProgramAtOnce)
{
    Form();
    EXPECT_TRUE(RunsToTheEnd([&] { Form().N4->trigger(); }));
    EXPECT_TRUE(m_boxes.All.isEmpty());
}

// -------------------------------------------------------------------- menu

TEST_F(ShellFixture, MenuItemsInOrder)
{
    TForm1& form = Form();
    QList<QAction*> top = form.menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    const QStringList topTexts = {Text("Опции"), Text("Результаты"), Text("Интересное"), Text("Выход")};
    const QStringList topNames = {"N1", "N5", "N6", "N2"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(top[i]->text(), topTexts[i]);
        EXPECT_EQ(top[i]->objectName(), topNames[i]);
    }
    EXPECT_EQ(top[1]->menu(), nullptr); // "Результаты" is a command of its own

    struct Sub {
        QMenu* menu;
        QStringList names;
        QStringList texts;
    };
    const Sub subs[] = {
        {form.N1, {"N9", "N10"}, {Text("Опции"), Text("База")}},
        {form.N6, {"N7", "N8", "N11"},
         {Text("Шахматные цитаты"), Text("Шахматная цитата от Гулмара"), Text("Шахматные ссылки")}},
        {form.N2, {"N3", "N4"}, {Text("О программе"), Text("Выход")}},
    };
    for (const Sub& sub : subs) {
        QStringList names, texts;
        for (QAction* action : sub.menu->actions()) {
            names << action->objectName();
            texts << action->text();
        }
        EXPECT_EQ(names, sub.names);
        EXPECT_EQ(texts, sub.texts);
    }
}

TEST_F(ShellFixture, MenuOpensTheWindowsItIsGiven)
{
    TForm1& form = Form();
    QDialog options, base, about, links;
    form.AttachWindows(&options, &base, &about, &links);
    const std::pair<QAction*, QDialog*> items[] = {
        {form.N9, &options}, {form.N10, &base}, {form.N3, &about}, {form.N11, &links}};
    for (const auto& [action, dialog] : items) {
        bool shownModally = false;
        QTimer::singleShot(0, dialog, [dialog = dialog, &shownModally] {
            shownModally = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
            dialog->reject();
        });
        action->trigger();
        EXPECT_TRUE(shownModally) << action->objectName().toStdString();
    }
}

TEST_F(ShellFixture, QuoteCommandsDrawFromTheirTables)
{
    TForm1& form = Form();
    m_random.Push(0);
    form.N7->trigger();
    m_random.Push(17);
    form.N8->trigger();
    EXPECT_EQ(m_random.Bounds, (std::vector<int32_t>{42, 18}));
    ASSERT_EQ(m_boxes.Notices.size(), 2);
    EXPECT_FALSE(m_boxes.Notices[0].trimmed().isEmpty());
    EXPECT_FALSE(m_boxes.Notices[1].trimmed().isEmpty());
}

TEST_F(ShellFixture, TopLevelExitItemDoesNothing)
{
    TForm1& form = Form();
    NewTask(1);
    form.N2->menuAction()->trigger();
    EXPECT_TRUE(m_boxes.All.isEmpty());
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.Timer2->isActive());
}

// ---------------------------------------------------- real message boxes

struct BoxSeen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*> buttons;
    QMessageBox::StandardButton standard = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
    bool waitedFor = false;
};

// Looks at the modal box as soon as it is open, then presses its one button
// with the mouse.
void AnswerNextBox(BoxSeen& seen, const std::function<bool()>& waitWhileOpen = {})
{
    QTimer::singleShot(0, [&seen, waitWhileOpen] {
        QMessageBox* box = nullptr;
        if (!QTest::qWaitFor(
                [&] { return (box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) != nullptr; }))
            return;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->buttons();
        seen.format = box->textFormat();
        if (waitWhileOpen)
            seen.waitedFor = QTest::qWaitFor(waitWhileOpen);
        if (!seen.buttons.isEmpty()) {
            seen.standard = box->standardButton(seen.buttons.first());
            QTest::mouseClick(seen.buttons.first(), Qt::LeftButton);
        }
    });
}

TEST(QtMessageBoxesTest, NoticeIsAPlainBoxWithOneOkButtonAndTimersRunUnderIt)
{
    QtMessageBoxes boxes;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    BoxSeen seen;
    AnswerNextBox(seen, [&] { return ticks >= 3; });
    boxes.Notice(nullptr, Text("Вы угадали ход"));
    EXPECT_EQ(seen.title, "Tresolvin");
    EXPECT_EQ(seen.text, Text("Вы угадали ход"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    ASSERT_EQ(seen.buttons.size(), 1);
    EXPECT_EQ(seen.standard, QMessageBox::Ok);
    EXPECT_TRUE(seen.waitedFor);
    EXPECT_GE(ticks, 3);
}

TEST(QtMessageBoxesTest, ErrorBoxHasTheCriticalIconAndOneYesButton)
{
    QtMessageBoxes boxes;
    BoxSeen seen;
    AnswerNextBox(seen);
    boxes.Error(nullptr, Text("Ошибка при чтении данных!"));
    EXPECT_EQ(seen.title, "Error");
    EXPECT_EQ(seen.text, Text("Ошибка при чтении данных!"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    ASSERT_EQ(seen.buttons.size(), 1);
    EXPECT_EQ(seen.standard, QMessageBox::Yes);
}

TEST(QtMessageBoxesTest, TextIsNeverTakenForMarkup)
{
    QtMessageBoxes boxes;
    BoxSeen seen;
    AnswerNextBox(seen);
    boxes.Notice(nullptr, "<b>1</b>");
    EXPECT_EQ(seen.text, "<b>1</b>");
    EXPECT_EQ(seen.format, Qt::PlainText);
}

} // namespace

namespace {

// ------------------------------------------------------------ the bitmaps

// Run once as it is and once with QT_SCALE_FACTOR=2: the bitmaps follow the
// display's pixel ratio while the layout keeps its 1x geometry.
TEST_F(ShellFixture, BitmapsFollowTheDevicePixelRatio)
{
    TForm1& form = Form();
    NewTask(1);
    const qreal ratio = form.devicePixelRatioF() >= 1.5 ? 2.0 : 1.0;
    std::printf("device pixel ratio %g\n", form.devicePixelRatioF());

    EXPECT_EQ(form.Image1->size(), QSize(385, 385));
    EXPECT_EQ(form.Image1->pixmap().devicePixelRatio(), ratio);
    EXPECT_EQ(form.Image1->pixmap().width(), qRound(385 * ratio));

    for (const auto& entry : form.FigureList()) {
        auto* figure = dynamic_cast<FigurePicture*>(entry->Image);
        ASSERT_NE(figure, nullptr);
        const QSize size = entry->Code == "bp" ? QSize(34, 35) : QSize(35, 35);
        EXPECT_EQ(figure->size(), size) << entry->Code;
        EXPECT_EQ(figure->pixmap().devicePixelRatio(), ratio);
        EXPECT_EQ(figure->pixmap().size(), size * ratio);

        // Transparent exactly where the bitmap has its bottom-left colour:
        // the background goes, the piece (white pieces' own white included)
        // stays.
        const QImage image = figure->pixmap().toImage();
        int clear = 0, opaque = 0, light = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 0) {
                    ++clear;
                } else {
                    ++opaque;
                    if (c.lightness() > 230)
                        ++light;
                }
            }
        }
        EXPECT_EQ(image.pixelColor(0, image.height() - 1).alpha(), 0) << entry->Code;
        EXPECT_GT(clear, 0) << entry->Code;
        EXPECT_GT(opaque, image.width() * image.height() / 10) << entry->Code;
        if (entry->Code[0] == 'w') {
            EXPECT_GT(light, 0) << entry->Code << " lost its white";
        }
    }
    // Figures stand where the 1x geometry puts them.
    EXPECT_EQ(FigureOn("e3")->pos(), QPoint(66 + 4 * 40, 67 + 5 * 40));
}

} // namespace

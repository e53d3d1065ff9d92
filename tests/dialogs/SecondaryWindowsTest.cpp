// The about box and the links window: texts, layout, and what a click on a
// label hands to the desktop.
#include "ClickableLabel.h"
#include "Fakes.h"
#include "about.h"
#include "links.h"

#include <QFrame>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

QLabel* LabelNamed(const QWidget& window, const char* name)
{
    return window.findChild<QLabel*>(QString::fromLatin1(name));
}

// Every label lies inside the window, shows its whole text and does not
// overlap another label.
void ExpectLabelsLaidOutCleanly(const QWidget& window)
{
    const QList<QLabel*> labels = window.findChildren<QLabel*>();
    ASSERT_FALSE(labels.isEmpty());
    for (const QLabel* label : labels) {
        const std::string name = label->objectName().toStdString();
        EXPECT_TRUE(window.rect().contains(label->geometry())) << name;
        EXPECT_GE(label->width(), label->sizeHint().width()) << name;
        for (const QLabel* other : labels) {
            if (other != label) {
                EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                    << name << " overlaps " << other->objectName().toStdString();
            }
        }
    }
}

void ShowAndWait(QWidget& window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

class AboutBox : public testing::Test {
protected:
    RecordingUrlOpener m_opener;
    TForm4 m_box{m_opener};
};

TEST_F(AboutBox, CaptionSizeAndTexts)
{
    EXPECT_EQ(m_box.windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(m_box.size(), QSize(460 - 8, 255 - 27));
    const struct {
        const char* name;
        QString text;
    } fixed[] = {
        {"Label1", QStringLiteral("Программу шахматных тестов ")},
        {"Label2", QStringLiteral("Tresolvin ")},
        {"Label3", QStringLiteral("составил  :")},
        {"Label5", QStringLiteral("Благодарность за помощь в создании программы :")},
        {"Label7", QStringLiteral("за идею и вдохновение ")},
        {"Label9", QStringLiteral("за подбор шахматной базы")},
        {"Label11", QStringLiteral("за подсказки в программировании")},
        {"Label13", QStringLiteral("за книгу о стратегических приемах")},
        {"Label14", QStringLiteral("Все претензии и пожелания отправляйте на ящик ")},
        {"Label16", QStringLiteral("Tresolvin Версия 1.2")},
    };
    for (const auto& f : fixed) {
        const QLabel* label = LabelNamed(m_box, f.name);
        ASSERT_NE(label, nullptr) << f.name;
        EXPECT_EQ(label->text(), f.text) << f.name;
    }
    EXPECT_TRUE(LabelNamed(m_box, "Label2")->font().bold());
    EXPECT_EQ(LabelNamed(m_box, "Label16")->font().pixelSize(), 13);
    EXPECT_EQ(LabelNamed(m_box, "Label4")->text(), QStringLiteral("Команда Tresolvin"));
    // The four acknowledged are named, each before its reason on one line.
    for (const char* name : {"Label6", "Label8", "Label10", "Label12"}) {
        const QLabel* label = LabelNamed(m_box, name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_FALSE(label->text().trimmed().isEmpty()) << name;
    }
    EXPECT_EQ(LabelNamed(m_box, "Label6")->y(), LabelNamed(m_box, "Label7")->y());
    EXPECT_LT(LabelNamed(m_box, "Label6")->x(), LabelNamed(m_box, "Label7")->x());

    const QLabel* address = LabelNamed(m_box, "Label15");
    ASSERT_NE(address, nullptr);
    EXPECT_TRUE(address->text().endsWith(QStringLiteral("@example.org"))) << "a reserved, neutral domain";
    EXPECT_EQ(address->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
}

TEST_F(AboutBox, LabelsAreLaidOutCleanly)
{
    ExpectLabelsLaidOutCleanly(m_box);
    const auto* bevel = m_box.findChild<QFrame*>(QStringLiteral("Bevel1"));
    ASSERT_NE(bevel, nullptr);
    EXPECT_EQ(bevel->geometry(), QRect(16, 62, 393, 97));
    for (const char* name : {"Label6", "Label7", "Label8", "Label9", "Label10", "Label11", "Label12", "Label13"})
        EXPECT_TRUE(bevel->geometry().contains(LabelNamed(m_box, name)->geometry())) << name;
    // Row one reads left to right on one line.
    const char* row[] = {"Label1", "Label2", "Label3", "Label4"};
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(LabelNamed(m_box, row[i])->y(), LabelNamed(m_box, row[0])->y());
        EXPECT_GE(LabelNamed(m_box, row[i])->x(), LabelNamed(m_box, row[i - 1])->geometry().right());
    }
    const QLabel* version = LabelNamed(m_box, "Label16");
    EXPECT_GT(version->x(), m_box.width() / 2);
    EXPECT_GT(version->y(), LabelNamed(m_box, "Label14")->y());
}

TEST_F(AboutBox, ClickOnTheAddressOpensAMailUrl)
{
    ShowAndWait(m_box);
    QLabel* address = LabelNamed(m_box, "Label15");
    QTest::mouseClick(address, Qt::LeftButton);
    ASSERT_EQ(m_opener.opened.size(), 1u);
    const QUrl url = m_opener.opened[0];
    EXPECT_TRUE(url.isValid());
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(url.path(), address->text());

    // Other labels do nothing; a right click does nothing.
    for (const char* name : {"Label1", "Label4", "Label14", "Label16"})
        QTest::mouseClick(LabelNamed(m_box, name), Qt::LeftButton);
    QTest::mouseClick(address, Qt::RightButton);
    EXPECT_EQ(m_opener.opened.size(), 1u);
}

TEST_F(AboutBox, ReleaseOutsideTheAddressTakesTheClickBack)
{
    ShowAndWait(m_box);
    QLabel* address = LabelNamed(m_box, "Label15");
    QTest::mousePress(address, Qt::LeftButton, {}, address->rect().center());
    QTest::mouseRelease(address, Qt::LeftButton, {}, QPoint(address->width() + 20, address->height() / 2));
    EXPECT_TRUE(m_opener.opened.empty());
}

class LinksWindow : public testing::Test {
protected:
    RecordingUrlOpener m_opener;
    TForm7 m_window{m_opener};
};

TEST_F(LinksWindow, CaptionSizeAndTexts)
{
    EXPECT_EQ(m_window.windowTitle(), QStringLiteral("Шахматные ссылки"));
    EXPECT_EQ(m_window.size(), QSize(429 - 8, 118 - 27));
    const QLabel* site1 = LabelNamed(m_window, "Label1");
    const QLabel* caption1 = LabelNamed(m_window, "Label2");
    const QLabel* site2 = LabelNamed(m_window, "Label3");
    const QLabel* caption2 = LabelNamed(m_window, "Label4");
    ASSERT_TRUE(site1 && caption1 && site2 && caption2);
    EXPECT_TRUE(caption1->text().startsWith(QStringLiteral("Шахматный проект ")));
    EXPECT_TRUE(caption2->text().startsWith(QStringLiteral("Школа шахмат ")));
    for (const QLabel* site : {site1, site2}) {
        EXPECT_TRUE(site->font().bold());
        EXPECT_EQ(site->font().pixelSize(), 16);
        // A bare host name: no scheme, no path.
        EXPECT_FALSE(site->text().contains(QLatin1Char('/')));
        EXPECT_TRUE(site->text().contains(QLatin1Char('.')));
        EXPECT_EQ(site->x(), 16);
    }
    EXPECT_NE(site1->text(), site2->text());
    EXPECT_EQ(site1->y(), 16);
    EXPECT_EQ(site2->y(), 48);
    EXPECT_EQ(caption1->pos(), QPoint(216, 20));
    EXPECT_EQ(caption2->pos(), QPoint(216, 52));
    ExpectLabelsLaidOutCleanly(m_window);
}

struct LinkCase {
    const char* name;
    const char* label;
    const char* hostLabel;
};

class LinksWindowClick : public LinksWindow, public testing::WithParamInterface<LinkCase> {};

TEST_P(LinksWindowClick, EitherLabelOfARowOpensThatRowsSite)
{
    const LinkCase& c = GetParam();
    ShowAndWait(m_window);
    QTest::mouseClick(LabelNamed(m_window, c.label), Qt::LeftButton);
    ASSERT_EQ(m_opener.opened.size(), 1u);
    const QUrl url = m_opener.opened[0];
    EXPECT_TRUE(url.isValid());
    EXPECT_EQ(url.scheme(), QStringLiteral("https"));
    EXPECT_EQ(url.host(), LabelNamed(m_window, c.hostLabel)->text());
}

INSTANTIATE_TEST_SUITE_P(Rows, LinksWindowClick,
    testing::Values(LinkCase{"FirstSiteAddress", "Label1", "Label1"}, LinkCase{"FirstSiteCaption", "Label2", "Label1"},
        LinkCase{"SecondSiteAddress", "Label3", "Label3"}, LinkCase{"SecondSiteCaption", "Label4", "Label3"}),
    [](const testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

TEST_F(LinksWindow, BothLabelsOfARowOpenTheSameSite)
{
    ShowAndWait(m_window);
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"})
        QTest::mouseClick(LabelNamed(m_window, name), Qt::LeftButton);
    ASSERT_EQ(m_opener.opened.size(), 4u);
    EXPECT_EQ(m_opener.opened[0], m_opener.opened[1]);
    EXPECT_EQ(m_opener.opened[2], m_opener.opened[3]);
    EXPECT_NE(m_opener.opened[0], m_opener.opened[2]);
}

TEST(UrlBuilders, GiveOpenableAddresses)
{
    EXPECT_EQ(MailUrl(QStringLiteral("someone@example.org")).toString(), QStringLiteral("mailto:someone@example.org"));
    EXPECT_EQ(SiteUrl(QStringLiteral("example.org")).toString(), QStringLiteral("https://example.org/"));
}

} // namespace

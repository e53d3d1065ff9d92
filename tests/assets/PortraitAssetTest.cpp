// The fourteen splash portraits as built into the program: their order and
// names, their formats, and that each decodes to a picture of the size the
// splash window's frames take.
#include "AssetPaths.h"
#include "PictureFiles.h"
#include "PortraitDecoder.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using AssetPaths::PortraitFormat;

TEST(PortraitList, NamesTheFourteenChampionsInTheOrderOfTheTitle)
{
    const char* const surnames[] = {"Стейниц", "Ласкер", "Капабланка", "Алехин",   "Эйве",
                                    "Ботвинник", "Смыслов", "Таль",     "Петросян", "Спасский",
                                    "Фишер",   "Карпов",  "Каспаров",  "Крамник"};
    ASSERT_EQ(AssetPaths::kPortraits.size(), std::size(surnames));
    for (size_t i = 0; i < std::size(surnames); ++i)
        EXPECT_STREQ(AssetPaths::kPortraits[i].surname, surnames[i]) << "portrait " << i + 1;
}

TEST(PortraitList, ThirteenGifsThenOneJpeg)
{
    for (int i = 0; i < AssetPaths::kPortraitCount; ++i) {
        const PortraitFormat expected = i < 13 ? PortraitFormat::Gif : PortraitFormat::Jpeg;
        EXPECT_EQ(AssetPaths::kPortraits[static_cast<size_t>(i)].format, expected) << "portrait " << i + 1;
    }
}

class PortraitAsset : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        portrait = &AssetPaths::kPortraits[static_cast<size_t>(GetParam())];
        bytes = ReadAll(QString::fromUtf8(portrait->path));
        ASSERT_FALSE(bytes.isEmpty()) << portrait->path << " is not among the resources";
    }

    const AssetPaths::Portrait* portrait = nullptr;
    QByteArray bytes;
};

TEST_P(PortraitAsset, FileIsOfItsDeclaredFormat)
{
    if (portrait->format == PortraitFormat::Gif) {
        EXPECT_TRUE(bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"));
        EXPECT_TRUE(QString::fromUtf8(portrait->path).endsWith(QLatin1String(".gif")));
    } else {
        EXPECT_TRUE(bytes.startsWith("\xFF\xD8\xFF"));
        EXPECT_TRUE(QString::fromUtf8(portrait->path).endsWith(QLatin1String(".jpg")));
    }
}

TEST_P(PortraitAsset, DecodesToTheSizeOfASplashFrame)
{
    const QImage image = portrait->format == PortraitFormat::Gif ? PortraitDecoder::DecodeGif(bytes)
                                                                 : PortraitDecoder::DecodeJpeg(bytes);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 65);
    EXPECT_LE(image.width(), 100);
    EXPECT_GE(image.height(), 99);
    EXPECT_LE(image.height(), 104);
    // The same through the path-based entry point the splash window uses.
    EXPECT_EQ(PortraitDecoder::DecodeFile(QString::fromUtf8(portrait->path)), image);
}

TEST_P(PortraitAsset, DecodesLikeQtsOwnReader)
{
    // A second, independent decoder of the same file as the oracle: GIF is
    // lossless, so every pixel must agree; JPEG decoders may round the
    // colour conversion differently by a step or two.
    const QImage ours = PortraitDecoder::Decode(bytes).convertToFormat(QImage::Format_ARGB32);
    const QImage theirs = QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32);
    if (theirs.isNull())
        GTEST_SKIP() << "Qt has no reader for this format here";
    ASSERT_EQ(ours.size(), theirs.size());
    const int tolerance = portrait->format == PortraitFormat::Gif ? 0 : 3;
    int worst = 0;
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y);
            const QRgb b = theirs.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
        }
    }
    EXPECT_LE(worst, tolerance);
}

INSTANTIATE_TEST_SUITE_P(Champions, PortraitAsset, testing::Range(0, AssetPaths::kPortraitCount),
                         [](const testing::TestParamInfo<int>& info) {
                             // The file name without folder and extension, e.g. "p01_steinitz".
                             QString name = QString::fromUtf8(AssetPaths::kPortraits[static_cast<size_t>(info.param)].path);
                             name = name.mid(name.lastIndexOf(u'/') + 1);
                             name.truncate(name.lastIndexOf(u'.'));
                             return "p" + name.replace(u'-', u'_').toStdString();
                         });

TEST(PortraitList, EveryChampionHasADifferentPicture)
{
    std::vector<QImage> seen;
    for (const AssetPaths::Portrait& p : AssetPaths::kPortraits) {
        const QImage image = PortraitDecoder::DecodeFile(QString::fromUtf8(p.path));
        ASSERT_FALSE(image.isNull()) << p.path;
        for (const QImage& other : seen)
            EXPECT_NE(image, other) << p.path;
        seen.push_back(image);
    }
}

} // namespace

// The built-in pictures as the program relies on them, and the portrait
// decoders on pictures made for the purpose and on damaged input: every
// malformed file must give a null image (the suite also runs under
// AddressSanitizer, which turns a stray read into a failure).
#include "AssetPaths.h"
#include "PortraitDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryFile>

#include <gif_lib.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

QByteArray ReadAll(const char* path)
{
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pictures themselves are checked where the windows show them
// (tests/ui); here the lookup of a piece by its code.
TEST(Pictures, PiecesByCode)
{
    for (std::string_view code : AssetPaths::kPieceCodes)
        EXPECT_FALSE(AssetPaths::Piece(code) == nullptr || AssetPaths::Piece2x(code) == nullptr) << code;
    for (std::string_view bad : {"", "w", "WP", "wx", "wpx"})
        EXPECT_TRUE(AssetPaths::Piece(bad) == nullptr && AssetPaths::Piece2x(bad) == nullptr) << bad;
}

// ---- GIFs made with giflib's encoder --------------------------------------

struct GifFrame {
    int left, top, width, height;
    bool interlace;
    std::vector<GifColorType> localMap; // empty: the frame uses the global one
    int transparent;                    // index made transparent by a control block, or -1
    std::vector<GifPixelType> pixels;   // width x height, natural row order
};

ColorMapObject* MapOf(std::vector<GifColorType> colours)
{
    return colours.empty() ? nullptr : GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
}

// `comment`, when given, goes before each frame as a comment block.
QByteArray MakeGif(int screenWidth, int screenHeight, const std::vector<GifColorType>& globalMap,
                   const std::vector<GifFrame>& frames, const std::string& comment = {})
{
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, [](GifFileType* g, const GifByteType* data, int length) {
        static_cast<QByteArray*>(g->UserData)->append(reinterpret_cast<const char*>(data), length);
        return length;
    }, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = MapOf(globalMap);
    bool ok = EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, global) == GIF_OK;
    for (const GifFrame& f : frames) {
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = f.transparent;
        GifByteType control[4];
        const int length = static_cast<int>(EGifGCBToExtension(&gcb, control));
        ok = ok && (f.transparent < 0 || EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, control) == GIF_OK);
        ok = ok && (comment.empty() || EGifPutExtension(gif, COMMENT_EXT_FUNC_CODE, static_cast<int>(comment.size()),
                                                        comment.data()) == GIF_OK);
        ColorMapObject* local = MapOf(f.localMap);
        ok = ok && EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, local) == GIF_OK;
        GifFreeMapObject(local);
        // The encoder writes rows in the order it is given them; an
        // interlaced frame must be handed over pass by pass.
        for (const auto& [start, step] : f.interlace ? std::vector<std::pair<int, int>>{{0, 8}, {4, 8}, {2, 4}, {1, 2}}
                                                     : std::vector<std::pair<int, int>>{{0, 1}})
            for (int y = start; y < f.height; y += step)
                ok = ok && EGifPutLine(gif, const_cast<GifPixelType*>(f.pixels.data()) + y * f.width, f.width) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(global);
    return ok ? out : QByteArray();
}

// `image` as a JPEG of quality 100, written by Qt's own JPEG plugin (a grey
// image as a one-component file).
QByteArray MakeJpeg(const QImage& image, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? buffer.data() : QByteArray();
}

// A smooth picture of the given format (a colour or a grey ramp).
QImage Smooth(int width, int height, QImage::Format format = QImage::Format_RGB888)
{
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor((40 + 6 * x) & 0xFF, (200 - 5 * y) & 0xFF, (90 + 3 * (x + y)) & 0xFF));
    return image;
}

TEST(GifDecoder, TransparencyInterlaceTablesAndPlacement)
{
    const std::vector<GifColorType> map = {{10, 20, 30}, {255, 255, 255}, {200, 0, 0}, {0, 0, 200}};
    GifFrame f{0, 0, 4, 2, false, {}, 1, {0, 1, 2, 3, 3, 2, 1, 0}};
    QImage image = PortraitDecoder::DecodeGif(MakeGif(4, 2, map, {f}));
    // Index 1, the control block's transparent one, stays clear.
    EXPECT_EQ(std::tuple(image.size(), image.format(), image.pixel(0, 0), image.pixel(1, 0), image.pixel(0, 1), image.pixel(2, 1)),
              std::tuple(QSize(4, 2), QImage::Format_ARGB32, qRgb(10, 20, 30), QRgb(0), qRgb(0, 0, 200), QRgb(0)));
    f.transparent = -1; // no control block: all opaque
    EXPECT_EQ(PortraitDecoder::DecodeGif(MakeGif(4, 2, map, {f})).pixel(1, 0), qRgb(255, 255, 255));
    // A comment as long as a control block, whose first byte would set the
    // transparency flag, is no control block.
    const std::string comment("\x01\0\0\0", 4);
    EXPECT_EQ(PortraitDecoder::DecodeGif(MakeGif(4, 2, map, {f}, comment)).pixel(0, 0), qRgb(10, 20, 30));
    // Interlaced rows come out in natural order.
    GifFrame rows{0, 0, 3, 11, true, {}, -1, {}};
    for (int y = 0; y < 11; ++y)
        rows.pixels.insert(rows.pixels.end(), 3, static_cast<GifPixelType>(y % 4));
    image = PortraitDecoder::DecodeGif(MakeGif(3, 11, map, {rows}));
    for (std::size_t y = 0; y < 11; ++y)
        EXPECT_EQ(image.pixel(1, int(y)), qRgb(map[y % 4].Red, map[y % 4].Green, map[y % 4].Blue)) << "row " << y;
    // A local table wins; only the first frame shows.
    GifFrame local{0, 0, 2, 1, false, {{250, 0, 0}, {0, 0, 250}}, -1, {1, 0}};
    image = PortraitDecoder::DecodeGif(MakeGif(2, 1, map, {local}));
    EXPECT_EQ(std::pair(image.pixel(0, 0), image.pixel(1, 0)), std::pair(qRgb(0, 0, 250), qRgb(250, 0, 0)));
    GifFrame tall{0, 0, 1, 4096, false, {}, -1, std::vector<GifPixelType>(4096, 2)}; // as tall as may be
    EXPECT_EQ(PortraitDecoder::DecodeGif(MakeGif(1, 4096, map, {tall})).height(), 4096);
    for (const auto& [w, h] : {std::pair{4097, 1}, {1, 4097}, {0, 1}}) { // screens too large or empty
        const QByteArray gif = MakeGif(w, h, map, {local});
        EXPECT_TRUE(!gif.isEmpty() && PortraitDecoder::DecodeGif(gif).isNull()) << w << "x" << h;
    }
    GifFrame first{0, 0, 2, 1, false, {}, -1, {2, 2}}, second{0, 0, 2, 1, false, {}, -1, {3, 3}};
    EXPECT_EQ(PortraitDecoder::DecodeGif(MakeGif(2, 1, map, {first, second})).pixel(1, 0), qRgb(200, 0, 0));
    // A frame at (2, 1) is clipped to the screen, the rest stays clear; its
    // rows below the screen, nearly a whole row wide, go nowhere.
    GifFrame offset{2, 1, 62, 4, false, {}, -1, std::vector<GifPixelType>(248, 2)};
    image = PortraitDecoder::DecodeGif(MakeGif(64, 4, map, {offset}));
    ASSERT_EQ(image.size(), QSize(64, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x)
            EXPECT_EQ(image.pixel(x, y), x >= 2 && y >= 1 ? qRgb(200, 0, 0) : QRgb(0)) << x << "," << y;
}

TEST(JpegDecoder, ColourGreyProgressiveAndOversized)
{
    for (const auto& [format, progressive] :
         {std::pair{QImage::Format_RGB888, false}, {QImage::Format_RGB888, true}, {QImage::Format_Grayscale8, false}}) {
        const QImage original = Smooth(24, 20, format);
        const QImage image = PortraitDecoder::DecodeJpeg(MakeJpeg(original, progressive));
        ASSERT_EQ(std::pair(image.size(), image.format()), std::pair(QSize(24, 20), QImage::Format_RGB32));
        int worst = 0; // the largest difference of a channel
        for (int i = 0; i < 24 * 20; ++i) {
            const QColor a = image.pixelColor(i % 24, i / 24), b = original.pixelColor(i % 24, i / 24);
            worst = std::max({worst, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
        }
        EXPECT_LE(worst, 12) << format << progressive;
    }
    // Up to 4096 pixels a side.
    for (const auto& [w, h] : {std::pair{4096, 1}, {1, 4096}, {4097, 1}, {1, 4097}})
        EXPECT_EQ(PortraitDecoder::DecodeJpeg(MakeJpeg(Smooth(w, h, QImage::Format_Grayscale8))).size(),
                  w * h == 4096 ? QSize(w, h) : QSize(0, 0)) << w << "x" << h;
}

TEST(Decoders, DamagedTruncatedAndForeignInputGivesANullImage)
{
    for (const char* path : {AssetPaths::kPortraits[0].path, AssetPaths::kPortraits[13].path}) {
        const QByteArray whole = ReadAll(path);
        ASSERT_FALSE(PortraitDecoder::Decode(whole).isNull());
        // Every cut, up to and including the end-of-data marks (only the
        // GIF's trailer after the complete frame is not needed).
        const bool jpeg = path == AssetPaths::kPortraits[13].path;
        for (qsizetype n = 0; n < whole.size() - (jpeg ? 0 : 1); n += n < 20 ? 1 : 37) {
            EXPECT_TRUE(PortraitDecoder::Decode(whole.left(n)).isNull()) << path << " kept " << n;
        }
        EXPECT_TRUE(PortraitDecoder::Decode(whole.left(whole.size() - (jpeg ? 1 : 2))).isNull());
        EXPECT_TRUE((jpeg ? PortraitDecoder::DecodeGif(whole) : PortraitDecoder::DecodeJpeg(whole)).isNull());
    }
    for (const QByteArray& prefix : {QByteArray(), QByteArray("GIF89a"), QByteArray("GIF87a"),
                                     QByteArray("\xFF\xD8\xFF", 3), QByteArray("\x89PNG\r\n\x1A\n", 8)}) {
        std::mt19937 random(1);
        for (int trial = 0; trial < 20; ++trial) {
            QByteArray data = prefix;
            for (int i = 0; i < 600; ++i)
                data.append(char(random() & 0xFF));
            EXPECT_TRUE(PortraitDecoder::Decode(data).isNull() && PortraitDecoder::DecodeGif(data).isNull() &&
                        PortraitDecoder::DecodeJpeg(data).isNull());
        }
    }
    EXPECT_TRUE(PortraitDecoder::DecodeFile(QStringLiteral(":/assets/portraits/none.gif")).isNull());
    // A file over 16 MiB is not read, although its start is a good picture.
    QTemporaryFile big;
    ASSERT_TRUE(big.open());
    big.write(ReadAll(AssetPaths::kPortraits[0].path));
    big.write(QByteArray(16 * 1024 * 1024, 0));
    big.close();
    EXPECT_TRUE(PortraitDecoder::DecodeFile(big.fileName()).isNull());
    big.resize(ReadAll(AssetPaths::kPortraits[0].path).size());
    EXPECT_FALSE(PortraitDecoder::DecodeFile(big.fileName()).isNull());
    EXPECT_TRUE(PortraitDecoder::DecodeFile(QString::fromUtf8(AssetPaths::kBoard)).isNull());
}

} // namespace

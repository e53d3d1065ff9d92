// The GIF and JPEG decoders on pictures made for the purpose: the parts of
// the formats the portraits use and the parts a damaged or hostile file
// would exercise. Every malformed input must give a null image; the suite
// also runs under AddressSanitizer, which turns any stray read into a
// failure.
#include "AssetPaths.h"
#include "PictureFiles.h"
#include "PortraitDecoder.h"

#include <QByteArray>
#include <QImage>

#include <gif_lib.h>

#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

// ---- building GIFs with giflib's encoder -----------------------------------

struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlace = false;
    std::vector<GifColorType> localMap; // empty: the frame uses the global one
    int transparent = -1;               // index made transparent by a control block
    std::vector<GifPixelType> pixels;   // width x height, natural row order
};

int AppendGif(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

QByteArray MakeGif(int screenWidth, int screenHeight, std::vector<GifColorType> globalMap,
                   const std::vector<GifFrame>& frames)
{
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendGif, &error);
    if (gif == nullptr)
        return {};
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = globalMap.empty()
                                 ? nullptr
                                 : GifMakeMapObject(static_cast<int>(globalMap.size()), globalMap.data());
    bool ok = EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, global) == GIF_OK;
    for (const GifFrame& f : frames) {
        if (!ok)
            break;
        if (f.transparent >= 0) {
            GraphicsControlBlock gcb{};
            gcb.TransparentColor = f.transparent;
            GifByteType extension[4];
            const size_t length = EGifGCBToExtension(&gcb, extension);
            ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_OK;
        }
        std::vector<GifColorType> localColours = f.localMap;
        ColorMapObject* local = localColours.empty()
                                    ? nullptr
                                    : GifMakeMapObject(static_cast<int>(localColours.size()), localColours.data());
        ok = ok && EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, local) == GIF_OK;
        if (local != nullptr)
            GifFreeMapObject(local);
        // The encoder writes rows in the order it is given them; an
        // interlaced frame must be handed over pass by pass.
        std::vector<int> order;
        if (f.interlace) {
            const int start[4] = {0, 4, 2, 1};
            const int step[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = start[pass]; y < f.height; y += step[pass])
                    order.push_back(y);
        } else {
            for (int y = 0; y < f.height; ++y)
                order.push_back(y);
        }
        for (int y : order) {
            std::vector<GifPixelType> row(f.pixels.begin() + y * f.width, f.pixels.begin() + (y + 1) * f.width);
            ok = ok && EGifPutLine(gif, row.data(), f.width) == GIF_OK;
        }
    }
    if (EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    if (global != nullptr)
        GifFreeMapObject(global);
    return ok ? out : QByteArray();
}

GifColorType Colour(int r, int g, int b)
{
    return GifColorType{static_cast<GifByteType>(r), static_cast<GifByteType>(g), static_cast<GifByteType>(b)};
}

// ---- building JPEGs with libjpeg's encoder ---------------------------------

QByteArray MakeJpeg(int width, int height, bool grey, bool progressive,
                    const std::function<QRgb(int, int)>& pixel)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width * cinfo.input_components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb c = pixel(x, y);
            if (grey) {
                row[static_cast<size_t>(x)] = static_cast<JSAMPLE>(qRed(c));
            } else {
                row[static_cast<size_t>(3 * x)] = static_cast<JSAMPLE>(qRed(c));
                row[static_cast<size_t>(3 * x + 1)] = static_cast<JSAMPLE>(qGreen(c));
                row[static_cast<size_t>(3 * x + 2)] = static_cast<JSAMPLE>(qBlue(c));
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&cinfo);
    free(buffer);
    return out;
}

QRgb Smooth(int x, int y)
{
    return qRgb(40 + 6 * x, 200 - 5 * y, 90 + 3 * (x + y));
}

// A two-pixel GIF written byte by byte: a 2-entry global table (red,
// green), or no table at all, and one LZW-coded row with the given two colour
// indexes, in 3-bit codes: clear (4), the indexes, end (5).
QByteArray HandMadeGif(uint16_t width, uint16_t height, int first, int second, bool withTable = true)
{
    const uint32_t bits = 4u | (uint32_t(first) << 3) | (uint32_t(second) << 6) | (5u << 9);
    QByteArray gif("GIF89a");
    const char screen[] = {char(width & 0xFF), char(width >> 8), char(height & 0xFF), char(height >> 8),
                           char(withTable ? 0x80 : 0x00), 0, 0};
    gif.append(screen, sizeof screen);
    if (withTable) {
        const char table[] = {char(0xFF), 0, 0, 0, char(0xFF), 0};
        gif.append(table, sizeof table);
    }
    const char frame[] = {',', 0, 0, 0, 0, 2, 0, 1, 0, 0, // frame 2 x 1 at (0, 0), no local table
                          2,                               // LZW minimum code size
                          2, char(bits & 0xFF), char((bits >> 8) & 0xFF), 0, // one data block
                          ';'};
    gif.append(frame, sizeof frame);
    return gif;
}

// ---- GIF -------------------------------------------------------------------

TEST(GifDecoder, TransparentIndexOfTheControlBlockBecomesAlphaZero)
{
    GifFrame f;
    f.width = 4;
    f.height = 2;
    f.transparent = 1;
    f.pixels = {0, 1, 2, 3, 3, 2, 1, 0};
    const QByteArray gif =
        MakeGif(4, 2, {Colour(10, 20, 30), Colour(255, 255, 255), Colour(200, 0, 0), Colour(0, 0, 200)}, {f});
    ASSERT_FALSE(gif.isEmpty());
    const QImage image = PortraitDecoder::DecodeGif(gif);
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.size(), QSize(4, 2));
    EXPECT_EQ(image.format(), QImage::Format_ARGB32);
    const QRgb expected[2][4] = {{qRgb(10, 20, 30), 0, qRgb(200, 0, 0), qRgb(0, 0, 200)},
                                 {qRgb(0, 0, 200), qRgb(200, 0, 0), 0, qRgb(10, 20, 30)}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            if (expected[y][x] == 0)
                EXPECT_EQ(qAlpha(image.pixel(x, y)), 0) << x << "," << y;
            else
                EXPECT_EQ(image.pixel(x, y), expected[y][x]) << x << "," << y;
        }
    }
}

TEST(GifDecoder, WithoutControlBlockEveryPixelIsOpaque)
{
    GifFrame f;
    f.width = 2;
    f.height = 1;
    f.pixels = {0, 1};
    const QImage image = PortraitDecoder::DecodeGif(MakeGif(2, 1, {Colour(1, 2, 3), Colour(255, 255, 255)}, {f}));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
}

TEST(GifDecoder, InterlacedRowsComeOutInNaturalOrder)
{
    GifFrame f;
    f.width = 3;
    f.height = 11;
    f.interlace = true;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            f.pixels.push_back(static_cast<GifPixelType>(y % 4));
    const std::vector<GifColorType> map = {Colour(0, 0, 0), Colour(90, 0, 0), Colour(0, 90, 0), Colour(0, 0, 90)};
    const QImage image = PortraitDecoder::DecodeGif(MakeGif(3, 11, map, {f}));
    ASSERT_FALSE(image.isNull());
    for (int y = 0; y < 11; ++y) {
        const GifColorType c = map[static_cast<size_t>(y % 4)];
        EXPECT_EQ(image.pixel(1, y), qRgb(c.Red, c.Green, c.Blue)) << "row " << y;
    }
}

TEST(GifDecoder, LocalColourTableTakesPrecedence)
{
    GifFrame f;
    f.width = 2;
    f.height = 1;
    f.localMap = {Colour(250, 0, 0), Colour(0, 0, 250)};
    f.pixels = {1, 0};
    const QImage image = PortraitDecoder::DecodeGif(MakeGif(2, 1, {Colour(0, 0, 0), Colour(9, 9, 9)}, {f}));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 250));
    EXPECT_EQ(image.pixel(1, 0), qRgb(250, 0, 0));
}

TEST(GifDecoder, FrameWithoutAnyColourTableIsRefused)
{
    // The encoder will not write such a file; the bytes are made by hand.
    EXPECT_FALSE(PortraitDecoder::DecodeGif(HandMadeGif(2, 1, 1, 0, true)).isNull());
    EXPECT_TRUE(PortraitDecoder::DecodeGif(HandMadeGif(2, 1, 1, 0, false)).isNull());
}

TEST(GifDecoder, OnlyTheFirstFrameIsShown)
{
    GifFrame red;
    red.width = 2;
    red.height = 2;
    red.pixels = {0, 0, 0, 0};
    GifFrame blue = red;
    blue.pixels = {1, 1, 1, 1};
    const QImage image =
        PortraitDecoder::DecodeGif(MakeGif(2, 2, {Colour(200, 0, 0), Colour(0, 0, 200)}, {red, blue}));
    ASSERT_FALSE(image.isNull());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(image.pixel(x, y), qRgb(200, 0, 0));
}

TEST(GifDecoder, FrameIsPlacedAtItsOffsetAndClippedToTheScreen)
{
    // A 4 x 4 frame at (2, 1) on a 4 x 4 screen: only its top-left 2 x 3
    // part lies on the screen; the rest of the screen stays transparent.
    GifFrame f;
    f.left = 2;
    f.top = 1;
    f.width = 4;
    f.height = 4;
    f.pixels.assign(16, 1);
    const QByteArray gif = MakeGif(4, 4, {Colour(0, 0, 0), Colour(0, 160, 0)}, {f});
    ASSERT_FALSE(gif.isEmpty());
    const QImage image = PortraitDecoder::DecodeGif(gif);
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.size(), QSize(4, 4));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool covered = x >= 2 && y >= 1;
            EXPECT_EQ(image.pixel(x, y), covered ? qRgb(0, 160, 0) : QRgb(0)) << x << "," << y;
        }
    }
}

TEST(GifDecoder, IndexBeyondTheColourTableIsTransparentNotARead)
{
    // Index 3 in a frame whose table has two entries.
    const QImage image = PortraitDecoder::DecodeGif(HandMadeGif(2, 1, 1, 3));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
}

TEST(GifDecoder, HandMadeFileDecodesAsWritten)
{
    // The same bytes as above with both indexes in range: proves the hand
    // coding right, so the test above fails only for the index it probes.
    const QImage image = PortraitDecoder::DecodeGif(HandMadeGif(2, 1, 1, 0));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 0, 0));
}

TEST(GifDecoder, OversizedScreenIsRefusedBeforeAllocating)
{
    struct Row {
        const char* name;
        uint16_t width;
        uint16_t height;
    };
    const Row rows[] = {
        {"widest possible", 65535, 1},
        {"highest possible", 2, 65535},
        {"both huge", 65535, 65535},
        {"one past the limit", PortraitDecoder::kMaxSide + 1, 1},
        {"zero width", 0, 1},
    };
    for (const Row& row : rows)
        EXPECT_TRUE(PortraitDecoder::DecodeGif(HandMadeGif(row.width, row.height, 1, 0)).isNull()) << row.name;
    EXPECT_FALSE(PortraitDecoder::DecodeGif(HandMadeGif(PortraitDecoder::kMaxSide, 1, 1, 0)).isNull());
}

// ---- JPEG ------------------------------------------------------------------

TEST(JpegDecoder, ColourPictureComesBackCloseToTheOriginal)
{
    struct Row {
        const char* name;
        bool progressive;
    };
    for (const Row& row : {Row{"baseline", false}, Row{"progressive", true}}) {
        const QImage image = PortraitDecoder::DecodeJpeg(MakeJpeg(24, 20, false, row.progressive, Smooth));
        ASSERT_FALSE(image.isNull()) << row.name;
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << row.name;
        ASSERT_EQ(image.size(), QSize(24, 20)) << row.name;
        int worst = 0;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 24; ++x) {
                const QRgb a = image.pixel(x, y);
                const QRgb b = Smooth(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))});
            }
        }
        // Quality 100 with chroma subsampling on a smooth picture.
        EXPECT_LE(worst, 12) << row.name;
    }
}

TEST(JpegDecoder, GreyscalePictureComesBackGrey)
{
    auto ramp = [](int x, int y) { const int g = 8 * x + 2 * y; return qRgb(g, g, g); };
    const QImage image = PortraitDecoder::DecodeJpeg(MakeJpeg(16, 16, true, false, ramp));
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb c = image.pixel(x, y);
            EXPECT_EQ(qRed(c), qGreen(c));
            EXPECT_EQ(qRed(c), qBlue(c));
            EXPECT_NEAR(qRed(c), qRed(ramp(x, y)), 4) << x << "," << y;
        }
    }
}

TEST(JpegDecoder, OversizedFrameHeaderIsRefused)
{
    QByteArray jpeg = MakeJpeg(8, 8, false, false, Smooth);
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    // SOF0: marker, length (2), precision (1), height (2), width (2).
    jpeg[sof + 5] = char(0xEA);
    jpeg[sof + 6] = char(0x60);
    jpeg[sof + 7] = char(0xEA);
    jpeg[sof + 8] = char(0x60);
    EXPECT_TRUE(PortraitDecoder::DecodeJpeg(jpeg).isNull());
}

// ---- damaged input ---------------------------------------------------------

struct Damaged {
    const char* name;
    const char* path;
};

class DamagedPortrait : public testing::TestWithParam<Damaged> {};

TEST_P(DamagedPortrait, EveryTruncationGivesANullImage)
{
    const QByteArray whole = ReadAll(QString::fromUtf8(GetParam().path));
    ASSERT_GT(whole.size(), 200);
    ASSERT_FALSE(PortraitDecoder::Decode(whole).isNull());
    // Cut inside the signature, the header, the colour table or frame
    // header, and at many points of the compressed data, up to and
    // including the end-of-data marks (the GIF's block terminator, the
    // JPEG's end-of-image marker). Only the GIF's last byte, the trailer
    // after the complete first frame, is not needed.
    const qsizetype keepAtMost = GetParam().path == AssetPaths::kPortraits[13].path ? whole.size() - 1
                                                                                     : whole.size() - 2;
    std::vector<qsizetype> cuts = {0, 1, 3, 5, 6, 9, 12, 13, 20, 40, 100};
    for (qsizetype n = 150; n < keepAtMost; n += 37)
        cuts.push_back(n);
    cuts.push_back(keepAtMost);
    for (qsizetype n : cuts) {
        const QByteArray cut = whole.left(n);
        EXPECT_TRUE(PortraitDecoder::Decode(cut).isNull()) << "kept " << n << " of " << whole.size();
        EXPECT_TRUE(PortraitDecoder::DecodeGif(cut).isNull()) << "kept " << n;
        EXPECT_TRUE(PortraitDecoder::DecodeJpeg(cut).isNull()) << "kept " << n;
    }
}

TEST_P(DamagedPortrait, FlippedBytesNeverCrash)
{
    // Corruption inside the compressed data may still decode (to a wrong
    // picture); what matters is a bounded, clean result.
    const QByteArray whole = ReadAll(QString::fromUtf8(GetParam().path));
    ASSERT_FALSE(whole.isEmpty());
    std::mt19937 random(7);
    int decoded = 0;
    for (int trial = 0; trial < 300; ++trial) {
        QByteArray bad = whole;
        for (int k = 0; k < 4; ++k) {
            const auto at = static_cast<qsizetype>(random() % static_cast<unsigned>(bad.size()));
            bad[at] = static_cast<char>(random() & 0xFF);
        }
        const QImage image = PortraitDecoder::Decode(bad);
        if (!image.isNull()) {
            ++decoded;
            EXPECT_LE(image.width(), PortraitDecoder::kMaxSide);
            EXPECT_LE(image.height(), PortraitDecoder::kMaxSide);
        }
    }
    EXPECT_LT(decoded, 300) << "no damage was ever noticed";
}

INSTANTIATE_TEST_SUITE_P(Portraits, DamagedPortrait,
                         testing::Values(Damaged{"Gif", AssetPaths::kPortraits[0].path},
                                         Damaged{"Jpeg", AssetPaths::kPortraits[13].path}),
                         [](const testing::TestParamInfo<Damaged>& info) { return std::string(info.param.name); });

TEST(Decoders, GarbageGivesANullImage)
{
    struct Row {
        const char* name;
        QByteArray prefix;
    };
    const Row rows[] = {
        {"no signature", QByteArray()},
        {"GIF signature", QByteArray("GIF89a")},
        {"old GIF signature", QByteArray("GIF87a")},
        {"JPEG signature", QByteArray("\xFF\xD8\xFF", 3)},
        {"PNG signature", QByteArray("\x89PNG\r\n\x1A\n", 8)},
    };
    for (const Row& row : rows) {
        for (unsigned seed = 1; seed <= 25; ++seed) {
            std::mt19937 random(seed);
            QByteArray data = row.prefix;
            for (int i = 0; i < 600; ++i)
                data.append(static_cast<char>(random() & 0xFF));
            EXPECT_TRUE(PortraitDecoder::Decode(data).isNull()) << row.name << ", seed " << seed;
            EXPECT_TRUE(PortraitDecoder::DecodeGif(data).isNull()) << row.name << ", seed " << seed;
            EXPECT_TRUE(PortraitDecoder::DecodeJpeg(data).isNull()) << row.name << ", seed " << seed;
        }
    }
}

TEST(Decoders, DispatchBySignatureAndMissingFiles)
{
    const QByteArray gif = ReadAll(QString::fromUtf8(AssetPaths::kPortraits[0].path));
    const QByteArray jpeg = ReadAll(QString::fromUtf8(AssetPaths::kPortraits[13].path));
    ASSERT_FALSE(gif.isEmpty());
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_EQ(PortraitDecoder::Decode(gif), PortraitDecoder::DecodeGif(gif));
    EXPECT_EQ(PortraitDecoder::Decode(jpeg), PortraitDecoder::DecodeJpeg(jpeg));
    // Each decoder refuses the other's format.
    EXPECT_TRUE(PortraitDecoder::DecodeGif(jpeg).isNull());
    EXPECT_TRUE(PortraitDecoder::DecodeJpeg(gif).isNull());
    EXPECT_TRUE(PortraitDecoder::Decode(QByteArray()).isNull());
    EXPECT_TRUE(PortraitDecoder::DecodeFile(QStringLiteral(":/assets/portraits/none.gif")).isNull());
    EXPECT_TRUE(PortraitDecoder::DecodeFile(QString::fromUtf8(AssetPaths::kBoard)).isNull());
}

} // namespace

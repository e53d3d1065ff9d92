// The piece pictures. The program draws them with every pixel of the colour
// of the bottom-left pixel transparent, so the checks are about what that
// keying leaves: the background must go, the piece must stay whole, and its
// rim must not leave a light fringe on the grey squares.
#include "AssetPaths.h"
#include "PictureFiles.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct PieceCase {
    std::string code;
    int scale;
};

std::vector<PieceCase> AllPieces()
{
    std::vector<PieceCase> cases;
    for (int scale = 1; scale <= 2; ++scale)
        for (std::string_view code : AssetPaths::kPieceCodes)
            cases.push_back({std::string(code), scale});
    return cases;
}

const QRgb kWhite = qRgb(255, 255, 255);

class PiecePicture : public testing::TestWithParam<PieceCase> {
protected:
    void SetUp() override
    {
        const PieceCase& c = GetParam();
        const char* path = c.scale == 1 ? AssetPaths::Piece(c.code) : AssetPaths::Piece2x(c.code);
        ASSERT_NE(path, nullptr);
        bytes = ReadAll(QString::fromUtf8(path));
        ASSERT_FALSE(bytes.isEmpty()) << path;
        image = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull()) << path;
        white = c.code[0] == 'w';
    }

    bool Background(int x, int y) const { return image.pixel(x, y) == kWhite; }

    QByteArray bytes;
    QImage image;
    bool white = false;
};

TEST_P(PiecePicture, IsA24BitBitmapOfThePieceSize)
{
    const PieceCase& c = GetParam();
    const BmpHeader h = ParseBmpHeader(bytes);
    ASSERT_TRUE(h.valid);
    EXPECT_EQ(h.bitCount, 24);
    EXPECT_EQ(h.compression, 0u);
    const int width = c.code == "bp" ? 34 : 35;
    EXPECT_EQ(h.width, width * c.scale);
    EXPECT_EQ(h.height, 35 * c.scale);
    EXPECT_EQ(image.size(), QSize(width * c.scale, 35 * c.scale));
}

TEST_P(PiecePicture, BottomLeftPixelAndAllCornersArePureWhite)
{
    const int r = image.width() - 1;
    const int b = image.height() - 1;
    EXPECT_EQ(image.pixel(0, b), kWhite); // the transparent colour
    EXPECT_EQ(image.pixel(0, 0), kWhite);
    EXPECT_EQ(image.pixel(r, 0), kWhite);
    EXPECT_EQ(image.pixel(r, b), kWhite);
}

TEST_P(PiecePicture, PieceCoversASubstantialPartOfThePicture)
{
    int piece = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            piece += Background(x, y) ? 0 : 1;
    const double share = double(piece) / (image.width() * image.height());
    EXPECT_GT(share, 0.15);
    EXPECT_LT(share, 0.80);
}

TEST_P(PiecePicture, PureWhiteOccursOnlyInTheBackgroundAroundThePiece)
{
    // Flood the pure white from the border: any pure white left over lies
    // inside the piece and would turn into a see-through hole.
    const int w = image.width();
    const int h = image.height();
    std::vector<bool> reached(static_cast<size_t>(w * h), false);
    std::vector<QPoint> todo;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || reached[static_cast<size_t>(y * w + x)] || !Background(x, y))
            return;
        reached[static_cast<size_t>(y * w + x)] = true;
        todo.push_back(QPoint(x, y));
    };
    for (int x = 0; x < w; ++x) {
        visit(x, 0);
        visit(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        visit(0, y);
        visit(w - 1, y);
    }
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        visit(p.x() + 1, p.y());
        visit(p.x() - 1, p.y());
        visit(p.x(), p.y() + 1);
        visit(p.x(), p.y() - 1);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_FALSE(Background(x, y) && !reached[static_cast<size_t>(y * w + x)])
                << "enclosed pure white at " << x << "," << y;
}

TEST_P(PiecePicture, RimNextToTheBackgroundIsDark)
{
    // A light rim pixel would show as a halo around the piece on a grey
    // square; the outer edge is drawn in the outline's dark tone instead.
    int rim = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Background(x, y))
                continue;
            const bool edge = (x > 0 && Background(x - 1, y)) || (x + 1 < image.width() && Background(x + 1, y))
                              || (y > 0 && Background(x, y - 1)) || (y + 1 < image.height() && Background(x, y + 1));
            if (!edge)
                continue;
            ++rim;
            EXPECT_LE(Grey(image, x, y), 150) << "light rim pixel at " << x << "," << y;
        }
    }
    EXPECT_GT(rim, 0);
}

TEST_P(PiecePicture, WhitePiecesAreOffWhiteInsideAndBlackPiecesDark)
{
    int piece = 0;
    int offWhite = 0;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Background(x, y))
                continue;
            ++piece;
            const int g = Grey(image, x, y);
            offWhite += g >= 240 ? 1 : 0;
            dark += g <= 60 ? 1 : 0;
        }
    }
    ASSERT_GT(piece, 0);
    if (white) {
        // The body stays white on the grey squares because it is not the
        // keyed colour. The queen's many inner lines leave it the least.
        EXPECT_GT(double(offWhite) / piece, 0.12);
    } else {
        EXPECT_GT(double(dark) / piece, 0.60);
    }
}

INSTANTIATE_TEST_SUITE_P(Pieces, PiecePicture, testing::ValuesIn(AllPieces()),
                         [](const testing::TestParamInfo<PieceCase>& info) {
                             return info.param.code + (info.param.scale == 1 ? "_1x" : "_2x");
                         });

TEST(PiecePaths, KnowTheTwelveCodesAndNothingElse)
{
    struct Row {
        const char* name;
        std::string_view code;
        const char* expected;
        const char* expected2x;
    };
    const Row rows[] = {
        {"white pawn", "wp", ":/assets/pieces/wp.bmp", ":/assets/pieces/wp@2x.bmp"},
        {"black king", "bk", ":/assets/pieces/bk.bmp", ":/assets/pieces/bk@2x.bmp"},
        {"black pawn", "bp", ":/assets/pieces/bp.bmp", ":/assets/pieces/bp@2x.bmp"},
        {"empty code", "", nullptr, nullptr},
        {"colour only", "w", nullptr, nullptr},
        {"capital letters", "WP", nullptr, nullptr},
        {"unknown kind", "wx", nullptr, nullptr},
        {"trailing text", "wpx", nullptr, nullptr},
    };
    for (const Row& row : rows) {
        const char* path = AssetPaths::Piece(row.code);
        const char* path2x = AssetPaths::Piece2x(row.code);
        if (row.expected == nullptr) {
            EXPECT_EQ(path, nullptr) << row.name;
            EXPECT_EQ(path2x, nullptr) << row.name;
        } else {
            ASSERT_NE(path, nullptr) << row.name;
            ASSERT_NE(path2x, nullptr) << row.name;
            EXPECT_STREQ(path, row.expected) << row.name;
            EXPECT_STREQ(path2x, row.expected2x) << row.name;
        }
    }
}

TEST(PiecePaths, EveryPieceHasItsOwnPictureAtBothScales)
{
    // Twelve different pictures: a code pointing at another piece's file, or
    // two files with the same content, would show the wrong piece.
    std::vector<QByteArray> seen;
    for (std::string_view code : AssetPaths::kPieceCodes) {
        for (const char* path : {AssetPaths::Piece(code), AssetPaths::Piece2x(code)}) {
            ASSERT_NE(path, nullptr);
            const QByteArray bytes = ReadAll(QString::fromUtf8(path));
            ASSERT_FALSE(bytes.isEmpty()) << path;
            for (const QByteArray& other : seen)
                EXPECT_NE(bytes, other) << path;
            seen.push_back(bytes);
        }
    }
}

} // namespace

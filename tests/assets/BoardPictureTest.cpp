// The board picture, pixel by pixel where the program depends on it: the
// figures are placed and found by this grid geometry, so a frame or square
// one pixel off would put every figure beside its square.
#include "AssetPaths.h"
#include "PictureFiles.h"

#include <QImage>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct BoardCase {
    const char* name;
    const char* path;
    int scale; // every length of the 385-pixel board times this
};

class BoardPicture : public testing::TestWithParam<BoardCase> {
protected:
    void SetUp() override
    {
        bytes = ReadAll(QString::fromUtf8(GetParam().path));
        ASSERT_FALSE(bytes.isEmpty()) << GetParam().path;
        image = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull());
        s = GetParam().scale;
    }

    // The colour of the 1x pixel (x, y): all s x s pixels that it became must
    // agree, else the test reports the first that differs.
    QRgb At(int x, int y) const
    {
        const QRgb first = image.pixel(x * s, y * s);
        for (int dy = 0; dy < s; ++dy)
            for (int dx = 0; dx < s; ++dx)
                if (image.pixel(x * s + dx, y * s + dy) != first)
                    return qRgba(1, 2, 3, 4); // matches no expected colour
        return first;
    }

    // Ink of a 1x box: dark pixels, as a mask over the box at full resolution.
    std::vector<bool> Ink(int x0, int y0, int x1, int y1) const
    {
        std::vector<bool> mask;
        for (int y = y0 * s; y <= y1 * s + s - 1; ++y)
            for (int x = x0 * s; x <= x1 * s + s - 1; ++x)
                mask.push_back(Grey(image, x, y) < 100);
        return mask;
    }

    QByteArray bytes;
    QImage image;
    int s = 1;
};

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kDark = qRgb(192, 192, 192);
const QRgb kFrame = qRgb(128, 128, 128);

int CountInk(const std::vector<bool>& mask)
{
    int n = 0;
    for (bool b : mask)
        n += b ? 1 : 0;
    return n;
}

TEST_P(BoardPicture, IsA16ColourBitmapOfTheBoardSize)
{
    const BmpHeader h = ParseBmpHeader(bytes);
    ASSERT_TRUE(h.valid);
    EXPECT_EQ(h.bitCount, 4);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_LE(h.coloursUsed, 16u);
    EXPECT_EQ(h.width, 385 * s);
    EXPECT_EQ(h.height, 385 * s);
    EXPECT_EQ(image.width(), 385 * s);
    EXPECT_EQ(image.height(), 385 * s);
}

TEST_P(BoardPicture, GreyFrameRunsAlongAllFourSidesOfTheGrid)
{
    for (int t = 31; t <= 352; ++t) {
        EXPECT_EQ(At(31, t), kFrame) << "left side, y " << t;
        EXPECT_EQ(At(352, t), kFrame) << "right side, y " << t;
        EXPECT_EQ(At(t, 31), kFrame) << "top side, x " << t;
        EXPECT_EQ(At(t, 352), kFrame) << "bottom side, x " << t;
    }
}

TEST_P(BoardPicture, FrameIsOnePixelWideWithWhiteOutside)
{
    for (int t = 30; t <= 353; ++t) {
        EXPECT_EQ(At(30, t), kWhite) << "left of the frame, y " << t;
        EXPECT_EQ(At(353, t), kWhite) << "right of the frame, y " << t;
        EXPECT_EQ(At(t, 30), kWhite) << "above the frame, x " << t;
        EXPECT_EQ(At(t, 353), kWhite) << "below the frame, x " << t;
    }
}

TEST_P(BoardPicture, EverySquareIsFilledWithItsExactColour)
{
    // Square (row r, column j) covers x = 32+40(j-1) .. 71+40(j-1) and
    // y = 32+40(r-1) .. 71+40(r-1); a8 (row 1, column 1) is light.
    for (int r = 1; r <= 8; ++r) {
        for (int j = 1; j <= 8; ++j) {
            const QRgb expected = (r + j) % 2 == 0 ? kWhite : kDark;
            const int x0 = 32 + 40 * (j - 1);
            const int y0 = 32 + 40 * (r - 1);
            int wrong = 0;
            for (int y = y0; y <= y0 + 39; ++y)
                for (int x = x0; x <= x0 + 39; ++x)
                    wrong += At(x, y) == expected ? 0 : 1;
            EXPECT_EQ(wrong, 0) << "row " << r << ", column " << j;
        }
    }
}

TEST_P(BoardPicture, CornersOfA8AndItsNeighboursMarkTheSquareEdges)
{
    // a8 is light; the pixel just right of it and just below it belong to
    // the dark squares b8 and a7.
    EXPECT_EQ(At(32, 32), kWhite);
    EXPECT_EQ(At(71, 32), kWhite);
    EXPECT_EQ(At(32, 71), kWhite);
    EXPECT_EQ(At(71, 71), kWhite);
    EXPECT_EQ(At(72, 32), kDark);
    EXPECT_EQ(At(32, 72), kDark);
    // h1, the last square, is light too and ends at 351.
    EXPECT_EQ(At(351, 351), kWhite);
    EXPECT_EQ(At(312, 312), kWhite);
    EXPECT_EQ(At(311, 351), kDark);
}

TEST_P(BoardPicture, RankDigitsStandLeftOfTheGridAndFileLettersBelowIt)
{
    std::vector<std::vector<bool>> digits;
    std::vector<std::vector<bool>> letters;
    for (int k = 0; k < 8; ++k) {
        digits.push_back(Ink(0, 32 + 40 * k, 29, 71 + 40 * k));
        letters.push_back(Ink(32 + 40 * k, 354, 71 + 40 * k, 384));
        EXPECT_GE(CountInk(digits.back()), 12 * s * s) << "rank label beside row " << k + 1;
        EXPECT_GE(CountInk(letters.back()), 12 * s * s) << "file label under column " << k + 1;
    }
    // Eight different characters each: no label repeated.
    for (int a = 0; a < 8; ++a) {
        for (int b = a + 1; b < 8; ++b) {
            EXPECT_NE(digits[a], digits[b]) << "rows " << a + 1 << " and " << b + 1;
            EXPECT_NE(letters[a], letters[b]) << "columns " << a + 1 << " and " << b + 1;
        }
    }
}

TEST_P(BoardPicture, MarginsAboveAndRightOfTheGridAreBlank)
{
    for (int y = 0; y <= 29; ++y)
        for (int x = 0; x < 385; ++x)
            ASSERT_EQ(At(x, y), kWhite) << "top margin at " << x << "," << y;
    for (int x = 354; x < 385; ++x)
        for (int y = 0; y < 385; ++y)
            ASSERT_EQ(At(x, y), kWhite) << "right margin at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Boards, BoardPicture,
                         testing::Values(BoardCase{"Standard", AssetPaths::kBoard, 1},
                                         BoardCase{"Double", AssetPaths::kBoard2x, 2}),
                         [](const testing::TestParamInfo<BoardCase>& info) { return std::string(info.param.name); });

} // namespace

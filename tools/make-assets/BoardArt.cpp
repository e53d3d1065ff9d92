#include "BoardArt.h"

#include <QFont>
#include <QPainter>

#include <array>
#include <cstdlib>

namespace {

// Sixteen greys: the four the geometry needs (black labels, the frame, the
// dark squares, white) and twelve more so that the labels keep their
// anti-aliased edges after the reduction to 16 colours.
constexpr std::array<int, 16> kGreys = {0, 17, 34, 51, 68, 85, 102, 119, 128, 145, 162, 179, 192, 213, 234, 255};
constexpr int kFrameGrey = 128;
constexpr int kDarkSquareGrey = 192;

// Unscaled geometry of the picture.
constexpr int kSide = 385;
constexpr int kGridOrigin = 32;
constexpr int kSquare = 40;
constexpr int kFrameLow = 31;
constexpr int kFrameHigh = 352;

int NearestGreyIndex(int grey)
{
    int best = 0;
    for (int i = 1; i < static_cast<int>(kGreys.size()); ++i)
        if (std::abs(kGreys[i] - grey) < std::abs(kGreys[best] - grey))
            best = i;
    return best;
}

} // namespace

QImage RenderBoard(int scale, const QString& fontFamily)
{
    QImage rgb(kSide * scale, kSide * scale, QImage::Format_RGB32);
    rgb.fill(Qt::white);
    {
        QPainter p(&rgb);
        p.scale(scale, scale);
        // Geometry is painted without anti-aliasing: every edge lies on a
        // whole pixel, and the squares must keep their exact colours.
        p.setRenderHint(QPainter::Antialiasing, false);
        const QColor frame(kFrameGrey, kFrameGrey, kFrameGrey);
        p.fillRect(QRect(kFrameLow, kFrameLow, kFrameHigh - kFrameLow + 1, kFrameHigh - kFrameLow + 1), frame);
        for (int row = 1; row <= 8; ++row) {
            for (int col = 1; col <= 8; ++col) {
                // a8 (row 1, column 1) is light; colours alternate from there.
                const bool light = (row + col) % 2 == 0;
                const QColor colour = light ? QColor(255, 255, 255)
                                            : QColor(kDarkSquareGrey, kDarkSquareGrey, kDarkSquareGrey);
                p.fillRect(QRect(kGridOrigin + kSquare * (col - 1), kGridOrigin + kSquare * (row - 1), kSquare,
                                 kSquare),
                           colour);
            }
        }

        QFont font(fontFamily);
        font.setPixelSize(17);
        font.setBold(true);
        font.setHintingPreference(QFont::PreferFullHinting);
        p.setFont(font);
        p.setPen(Qt::black);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        for (int row = 1; row <= 8; ++row) {
            const QRect box(0, kGridOrigin + kSquare * (row - 1), kFrameLow, kSquare);
            p.drawText(box, Qt::AlignCenter, QString::number(9 - row));
        }
        for (int col = 1; col <= 8; ++col) {
            const QRect box(kGridOrigin + kSquare * (col - 1), kFrameHigh + 1, kSquare, kSide - kFrameHigh - 3);
            p.drawText(box, Qt::AlignCenter, QString(QChar('a' + col - 1)));
        }
    }

    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    QVector<QRgb> palette;
    for (int g : kGreys)
        palette.append(qRgb(g, g, g));
    indexed.setColorTable(palette);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            out[x] = static_cast<uchar>(NearestGreyIndex(qGray(in[x])));
    }
    return indexed;
}

#include "BmpWriter.h"

#include <QtEndian>

#include <cstdint>

namespace {

void PutU16(QByteArray& out, uint16_t v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void PutU32(QByteArray& out, uint32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// BITMAPFILEHEADER (14 bytes) followed by BITMAPINFOHEADER (40 bytes).
// Rows are stored bottom-up (positive height), each padded to 4 bytes.
void PutHeaders(QByteArray& out, int width, int height, int bitCount, int paletteSize)
{
    const uint32_t rowBytes = ((static_cast<uint32_t>(width) * bitCount + 31) / 32) * 4;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
    const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(paletteSize);
    out.append("BM", 2);
    PutU32(out, offset + pixelBytes);
    PutU32(out, 0); // two reserved words
    PutU32(out, offset);
    PutU32(out, 40);
    PutU32(out, static_cast<uint32_t>(width));
    PutU32(out, static_cast<uint32_t>(height));
    PutU16(out, 1); // planes
    PutU16(out, static_cast<uint16_t>(bitCount));
    PutU32(out, 0); // BI_RGB, no compression
    PutU32(out, pixelBytes);
    PutU32(out, 3780); // 96 dots per inch, in dots per metre
    PutU32(out, 3780);
    PutU32(out, static_cast<uint32_t>(paletteSize));
    PutU32(out, 0);
}

} // namespace

QByteArray EncodeBmp4(const QImage& image)
{
    if (image.format() != QImage::Format_Indexed8 || image.colorCount() > 16)
        return {};
    const int w = image.width();
    const int h = image.height();
    for (int y = 0; y < h; ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < w; ++x)
            if (line[x] >= 16)
                return {};
    }

    QByteArray out;
    PutHeaders(out, w, h, 4, 16);
    QVector<QRgb> palette = image.colorTable();
    palette.resize(16, qRgb(0, 0, 0));
    for (QRgb c : palette) {
        const char entry[4] = {static_cast<char>(qBlue(c)), static_cast<char>(qGreen(c)),
                               static_cast<char>(qRed(c)), 0};
        out.append(entry, 4);
    }
    const int rowBytes = ((w * 4 + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            // The left pixel of each pair is the high nibble.
            const int shift = (x % 2 == 0) ? 4 : 0;
            row[x / 2] = static_cast<char>(static_cast<uchar>(row[x / 2]) | (line[x] << shift));
        }
        out.append(row);
    }
    return out;
}

QByteArray EncodeBmp24(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    QByteArray out;
    PutHeaders(out, w, h, 24, 0);
    const int rowBytes = ((w * 24 + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<char>(qBlue(line[x]));
            row[3 * x + 1] = static_cast<char>(qGreen(line[x]));
            row[3 * x + 2] = static_cast<char>(qRed(line[x]));
        }
        out.append(row);
    }
    return out;
}

#pragma once
// Plain Windows bitmap files, written byte by byte so that the bit depth is
// exactly the one asked for (the image plugins choose their own).
#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QVector>

// A 16-colour (4 bits per pixel) uncompressed BMP of `image`, which must be an
// 8-bit indexed image whose every index is below 16; the palette written is
// image.colorTable(), padded with black to 16 entries. Returns an empty array
// when the precondition does not hold.
QByteArray EncodeBmp4(const QImage& image);

// A 24-bit uncompressed BMP of `image` (any format; alpha is dropped).
QByteArray EncodeBmp24(const QImage& image);

#pragma once
// Helpers of the picture tests: reading embedded files and the fields of a
// BMP header.
#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>

// The bytes of a resource (or any file); empty when it cannot be read.
QByteArray ReadAll(const QString& path);

struct BmpHeader {
    bool valid = false; // "BM" signature and a 40-byte (or longer) info header
    int32_t width = 0;
    int32_t height = 0; // positive: rows stored bottom-up
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
};

// The fields of a Windows bitmap file header, read byte by byte, so the
// checks do not depend on how an image reader interprets them.
BmpHeader ParseBmpHeader(const QByteArray& file);

// Grey level (0..255) of a pixel.
int Grey(const QImage& image, int x, int y);

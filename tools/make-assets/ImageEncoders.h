#pragma once
// The two compressed formats of the splash portraits, written with the same
// libraries that the program decodes them with.
#include <QByteArray>
#include <QImage>

// A single-frame GIF89a of `image` with a 256-entry palette chosen by
// giflib's median-cut quantiser. Returns an empty array on failure.
QByteArray EncodeGif(const QImage& image);

// A baseline JPEG of `image` at the given quality (1..100), 4:2:0 sampling.
// Returns an empty array on failure.
QByteArray EncodeJpeg(const QImage& image, int quality);

#pragma once
// Decoding of the splash portraits from memory: GIF with giflib, JPEG with
// libjpeg-turbo. Every function here is safe on any input: corrupt,
// truncated, empty, oversized or unsupported data gives a null QImage, never
// a crash, an exception or a partly decoded picture. Pure functions, safe to
// call from any thread.
#include <QImage>

class QByteArray;
class QString;

namespace PortraitDecoder {

// Pictures wider or higher than this are refused (null image) before any
// pixel memory is allocated, whatever their header claims.
inline constexpr int kMaxSide = 4096;

// The first frame of a GIF (87a or 89a), as a Format_ARGB32 image of the
// size of the GIF's logical screen. The frame is placed at its offset and
// clipped to the screen; pixels the frame does not cover, pixels of the
// transparent colour index of the frame's graphic control extension, and
// pixels whose index lies outside the colour table are transparent (alpha 0);
// all others are opaque. Interlaced frames come out in natural row order.
// The frame's local colour table is used when it has one, otherwise the
// global one; a frame with neither is refused.
QImage DecodeGif(const QByteArray& data);

// A baseline or progressive JPEG (greyscale or YCbCr/RGB) as a
// Format_RGB32 image. CMYK pictures are refused. Any corruption libjpeg
// notices, including a premature end of data that it would otherwise paper
// over with grey, gives a null image.
QImage DecodeJpeg(const QByteArray& data);

// DecodeGif or DecodeJpeg, chosen by the data's signature ("GIF87a",
// "GIF89a"; FF D8 FF); a null image for anything else.
QImage Decode(const QByteArray& data);

// Reads the file at `path` (a resource path such as
// ":/assets/portraits/01-steinitz.gif" or a file on disk) and decodes it
// with Decode. A null image when the file cannot be read, is larger than
// 16 MiB or does not decode.
QImage DecodeFile(const QString& path);

} // namespace PortraitDecoder

#pragma once
// The board picture: an 8 x 8 grid of 40-pixel squares whose top-left corner
// is pixel (32, 32), a one-pixel grey frame just outside it, rank digits on
// the left and file letters below, on a white 385 x 385 picture. `scale` 2
// doubles every length (770 x 770) for displays with device pixel ratio 2.
#include <QImage>
#include <QString>

// 8-bit indexed image with a 16-entry grey palette (so it can be stored as a
// 4-bit BMP); squares are exactly (255,255,255) and (192,192,192), the frame
// (128,128,128). `fontFamily` must name a font already registered with the
// font database; the labels are drawn in it.
QImage RenderBoard(int scale, const QString& fontFamily);

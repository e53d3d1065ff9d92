#pragma once
// The twelve piece pictures, rendered from the chess glyphs of a font: the
// piece's own glyph (outlined for white, filled for black) is inked over its
// silhouette, the glyph with its inner holes filled, which is painted in the
// body colour (off-white for white pieces, light grey for the inner lines of
// black pieces).
#include <QImage>
#include <QRawFont>

// Picture of the piece `code` ("wp" .. "bk") at `scale` 1 (35 x 35, the black
// pawn 34 x 35) or 2 (70 x 70, 68 x 70), RGB32. Everything outside the piece
// is pure white (255,255,255) and nothing inside the piece is: the program
// keys out pure white. The outer edge is hard (no blend toward white), so no
// light fringe shows on the dark squares. `font` must contain U+2654..U+265F.
// Returns a null image for an unknown code.
QImage RenderPiece(const QString& code, int scale, const QRawFont& font);

// The number of pure white pixels of `piece` that cannot be reached from its
// border through pure white: they would turn into see-through holes when the
// program keys out white. A usable piece picture has none.
int EnclosedBackgroundPixels(const QImage& piece);

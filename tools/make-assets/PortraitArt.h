#pragma once
// The splash portraits: stylised, drawn busts, one per world chess champion,
// told apart by colour, hair, beard, moustache and glasses, with the years of
// the title in a band along the bottom. They are drawings made here, not
// likenesses taken from any picture.
#include <QImage>
#include <QString>

inline constexpr int kPortraitCount = 14;
inline constexpr int kPortraitWidth = 80;
inline constexpr int kPortraitHeight = 100;

// Portrait number `index` (0 = the first champion .. 13), 80 x 100, RGB32.
// `fontFamily` must name a font registered with the font database (used for
// the years). Returns a null image for an index out of range.
QImage RenderPortrait(int index, const QString& fontFamily);

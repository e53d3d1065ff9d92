#include "PieceArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <vector>

namespace {

// Supersampling factor: the glyphs are drawn this many times larger and each
// final pixel is the average of SS x SS samples.
constexpr int kSS = 8;
// Free rows above the tallest piece and below every piece, and free columns
// beside the widest, at scale 1.
constexpr double kMarginTop = 1.0;
constexpr double kMarginBottom = 1.5;
constexpr double kMarginSide = 0.5;

constexpr char kKinds[] = "kqrbnp"; // the order of the glyphs from U+2654 on

// The body of a white piece stays a shade off white so that only the
// background is keyed out; the inner lines of a black piece are light grey.
const QRgb kWhiteBody = qRgb(250, 250, 250);
const QRgb kBlackBody = qRgb(20, 20, 20);
const QRgb kBlackDetail = qRgb(225, 225, 225);
const QRgb kInk = qRgb(0, 0, 0);

QPainterPath GlyphPath(const QRawFont& font, char32_t codePoint)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&codePoint, 1));
    if (glyphs.isEmpty() || glyphs.first() == 0)
        return {};
    return font.pathForGlyph(glyphs.first());
}

// A mask of `path` (already transformed to sample coordinates): 1 where it
// covers a sample centre.
std::vector<uint8_t> Coverage(const QPainterPath& path, int w, int h)
{
    QImage img(w, h, QImage::Format_Grayscale8);
    img.fill(0);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillPath(path, QColor(255, 255, 255));
    }
    std::vector<uint8_t> mask(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const uchar* line = img.constScanLine(y);
        for (int x = 0; x < w; ++x)
            mask[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = line[x] > 127 ? 1 : 0;
    }
    return mask;
}

// Everything not reachable from the border without crossing `ink`: the solid
// silhouette, with the glyph's inner holes filled in.
std::vector<uint8_t> Silhouette(const std::vector<uint8_t>& ink, int w, int h)
{
    std::vector<uint8_t> outside(ink.size(), 0);
    std::vector<int> stack;
    auto push = [&](int x, int y) {
        const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
        if (!ink[i] && !outside[i]) {
            outside[i] = 1;
            stack.push_back(static_cast<int>(i));
        }
    };
    for (int x = 0; x < w; ++x) {
        push(x, 0);
        push(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        push(0, y);
        push(w - 1, y);
    }
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        const int x = i % w;
        const int y = i / w;
        if (x > 0)
            push(x - 1, y);
        if (x < w - 1)
            push(x + 1, y);
        if (y > 0)
            push(x, y - 1);
        if (y < h - 1)
            push(x, y + 1);
    }
    std::vector<uint8_t> solid(ink.size());
    for (size_t i = 0; i < ink.size(); ++i)
        solid[i] = outside[i] ? 0 : 1;
    return solid;
}

} // namespace

QImage RenderPiece(const QString& code, int scale, const QRawFont& font)
{
    if (code.size() != 2 || (code[0] != u'w' && code[0] != u'b'))
        return {};
    const char* kindPos = std::find(kKinds, kKinds + 6, code[1].toLatin1());
    if (kindPos == kKinds + 6)
        return {};
    const int kind = static_cast<int>(kindPos - kKinds);
    const bool white = code[0] == u'w';

    // One scale factor for the whole set, so that the king stays taller than
    // the pawn: the tallest and the widest of the filled glyphs fill the box.
    QRectF bounds[6];
    double maxHeight = 0;
    double maxWidth = 0;
    for (int k = 0; k < 6; ++k) {
        bounds[k] = GlyphPath(font, char32_t(0x265A + k)).boundingRect();
        maxHeight = std::max(maxHeight, bounds[k].height());
        maxWidth = std::max(maxWidth, bounds[k].width());
    }

    const int width = (code == QLatin1String("bp") ? 34 : 35) * scale;
    const int height = 35 * scale;
    const int sw = width * kSS;
    const int sh = height * kSS;
    const double box = 35.0 * scale * kSS;
    const double factor = std::min((box - (kMarginTop + kMarginBottom) * scale * kSS) / maxHeight,
                                   (box - 2.0 * kMarginSide * scale * kSS) / maxWidth);
    const QPainterPath own = GlyphPath(font, char32_t((white ? 0x2654 : 0x265A) + kind));
    const QRectF b = own.boundingRect();
    QTransform place;
    place.translate(sw / 2.0 - (b.center().x() * factor), sh - kMarginBottom * scale * kSS - b.bottom() * factor);
    place.scale(factor, factor);

    // White pieces: off-white body, the outlined glyph in ink. Black pieces:
    // the filled glyph in near-black; its cut-out inner lines show light grey.
    // The silhouette is the piece's own glyph with its holes filled.
    const QPainterPath glyph = place.map(own);
    const std::vector<uint8_t> ink = Coverage(glyph, sw, sh);
    const std::vector<uint8_t> solid = Silhouette(ink, sw, sh);
    const QRgb inkColour = white ? kInk : kBlackBody;
    const QRgb bodyColour = white ? kWhiteBody : kBlackDetail;

    QImage out(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            int inside = 0;
            int r = 0, g = 0, bl = 0;
            for (int sy = y * kSS; sy < (y + 1) * kSS; ++sy) {
                for (int sx = x * kSS; sx < (x + 1) * kSS; ++sx) {
                    const size_t i = static_cast<size_t>(sy) * static_cast<size_t>(sw) + static_cast<size_t>(sx);
                    if (!solid[i])
                        continue;
                    const QRgb c = ink[i] ? inkColour : bodyColour;
                    ++inside;
                    r += qRed(c);
                    g += qGreen(c);
                    bl += qBlue(c);
                }
            }
            // A hard outer edge: a pixel belongs to the piece when at least
            // half of it is covered, and then it takes the piece's own colour
            // there (unblended with the background), which at the rim is the
            // dark outline.
            if (inside * 2 >= kSS * kSS) {
                line[x] = qRgb(std::min(250, r / inside), std::min(250, g / inside), std::min(250, bl / inside));
            } else {
                line[x] = qRgb(255, 255, 255);
            }
        }
    }
    return out;
}

int EnclosedBackgroundPixels(const QImage& piece)
{
    const int w = piece.width();
    const int h = piece.height();
    std::vector<uint8_t> background(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            background[static_cast<size_t>(y * w + x)] = piece.pixel(x, y) == qRgb(255, 255, 255) ? 0 : 1;
    // Silhouette() treats its argument as the barrier: here the non-white
    // pixels; what it calls solid is everything the border cannot reach.
    const std::vector<uint8_t> unreachable = Silhouette(background, w, h);
    int enclosed = 0;
    for (size_t i = 0; i < background.size(); ++i)
        enclosed += (unreachable[i] && !background[i]) ? 1 : 0;
    return enclosed;
}

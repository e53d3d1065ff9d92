#include "PortraitArt.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

enum class Hair { Full, Parted, SweptBack, Receding, BaldSides, Curly, Wavy };

struct Sitter {
    const char* years;
    int hue;        // background hue, 0..359; the tie takes the opposite one
    Hair hair;
    QRgb hairColour;
    bool beard;
    bool moustache;
    bool glasses;
    int faceWidth;  // half-width of the head in pixels
};

const QRgb kDarkBrown = qRgb(58, 40, 28);
const QRgb kBlack = qRgb(28, 24, 22);
const QRgb kBrown = qRgb(104, 72, 44);
const QRgb kLightBrown = qRgb(140, 104, 66);
const QRgb kAuburn = qRgb(128, 68, 40);
const QRgb kGrey = qRgb(204, 202, 196);

// In the order of the title, first to fourteenth.
const Sitter kSitters[kPortraitCount] = {
    {"1886\u20131894", 220, Hair::BaldSides, kGrey, true, true, false, 15},
    {"1894\u20131921", 120, Hair::Receding, kDarkBrown, false, true, false, 14},
    {"1921\u20131927", 50, Hair::Parted, kBlack, false, false, false, 14},
    {"1927\u20131946", 0, Hair::SweptBack, kLightBrown, false, false, false, 14},
    {"1935\u20131937", 25, Hair::Receding, kBrown, false, false, true, 14},
    {"1948\u20131963", 330, Hair::Receding, kDarkBrown, false, false, true, 15},
    {"1957\u20131958", 180, Hair::Wavy, kAuburn, false, false, true, 14},
    {"1960\u20131961", 270, Hair::SweptBack, kBlack, false, false, false, 13},
    {"1963\u20131969", 80, Hair::Receding, kBlack, false, false, false, 15},
    {"1969\u20131972", 200, Hair::Parted, kBrown, false, false, false, 14},
    {"1972\u20131975", 245, Hair::Parted, kDarkBrown, false, false, false, 14},
    {"1975\u20131985", 150, Hair::Parted, kLightBrown, false, false, false, 13},
    {"1985\u20132000", 350, Hair::Curly, kBlack, false, false, false, 14},
    {"2000\u20132007", 300, Hair::Full, kBrown, false, false, false, 15},
};

const QColor kSkin(232, 196, 164);
const QColor kSkinShade(208, 166, 134);

// The hair region above a hairline that runs from the left temple (at
// `left` of the head's height below its top) over `middle` to the right
// temple (`right`).
QPainterPath AboveHairline(const QRectF& head, double left, double middle, double right)
{
    const double h = head.height();
    QPainterPath region;
    region.moveTo(head.left() - 6, head.top() + h * left);
    region.cubicTo(head.left() + head.width() * 0.25, head.top() + h * middle, head.right() - head.width() * 0.25,
                   head.top() + h * middle, head.right() + 6, head.top() + h * right);
    region.lineTo(head.right() + 6, head.top() - 12);
    region.lineTo(head.left() - 6, head.top() - 12);
    region.closeSubpath();
    return region;
}

struct HairlineShape {
    double left, middle, right; // hairline heights as fractions of the head
    bool fringe;                // hair over the forehead at all
};

HairlineShape HairlineOf(Hair hair)
{
    switch (hair) {
    case Hair::Full: return {0.48, 0.20, 0.48, true};
    case Hair::Parted: return {0.50, 0.24, 0.34, true};
    case Hair::SweptBack: return {0.40, 0.10, 0.40, true};
    case Hair::Receding: return {0.46, 0.16, 0.46, true};
    case Hair::BaldSides: return {0.0, 0.0, 0.0, false};
    case Hair::Curly: return {0.48, 0.22, 0.48, true};
    case Hair::Wavy: return {0.46, 0.18, 0.46, true};
    }
    return {0.0, 0.0, 0.0, false};
}

// The mass of hair seen around the head: drawn before the face.
void DrawHairBehind(QPainter& p, const Sitter& s, const QRectF& head)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(s.hairColour));
    const double w = head.width();
    const double h = head.height();
    const double cx = head.center().x();
    const double volume = s.hair == Hair::Curly ? 4.5 : s.hair == Hair::Wavy ? 3.5 : 2.2;
    QPainterPath mass;
    mass.setFillRule(Qt::WindingFill); // the locks below overlap
    mass.addEllipse(QRectF(head.left() - volume, head.top() - volume - 2.0, w + 2 * volume, h * 0.62 + volume + 1.5));
    QPainterPath upper;
    upper.addRect(QRectF(head.left() - 10, head.top() - 12, w + 20, h * 0.55 + 12));
    mass = mass.intersected(upper);
    if (s.hair == Hair::BaldSides) {
        // Only a fringe of hair round the back, from temple to temple.
        QPainterPath crown;
        crown.addRect(QRectF(head.left() - 10, head.top() - 12, w + 20, h * 0.30 + 12));
        mass = mass.subtracted(crown);
    }
    if (s.hair == Hair::Curly || s.hair == Hair::Wavy) {
        // Locks all round the crown, so the hair stands up.
        const bool curly = s.hair == Hair::Curly;
        const int locks = curly ? 11 : 7;
        const double r = curly ? 3.3 : 3.6;
        const double rx = w / 2.0 + volume - 1.5;
        const double ry = h * 0.31 + volume - 1.5;
        const double cy = head.top() + h * 0.31;
        for (int i = 0; i < locks; ++i) {
            const double a = 3.14159265 * (0.06 + 0.88 * i / (locks - 1));
            QPainterPath lock;
            lock.addEllipse(QPointF(cx - rx * std::cos(a), cy - ry * std::sin(a) - 1.0), r, r);
            mass = mass.united(lock);
        }
    }
    p.drawPath(mass);
}

// The hair over the forehead: drawn on top of the face.
void DrawHairFront(QPainter& p, const Sitter& s, const QRectF& head)
{
    const HairlineShape line = HairlineOf(s.hair);
    if (!line.fringe)
        return;
    const double w = head.width();
    const double h = head.height();
    const double cx = head.center().x();
    const QColor hair = QColor::fromRgb(s.hairColour);

    QPainterPath skull;
    skull.addEllipse(head);
    QPainterPath fringe = skull.intersected(AboveHairline(head, line.left, line.middle, line.right));
    if (s.hair == Hair::Receding) {
        // A high forehead: the hair stays at the back and the temples.
        QPainterPath forehead;
        forehead.addEllipse(QRectF(cx - w * 0.3, head.top() - 3, w * 0.6, h * 0.40));
        fringe = fringe.subtracted(forehead);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(hair);
    p.drawPath(fringe);
    if (s.hair == Hair::Parted) {
        p.setPen(QPen(hair.lighter(165), 0.9));
        p.drawLine(QPointF(cx + w * 0.22, head.top() - 1.0), QPointF(cx + w * 0.16, head.top() + h * 0.12));
    }
}

void DrawFace(QPainter& p, const Sitter& s, const QRectF& head)
{
    const double cx = head.center().x();
    const double eyeY = head.top() + head.height() * 0.47;
    const double eyeDx = head.width() * 0.2;
    const QColor hair = QColor::fromRgb(s.hairColour);
    const QColor line(70, 50, 40);

    if (s.beard) {
        // A full beard from ear to ear, well below the chin.
        QPainterPath beard;
        beard.moveTo(head.left() + 0.5, eyeY + 2);
        beard.cubicTo(head.left() - 1, head.bottom() + 6, cx - 6, head.bottom() + 12, cx, head.bottom() + 12);
        beard.cubicTo(cx + 6, head.bottom() + 12, head.right() + 1, head.bottom() + 6, head.right() - 0.5, eyeY + 2);
        beard.lineTo(head.right() - 3, eyeY + 3);
        beard.cubicTo(head.right() - 4, head.bottom() - 4, cx + 6, head.bottom() - 3, cx, head.bottom() - 3);
        beard.cubicTo(cx - 6, head.bottom() - 3, head.left() + 4, head.bottom() - 4, head.left() + 3, eyeY + 3);
        beard.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(hair);
        p.drawPath(beard);
        QPainterPath chin;
        chin.addEllipse(QRectF(cx - 8, head.bottom() - 8, 16, 14));
        p.drawPath(chin);
    }

    // Brows and eyes.
    p.setPen(QPen(hair.darker(130), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx - eyeDx - 2.5, eyeY - 3.2), QPointF(cx - eyeDx + 2.5, eyeY - 3.6));
    p.drawLine(QPointF(cx + eyeDx - 2.5, eyeY - 3.6), QPointF(cx + eyeDx + 2.5, eyeY - 3.2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 32, 28));
    p.drawEllipse(QPointF(cx - eyeDx, eyeY), 1.3, 1.1);
    p.drawEllipse(QPointF(cx + eyeDx, eyeY), 1.3, 1.1);

    // Nose: a soft shadow on one side.
    p.setPen(QPen(kSkinShade, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx + 0.5, eyeY + 1), QPointF(cx + 1.5, eyeY + 7));
    p.drawLine(QPointF(cx + 1.5, eyeY + 7), QPointF(cx - 0.5, eyeY + 7.5));

    if (s.moustache) {
        QPainterPath m;
        m.moveTo(cx - 6, eyeY + 11);
        m.quadTo(cx, eyeY + 7, cx + 6, eyeY + 11);
        m.quadTo(cx, eyeY + 9.5, cx - 6, eyeY + 11);
        p.setPen(QPen(hair, 1.2));
        p.setBrush(hair);
        p.drawPath(m);
    } else {
        p.setPen(QPen(QColor(150, 90, 80), 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cx - 3, eyeY + 11), QPointF(cx + 3, eyeY + 11));
    }

    if (s.glasses) {
        p.setPen(QPen(line, 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(cx - eyeDx, eyeY), 3.6, 3.0);
        p.drawEllipse(QPointF(cx + eyeDx, eyeY), 3.6, 3.0);
        p.drawLine(QPointF(cx - eyeDx + 3.6, eyeY - 0.5), QPointF(cx + eyeDx - 3.6, eyeY - 0.5));
        p.drawLine(QPointF(cx - eyeDx - 3.6, eyeY - 0.5), QPointF(head.left() + 0.5, eyeY - 1.5));
        p.drawLine(QPointF(cx + eyeDx + 3.6, eyeY - 0.5), QPointF(head.right() - 0.5, eyeY - 1.5));
    }
}

} // namespace

QImage RenderPortrait(int index, const QString& fontFamily)
{
    if (index < 0 || index >= kPortraitCount)
        return {};
    const Sitter& s = kSitters[index];
    const int w = kPortraitWidth;
    const int h = kPortraitHeight;
    constexpr int kBand = 14;

    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);

    // Flat colours only: a 256-colour palette shows gradients as bands.
    p.fillRect(QRect(0, 0, w, h - kBand), QColor::fromHsl(s.hue, 80, 186));

    // A faint king behind the sitter, upper right.
    {
        QFont king(fontFamily);
        king.setPixelSize(26);
        p.setFont(king);
        p.setPen(QColor::fromHsl(s.hue, 70, 170));
        p.drawText(QRect(w - 26, 2, 24, 30), Qt::AlignCenter, QString(QChar(0x265A)));
    }

    const double cx = w / 2.0;
    const double headW = 2.0 * s.faceWidth;
    const QRectF head(cx - s.faceWidth, 24, headW, 37);

    // Shoulders and jacket.
    const QColor suit = QColor::fromHsl(s.hue, 25, 52);
    QPainterPath jacket;
    jacket.moveTo(2, h);
    jacket.cubicTo(3, 76, 14, 70, cx - 9, 68);
    jacket.lineTo(cx + 9, 68);
    jacket.cubicTo(w - 14, 70, w - 3, 76, w - 2, h);
    jacket.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(suit);
    p.drawPath(jacket);

    // Shirt, collar and tie.
    QPainterPath shirt;
    shirt.moveTo(cx - 9, 68);
    shirt.lineTo(cx + 9, 68);
    shirt.lineTo(cx + 1.5, 92);
    shirt.lineTo(cx - 1.5, 92);
    shirt.closeSubpath();
    p.setBrush(QColor(244, 242, 236));
    p.drawPath(shirt);
    QPainterPath tie;
    tie.moveTo(cx - 2.5, 71);
    tie.lineTo(cx + 2.5, 71);
    tie.lineTo(cx + 3.5, 86);
    tie.lineTo(cx, 90);
    tie.lineTo(cx - 3.5, 86);
    tie.closeSubpath();
    p.setBrush(QColor::fromHsl((s.hue + 180) % 360, 120, 70));
    p.drawPath(tie);
    // Lapels.
    p.setPen(QPen(suit.darker(140), 1.0));
    p.drawLine(QPointF(cx - 9, 68), QPointF(cx - 2, 90));
    p.drawLine(QPointF(cx + 9, 68), QPointF(cx + 2, 90));
    p.setPen(Qt::NoPen);

    // Neck and ears, then the head.
    p.setBrush(kSkinShade);
    p.drawRect(QRectF(cx - 6, 54, 12, 15));
    DrawHairBehind(p, s, head);
    p.setBrush(kSkin);
    p.drawEllipse(QRectF(head.left() - 3, head.top() + 15, 6, 10));
    p.drawEllipse(QRectF(head.right() - 3, head.top() + 15, 6, 10));
    p.drawEllipse(head);
    DrawHairFront(p, s, head);
    DrawFace(p, s, head);

    // The years of the title in a band along the bottom.
    p.fillRect(QRect(0, h - kBand, w, kBand), QColor::fromHsl(s.hue, 70, 60));
    QFont years(fontFamily);
    years.setPixelSize(10);
    years.setBold(true);
    p.setFont(years);
    p.setPen(QColor(250, 248, 240));
    p.drawText(QRect(0, h - kBand, w, kBand), Qt::AlignCenter, QString::fromUtf8(s.years));

    // A thin darker rim holds the picture together on the splash panels.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor::fromHsl(s.hue, 60, 90), 1.0));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(QRect(0, 0, w - 1, h - 1));
    p.end();
    return img;
}

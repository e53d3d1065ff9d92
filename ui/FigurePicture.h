#pragma once
// The picture of one figure on the board: a small child of the board area
// showing a piece bitmap whose background is transparent, so the square's
// colour shows through.
//
// It is the Qt side of the core's Picture: its position is the figure's
// whereabouts, and it reports press, move and release of any mouse button
// with the pointer position in its own coordinates. The whole rectangle
// takes the mouse, the transparent parts included.
//
// DeferredRelease() hides the picture at once and deletes it only when
// control is back in the event loop, so a figure can be captured while its
// own mouse-release event is still being handled.
#include "Picture.h"

#include <QPixmap>
#include <QWidget>

class FigurePicture final : public QWidget, public Picture {
    Q_OBJECT

public:
    // `pixmap` is shown as it is (its mask gives the transparency); the
    // picture takes its device independent size.
    FigurePicture(const QPixmap& pixmap, QWidget* boardArea);

    int Left() const override { return x(); }
    int Top() const override { return y(); }
    void SetLeft(int left) override { move(left, y()); }
    void SetTop(int top) override { move(x(), top); }
    int Width() const override { return width(); }
    int Height() const override { return height(); }
    void BringToFront() override { raise(); }
    void DeferredRelease() override;

    bool IsReleased() const { return m_released; }
    const QPixmap& pixmap() const { return m_pixmap; }

signals:
    void MouseDown(FigurePicture* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseMove(FigurePicture* sender, Qt::KeyboardModifiers shift, int x, int y);
    void MouseUp(FigurePicture* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap m_pixmap;
    bool m_released = false;
};

// `image` as a pixmap drawn transparent wherever it has the colour of its
// bottom-left pixel, with device pixel ratio `ratio`.
QPixmap TransparentByBottomLeft(const QImage& image, qreal ratio);

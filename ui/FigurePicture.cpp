#include "FigurePicture.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

FigurePicture::FigurePicture(const QPixmap& pixmap, QWidget* boardArea) : QWidget(boardArea), m_pixmap(pixmap)
{
    resize(m_pixmap.deviceIndependentSize().toSize());
}

void FigurePicture::DeferredRelease()
{
    if (m_released)
        return;
    m_released = true;
    hide();
    // deleteLater waits until control is back in the event loop that was
    // running when it was called, so a mouse handler of this very picture
    // that is still on the stack finishes on a live object.
    deleteLater();
}

void FigurePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_pixmap);
}

void FigurePicture::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    emit MouseDown(this, event->button(), event->modifiers(), p.x(), p.y());
}

void FigurePicture::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    emit MouseMove(this, event->modifiers(), p.x(), p.y());
}

void FigurePicture::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    emit MouseUp(this, event->button(), event->modifiers(), p.x(), p.y());
}

QPixmap TransparentByBottomLeft(const QImage& image, qreal ratio)
{
    if (image.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(image);
    const QColor key = image.pixelColor(0, image.height() - 1);
    pixmap.setMask(pixmap.createMaskFromColor(key, Qt::MaskInColor));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

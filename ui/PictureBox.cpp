#include "PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget* parent, bool autoSize) : QWidget(parent), m_autoSize(autoSize)
{
}

void PictureBox::setPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    if (m_autoSize)
        resize(m_pixmap.deviceIndependentSize().toSize());
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (m_pixmap.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_pixmap);
}

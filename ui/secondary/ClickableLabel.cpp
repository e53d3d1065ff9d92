#include "ClickableLabel.h"

#include <QMouseEvent>

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    // Releasing outside the label takes the click back, as with a button.
    const bool inside = rect().contains(event->position().toPoint());
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && inside)
        emit clicked();
}

#include "ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// The start of a span of length `length` moved into [low, low + room): as
// little as possible, or to `low` when it does not fit at all.
int Fitted(int start, int length, int low, int room)
{
    if (length >= room)
        return low;
    return std::clamp(start, low, low + room - length);
}

} // namespace

ScreenFit::ScreenFit(QObject* parent) : QObject(parent)
{
}

QPoint ScreenFit::FittedTopLeft(const QRect& frame, const QRect& available)
{
    return {Fitted(frame.x(), frame.width(), available.x(), available.width()),
            Fitted(frame.y(), frame.height(), available.y(), available.height())};
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    // The show event comes before the platform window is made visible, so a
    // moved window appears where it ends up.
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    const Qt::WindowType type = window->windowType();
    if (!window->isWindow() || (type != Qt::Window && type != Qt::Dialog))
        return false;

    // The position of a window is that of its frame (QWidget::pos()); the
    // frame's position from frameGeometry() is not right until the window
    // has been shown once.
    const QRect frame(window->pos(), window->frameGeometry().size());
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (screen == nullptr)
        screen = window->screen();
    if (screen == nullptr)
        return false;
    const QPoint fitted = FittedTopLeft(frame, screen->availableGeometry());
    if (fitted != frame.topLeft())
        window->move(fitted);
    return false;
}

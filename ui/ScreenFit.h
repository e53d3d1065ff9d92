#pragma once
// Keeps every window of the program on its screen.
//
// The windows open at fixed designed positions. On a small screen, or at a
// high scale factor (QT_SCALE_FACTOR=2 makes a 1280 x 1024 screen 640 x 512
// for the layout), a designed position can put part of a window outside the
// area the screen leaves to windows. Installed as an event filter on the
// application, ScreenFit moves each window, as it is about to be shown,
// into the available geometry of its screen (the screen under the window's
// centre, or the window's own screen when no screen is there). A window is
// never resized; one that fits keeps its position.
//
// Only windows and dialogs are moved: popup menus and tool tips place
// themselves. The frame counts as part of the window once the platform knows
// it (after a window's first showing on X11).
#include <QObject>
#include <QPoint>
#include <QRect>

class ScreenFit final : public QObject {
    Q_OBJECT

public:
    explicit ScreenFit(QObject* parent = nullptr);

    // Where the frame `frame` goes in `available`: moved by the least distance
    // that puts it inside; along an axis on which it is larger than the area,
    // to the area's left or top edge. Unchanged when it fits.
    static QPoint FittedTopLeft(const QRect& frame, const QRect& available);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

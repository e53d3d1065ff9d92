#pragma once
// The application's style, unchanged but for when the icons of the overflow
// buttons of menu bars and tool bars are read: from their picture files only
// when first drawn or measured, not when a widget asks for them.
//
// A menu bar asks for the icon of its overflow button as it is created, and
// reading that icon's picture makes Qt load every image format plugin it
// has (GIF, ICO, JPEG, ...) to ask each whether it reads the file. The
// program needs none of them, and the overflow button shows only when the
// menu does not fit its bar, so with this style the main window's creation
// loads no plugin. The icon looks the same whenever it is drawn; every
// other icon comes from the base style as it is.
//
// Install before the first widget is created; QApplication takes ownership:
//   QApplication::setStyle(new DeferredIconStyle(QApplication::style()));
#include <QProxyStyle>

class DeferredIconStyle final : public QProxyStyle {
    Q_OBJECT

public:
    // Wraps `base` and takes ownership of it (null: the default style).
    explicit DeferredIconStyle(QStyle* base = nullptr);

    // The base style's icon; an overflow button's icon asked for without a
    // style option is read when first used.
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

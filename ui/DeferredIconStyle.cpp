#include "DeferredIconStyle.h"

#include <QGuiApplication>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

namespace {

// An icon engine that makes its icon on first use and then answers as that
// icon's own engine would. QIcon::pixmap() asks an engine with pixmap() at a
// ratio of 1 and with scaledPixmap() above it, which QIcon::pixmap() of the
// made icon, at the same ratio, passes on unchanged.
class DeferredIconEngine final : public QIconEngine {
public:
    explicit DeferredIconEngine(std::function<QIcon()> make) : m_make(std::move(make)) {}

    // QIcon::paint() has aligned `rect` to the actual size already; the
    // pixmap fills it, as the icon's own engine would draw it.
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPaintDevice* device = painter->device();
        const qreal ratio = device != nullptr ? device->devicePixelRatio() : qApp->devicePixelRatio();
        painter->drawPixmap(rect, Icon().pixmap(rect.size(), ratio, mode, state));
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, 1.0, mode, state).size();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        return Icon().pixmap(size, scale, mode, state);
#else
        // Before 6.8 the size comes in device pixels.
        return Icon().pixmap((QSizeF(size) / scale).toSize(), scale, mode, state);
#endif
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    QString iconName() override { return Icon().name(); }
    bool isNull() override { return Icon().isNull(); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    DeferredIconEngine(const DeferredIconEngine& other) = default;

    const QIcon& Icon()
    {
        if (!m_icon)
            m_icon = m_make();
        return *m_icon;
    }

    std::function<QIcon()> m_make;
    std::optional<QIcon> m_icon;
};

} // namespace

DeferredIconStyle::DeferredIconStyle(QStyle* base) : QProxyStyle(base)
{
}

QIcon DeferredIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                      const QWidget* widget) const
{
    const bool overflow =
        standardIcon == SP_ToolBarHorizontalExtensionButton || standardIcon == SP_ToolBarVerticalExtensionButton;
    if (!overflow || option != nullptr)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    // The base style belongs to this one; the widget may go before the icon
    // is read, and is then left out.
    QPointer<QStyle> base = baseStyle();
    QPointer<const QWidget> asker = widget;
    return QIcon(new DeferredIconEngine([base, asker, standardIcon] {
        return base ? base->standardIcon(standardIcon, nullptr, asker.data()) : QIcon();
    }));
}

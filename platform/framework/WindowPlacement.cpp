#include "platform/framework/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace WindowPlacement {

QRect ScreenAreaAt(const QPoint& point)
{
    QScreen* nearest = QGuiApplication::screenAt(point);
    if (!nearest) {
        // The screen whose area lies closest to the point.
        auto distance = [&](const QScreen* screen) {
            const QRect g = screen->geometry();
            const int dx = std::max({g.left() - point.x(), 0, point.x() - g.right()});
            const int dy = std::max({g.top() - point.y(), 0, point.y() - g.bottom()});
            return int64_t(dx) * dx + int64_t(dy) * dy;
        };
        for (QScreen* screen : QGuiApplication::screens())
            if (!nearest || distance(screen) < distance(nearest))
                nearest = screen;
    }
    return nearest ? nearest->availableGeometry() : QRect();
}

std::optional<QPoint> Apart(const QSize& size, const QRect& area, const std::vector<QRect>& taken, int gap)
{
    if (size.width() > area.width() || size.height() > area.height())
        return std::nullopt;
    const auto blocking = [&](const QRect& place) -> const QRect* {
        for (const QRect& other : taken)
            if (place.intersects(other.adjusted(-gap, -gap, gap, gap)))
                return &other;
        return nullptr;
    };
    for (int x = area.right() + 1 - size.width(); x >= area.left();) {
        int nextX = x - 1;
        for (int y = area.top(); y + size.height() <= area.bottom() + 1;) {
            const QRect place(QPoint(x, y), size);
            const QRect* other = blocking(place);
            if (!other)
                return place.topLeft();
            y = other->bottom() + 1 + gap;
            nextX = std::min(nextX, other->left() - gap - size.width());
        }
        x = nextX;
    }
    return std::nullopt;
}

QPoint Popup(const QSize& size, const QPoint& point, UINT flags, const QRect& area)
{
    int x = point.x();
    if (flags & TPM_CENTERALIGN)
        x -= size.width() / 2;
    else if (flags & TPM_RIGHTALIGN)
        x -= size.width();
    int y = point.y();
    if (y + size.height() > area.bottom() + 1 && point.y() - size.height() >= area.top())
        y = point.y() - size.height();
    return Inside(size, QPoint(x, y), area);
}

QPoint Inside(const QSize& size, const QPoint& topLeft, const QRect& area)
{
    return {std::max(std::min(topLeft.x(), area.right() + 1 - size.width()), area.left()),
            std::max(std::min(topLeft.y(), area.bottom() + 1 - size.height()), area.top())};
}

QSize FrameSizeOf(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    if (window.isVisible() && frame != inner)
        return frame.size();
    const QStyle* style = window.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return inner.size() + QSize(2 * border, title + 2 * border);
}

} // namespace WindowPlacement

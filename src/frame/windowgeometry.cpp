#include "windowgeometry.h"

#include <QWidget>

#include <algorithm>
#include <initializer_list>

bool isUsableStoredGeometry(const QRect &stored)
{
    // QRect keeps its edges; width() and height() would overflow on the values a broken or
    // hand-edited settings file can hold, so they are measured in 64 bits.
    constexpr qint64 limit = QWIDGETSIZE_MAX;
    for (const qint64 edge : {qint64(stored.left()),
                              qint64(stored.top()),
                              qint64(stored.right()),
                              qint64(stored.bottom())}) {
        if (edge < -limit || edge > limit)
            return false;
    }
    return qint64(stored.right()) >= stored.left() && qint64(stored.bottom()) >= stored.top();
}

QRect defaultWindowGeometry(const QRect &available)
{
    constexpr double aspect = 1.7777777777777777;
    double width = available.width() * 0.8;
    double height = width / aspect;
    if (height > available.height()) {
        height = available.height() * 0.8;
        width = height * aspect;
    }
    const double x = (available.width() - width) * 0.5;
    const double y = (available.height() - height) * 0.5;
    return QRect(available.x() + int(x), available.y() + int(y), int(width), int(height));
}

QRect fitIntoArea(const QRect &geometry, const QRect &available)
{
    QRect fitted = geometry;
    if (!available.contains(fitted.topLeft(), false))
        fitted.moveTopLeft(available.topLeft());
    fitted.setWidth(std::min(fitted.width(), available.width()));
    fitted.setHeight(std::min(fitted.height(), available.height()));
    if (fitted.right() > available.right())
        fitted.moveRight(available.right());
    if (fitted.bottom() > available.bottom())
        fitted.moveBottom(available.bottom());
    return fitted;
}

QRect maximizedGeometry(const QRect &screen, const QRect &available)
{
    QRect area = available;
    if (area.width() <= screen.width() && area.height() <= screen.height())
        return area;

    float ratio = 0;
    if (screen.width() > 0 && area.width() % screen.width() == 0)
        ratio = float(area.width()) / float(screen.width());
    else if (screen.height() > 0 && area.height() % screen.height() == 0)
        ratio = float(area.height()) / float(screen.height());

    if (ratio == 0 || ratio == 1.0f) {
        area.setSize(screen.size());
    } else {
        area.setWidth(int(area.width() / ratio));
        area.setHeight(int(area.height() / ratio));
    }
    return area;
}

#include "resizehandle.h"

#include "base/appfont.h"
#include "base/widgethelpers.h"
#include "framebehaviour.h"

#include <QGuiApplication>
#include <QMouseEvent>

#include <optional>

namespace {

using Edge = ResizeHandle::Edge;

std::optional<Qt::CursorShape> cursorOf(Edge edge)
{
    switch (edge) {
    case Edge::Top:
    case Edge::Bottom:
        return Qt::SizeVerCursor;
    case Edge::Right:
    case Edge::Left:
    case Edge::RightUpper:
    case Edge::LeftUpper:
        return Qt::SizeHorCursor;
    case Edge::TopRight:
    case Edge::BottomLeft:
        return Qt::SizeBDiagCursor;
    case Edge::TopLeft:
    case Edge::BottomRight:
        return Qt::SizeFDiagCursor;
    }
    return std::nullopt;
}

QSizePolicy policyOf(Edge edge)
{
    switch (edge) {
    case Edge::Top:
    case Edge::Bottom:
    case Edge::RightUpper:
    case Edge::LeftUpper:
        return QSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    case Edge::Right:
    case Edge::Left:
        return QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Minimum);
    default:
        return QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
}

Qt::Edges qtEdgesOf(Edge edge)
{
    switch (edge) {
    case Edge::Top:
        return Qt::TopEdge;
    case Edge::Bottom:
        return Qt::BottomEdge;
    case Edge::Right:
    case Edge::RightUpper:
        return Qt::RightEdge;
    case Edge::Left:
    case Edge::LeftUpper:
        return Qt::LeftEdge;
    case Edge::TopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case Edge::TopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case Edge::BottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    case Edge::BottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    }
    return {};
}

bool alwaysBlack(Edge edge)
{
    return edge == Edge::TopRight || edge == Edge::TopLeft || edge == Edge::RightUpper
           || edge == Edge::LeftUpper;
}

} // namespace

ResizeHandle::ResizeHandle(
    QWidget *parent, QWidget *target, Edge edge, const QColor &color, int thickness)
    : QWidget(parent)
    , handleEdge(edge)
    , target(target)
{
    const int t = scaledSize(thickness);
    setMinimumSize(t, t);
    setSizePolicy(policyOf(edge));

    QPalette filled = palette();
    filled.setBrush(QPalette::All,
                    QPalette::Window,
                    QBrush(alwaysBlack(edge) ? QColor(0, 0, 0, 255) : color));
    setPalette(filled);
    setAutoFillBackground(true);
}

ResizeHandle::ResizeHandle(QWidget *parent, QWidget *target, Edge edge)
    : ResizeHandle(parent, target, edge, QColor(0, 0, 0, 255), 5)
{}

void ResizeHandle::setEdgeHeight(int height)
{
    setMinimumHeight(height);
}

void ResizeHandle::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (const std::optional<Qt::CursorShape> shape = cursorOf(handleEdge))
        QGuiApplication::setOverrideCursor(QCursor(*shape));
    else
        QGuiApplication::restoreOverrideCursor();
}

void ResizeHandle::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    restoreAllOverrideCursors();
}

void ResizeHandle::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || target == nullptr)
        return;
    event->accept();
    pressPosition = event->globalPosition().toPoint();
    startPosition = target->pos();
    startSize = target->size();
    FrameBehaviour *behaviour = FrameBehaviour::of(target);
    systemResize = behaviour != nullptr && behaviour->startSystemResize(qtEdgesOf(handleEdge));
}

void ResizeHandle::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    if (event->buttons() != Qt::LeftButton || target == nullptr || systemResize)
        return;
    event->accept();

    const QPoint current = event->globalPosition().toPoint();
    // Positive when the mouse went left or up.
    const int dx = pressPosition.x() - current.x();
    const int dy = pressPosition.y() - current.y();
    const int sx = startPosition.x();
    const int sy = startPosition.y();
    const int w = startSize.width();
    const int h = startSize.height();
    const QSize min = target->minimumSize();

    QPoint position = startPosition;
    QSize size = startSize;
    bool moves = false;
    bool proceed = true;
    switch (handleEdge) {
    case Edge::Top:
        position = QPoint(sx, sy - dy);
        size = QSize(w, h + dy);
        moves = true;
        proceed = size.height() > min.height();
        break;
    case Edge::Bottom:
        size = QSize(w, h - dy);
        break;
    case Edge::Right:
    case Edge::RightUpper:
        size = QSize(w - dx, h);
        break;
    case Edge::Left:
    case Edge::LeftUpper:
        position = QPoint(sx - dx, sy);
        size = QSize(w + dx, h);
        moves = true;
        proceed = size.width() > min.width();
        break;
    case Edge::TopRight:
        position = QPoint(sx, sy - dy);
        size = QSize(w - dx, h + dy);
        if (size.height() <= min.height())
            position.setY(sy + h - min.height());
        moves = true;
        proceed = size.height() > min.height() || size.width() > min.width();
        break;
    case Edge::TopLeft:
        position = QPoint(sx - dx, sy - dy);
        size = QSize(w + dx, h + dy);
        if (size.width() <= min.width())
            position.setX(sx + w - min.width());
        if (size.height() <= min.height())
            position.setY(sy + h - min.height());
        moves = true;
        proceed = size.width() > min.width() || size.height() > min.height();
        break;
    case Edge::BottomRight:
        size = QSize(w - dx, h - dy);
        break;
    case Edge::BottomLeft:
        position = QPoint(sx - dx, sy);
        size = QSize(w + dx, h - dy);
        if (size.width() <= min.width())
            position.setX(sx + w - min.width());
        moves = true;
        proceed = size.height() > min.height() || size.width() > min.width();
        break;
    }
    // A moving edge pauses at the minimum rather than pushing the opposite edge away.
    if (!proceed)
        return;

    size = size.expandedTo(min);
    target->resize(size);
    if (moves)
        target->move(position);
    emit resized();
}

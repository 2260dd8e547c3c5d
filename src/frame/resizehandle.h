#pragma once

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QWidget>

// A strip or corner square around the frameless window's content: it shows the matching
// resize cursor while the mouse is over it, and a drag with the left button alone resizes (and
// where needed moves) its target window, never below the target's minimum size.
class ResizeHandle final : public QWidget
{
    Q_OBJECT

public:
    // Value 1 is not used. RightUpper and LeftUpper resize like Right and Left; they are the
    // parts of the side borders beside the title bar.
    enum class Edge {
        Top = 0,
        Bottom = 2,
        Right = 3,
        Left = 4,
        TopRight = 5,
        TopLeft = 6,
        BottomRight = 7,
        BottomLeft = 8,
        RightUpper = 9,
        LeftUpper = 10,
    };

    // A handle of the colour and thickness (a design value for scaledSize). The corners at the
    // top and the parts beside the title bar are black whatever the colour.
    ResizeHandle(QWidget *parent, QWidget *target, Edge edge, const QColor &color, int thickness);
    // A black handle of thickness 5.
    ResizeHandle(QWidget *parent, QWidget *target, Edge edge);

    Edge edge() const { return handleEdge; }
    // Minimum height in pixels: the parts beside the title bar are as tall as the title bar.
    void setEdgeHeight(int height);

signals:
    void resized();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Edge handleEdge;
    QPoint pressPosition;
    QPoint startPosition;
    QSize startSize;
    QWidget *target = nullptr;
    // The window manager took the drag: the following moves are its own.
    bool systemResize = false;
};

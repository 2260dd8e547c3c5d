#pragma once

#include <QObject>

QT_BEGIN_NAMESPACE
class QPoint;
class QWidget;
QT_END_NAMESPACE

// What a native frame would give the frameless main window, and how the window system gives
// it: dragging and double-clicking the caption, the system menu, coming to the front, edge
// drags. MainWindowBase picks one for its platform; its handles and its icon ask it.
class FrameBehaviour : public QObject
{
    Q_OBJECT

public:
    // The behaviour of the window, or null for a window that has none.
    static FrameBehaviour *of(const QWidget *window);

    // The window's native event: true when handled, with the answer in result.
    virtual bool nativeEvent(void *message, qintptr *result) = 0;
    // Brings the window to the front without leaving it on top.
    virtual void bringToFront() = 0;
    virtual void openSystemMenu(const QPoint &globalPos) = 0;
    // Hands an edge drag to the window system; false when the handle must resize by itself.
    virtual bool startSystemResize(Qt::Edges edges) = 0;

protected:
    // A child of the window, which is how of() finds it.
    explicit FrameBehaviour(QWidget *window);
};

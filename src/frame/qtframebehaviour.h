#pragma once

#include "framebehaviour.h"

#include <QPoint>

QT_BEGIN_NAMESPACE
class QAction;
class QMenu;
class QMouseEvent;
QT_END_NAMESPACE

class MainWindowBase;

// The frame through Qt, for window systems without window messages. A left drag on the caption
// moves the window (through the window manager where it takes the move, else by the mouse's
// travel), a double click toggles maximised, a right click opens the system menu: Restore,
// Minimize, Maximize and Close, each enabled only where it applies.
class QtFrameBehaviour final : public FrameBehaviour
{
    Q_OBJECT

public:
    // Watches the window's mouse events.
    explicit QtFrameBehaviour(MainWindowBase *window);

    bool nativeEvent(void *message, qintptr *result) override;
    void bringToFront() override;
    void openSystemMenu(const QPoint &globalPos) override;
    bool startSystemResize(Qt::Edges edges) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isCaption(const QPoint &globalPos) const;
    bool pressed(QMouseEvent *event);
    bool moved(QMouseEvent *event);

    MainWindowBase *window = nullptr;
    QMenu *menu = nullptr;
    QAction *restoreAction = nullptr;
    QAction *minimizeAction = nullptr;
    QAction *maximizeAction = nullptr;
    QAction *closeAction = nullptr;

    enum class Drag { None, Pressed, ByTravel, BySystem };
    Drag drag = Drag::None;
    QPoint pressPosition;
    QPoint windowStart;
};

#pragma once

#include <QObject>
#include <QPoint>

QT_BEGIN_NAMESPACE
class QAction;
class QMenu;
class QMouseEvent;
QT_END_NAMESPACE

class MainWindowBase;

// On Windows the frameless window's caption, system menu and front-raising come from window
// messages (MainWindowBase::nativeEvent). Elsewhere there are none, and CaptionBehaviour gives
// the same through Qt.
#ifdef Q_OS_WIN
constexpr bool windowMessagesDriveFrame = true;
#else
constexpr bool windowMessagesDriveFrame = false;
#endif

// The caption of the frameless main window where there are no window messages. A left drag
// on the caption moves the window (through the window manager where it takes the move, else
// by the mouse's travel), a double click toggles maximised, a right click opens the system
// menu: Restore, Minimize, Maximize and Close, each enabled only where it applies.
class CaptionBehaviour final : public QObject
{
    Q_OBJECT

public:
    // Watches the window's mouse events; a child of the window.
    explicit CaptionBehaviour(MainWindowBase *window);

    // Opens the system menu at the global point.
    void openSystemMenu(const QPoint &globalPos);

    // Opens the system menu of the window, when it is a main window with one.
    static void openSystemMenuOf(QWidget *window, const QPoint &globalPos);

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

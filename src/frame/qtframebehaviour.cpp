#include "qtframebehaviour.h"

#include "centralwidgetbase.h"
#include "mainwindowbase.h"
#include "style/stylesheets.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QWindow>

QtFrameBehaviour::QtFrameBehaviour(MainWindowBase *window)
    : FrameBehaviour(window)
    , window(window)
{
    menu = new QMenu(window);
    menu->setObjectName(QStringLiteral("systemMenu"));
    setMenuStyleSheetOnShow(menu, true);
    // The title bar's button texts: the same commands, in the same words.
    restoreAction = menu->addAction(QObject::tr("ID_RESSTR_TITLEBAR_TOOLTIPRESTOREDOWN"));
    minimizeAction = menu->addAction(QObject::tr("ID_RESSTR_TITLEBAR_TOOLTIPMINIMIZE"));
    maximizeAction = menu->addAction(QObject::tr("ID_RESSTR_TITLEBAR_TOOLTIPMAXIMIZE"));
    menu->addSeparator();
    closeAction = menu->addAction(QObject::tr("ID_RESSTR_TITLEBAR_TOOLTIPCLOSE"));
    connect(restoreAction, &QAction::triggered, window, &MainWindowBase::restoreWindow);
    connect(minimizeAction, &QAction::triggered, window, &QWidget::showMinimized);
    connect(maximizeAction, &QAction::triggered, window, &MainWindowBase::maximizeWindow);
    connect(closeAction, &QAction::triggered, window, &QWidget::close);
    // A resize cursor left by a handle must not outlive the menu, as after a system command.
    connect(menu, &QMenu::aboutToHide, this, [] {
        QGuiApplication::changeOverrideCursor(QCursor(Qt::ArrowCursor));
    });

    window->installEventFilter(this);
}

bool QtFrameBehaviour::nativeEvent(void *, qintptr *)
{
    return false;
}

void QtFrameBehaviour::bringToFront()
{
    // Front without staying on top: a stay-on-top flag would outlive the start.
    window->raise();
    window->activateWindow();
}

void QtFrameBehaviour::openSystemMenu(const QPoint &globalPos)
{
    const bool maximized = window->isMaximizedState();
    restoreAction->setEnabled(maximized);
    maximizeAction->setEnabled(!maximized);
    menu->popup(globalPos);
}

bool QtFrameBehaviour::startSystemResize(Qt::Edges edges)
{
    // Where the window manager resizes, it keeps the window's constraints and its own feel.
    QWindow *handle = window->windowHandle();
    return handle != nullptr && handle->startSystemResize(edges);
}

bool QtFrameBehaviour::isCaption(const QPoint &globalPos) const
{
    CentralWidgetBase *central = window->centralWidgetBase();
    return central != nullptr && central->isCaptionAt(globalPos.x(), globalPos.y());
}

bool QtFrameBehaviour::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window)
        return false;
    // Presses on the title bar's plain parts are ignored by them and so reach the window.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return pressed(static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        return moved(static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonRelease:
        drag = Drag::None;
        return false;
    case QEvent::MouseButtonDblClick: {
        auto mouse = static_cast<QMouseEvent *>(event);
        drag = Drag::None;
        if (mouse->button() != Qt::LeftButton || !isCaption(mouse->globalPosition().toPoint()))
            return false;
        static_cast<IGlobalObserver *>(window)->requestToMaximize();
        return true;
    }
    default:
        return false;
    }
}

bool QtFrameBehaviour::pressed(QMouseEvent *event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (!isCaption(global))
        return false;
    if (event->button() == Qt::RightButton) {
        openSystemMenu(global);
        return true;
    }
    if (event->button() != Qt::LeftButton)
        return false;
    drag = Drag::Pressed;
    pressPosition = global;
    windowStart = window->pos();
    return true;
}

bool QtFrameBehaviour::moved(QMouseEvent *event)
{
    if (drag == Drag::None || drag == Drag::BySystem || event->buttons() != Qt::LeftButton)
        return false;
    const QPoint global = event->globalPosition().toPoint();
    if (drag == Drag::Pressed) {
        // Handing the pointer to the window manager on the press itself would swallow the
        // release, and with it the double click: only a real drag starts the move.
        if ((global - pressPosition).manhattanLength() < QApplication::startDragDistance())
            return true;
        QWindow *handle = window->windowHandle();
        drag = handle != nullptr && handle->startSystemMove() ? Drag::BySystem : Drag::ByTravel;
        if (drag == Drag::BySystem)
            return true;
    }
    // A maximised window stays put; a double click restores it.
    if (!window->isMaximizedState())
        window->move(windowStart + global - pressPosition);
    return true;
}

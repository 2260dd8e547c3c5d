#include "mainwindowbase.h"

#include "base/qvkioskapplication.h"
#include "base/settings.h"
#include "centralwidgetbase.h"
#include "messageframebehaviour.h"
#include "qtframebehaviour.h"
#include "windowgeometry.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMoveEvent>
#include <QScopedValueRollback>
#include <QScreen>

namespace {

const QString geometryKey = QStringLiteral("GeometryMainWindow");
const QString maximizedKey = QStringLiteral("StateMainWindowMaximized");

} // namespace

MainWindowBase::MainWindowBase(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
#ifdef Q_OS_WIN
    behaviour = new MessageFrameBehaviour(this);
#else
    behaviour = new QtFrameBehaviour(this);
#endif
    setAcceptDrops(true);
    // The window has no status bar: asking QMainWindow for one (even to hide it) builds it,
    // with its size grip, at a cost to every start.
}

MainWindowBase::~MainWindowBase() = default;

void MainWindowBase::installCentralWidget(CentralWidgetBase *widget)
{
    setCentralWidget(widget);
    central = widget;
}

void MainWindowBase::restoreWindowState()
{
    const QRect stored = settingsValue(geometryKey, QRect()).toRect();
    if (isUsableStoredGeometry(stored)) {
        // A geometry whose screen has gone (unplugged, resolution changed) would put the window
        // where nobody sees it: it goes to the primary screen, whole.
        const QScreen *screen = QGuiApplication::screenAt(stored.topLeft());
        if (screen == nullptr)
            screen = QGuiApplication::primaryScreen();
        normalGeometryRect = screen != nullptr ? fitIntoArea(stored, screen->availableGeometry())
                                               : stored;
        setGeometry(normalGeometryRect);
    } else {
        const QScreen *primary = QGuiApplication::primaryScreen();
        const QRect initial = defaultWindowGeometry(
            primary != nullptr ? primary->availableGeometry() : QRect());
        move(initial.topLeft());
        resize(initial.size());
        normalGeometryRect = geometry();
    }
    restoredPosition = normalGeometryRect.topLeft();

    if (settingsValue(maximizedKey, false).toBool())
        maximizeWindow();
}

void MainWindowBase::saveWindowState()
{
    setSettingsValue(maximizedKey, maximized);
    // Leaving the maximised state is only for the eye; a window not yet shown (the start-up
    // saves early) keeps it, so that it still opens maximised and a later save writes it again.
    if (maximized && isVisible())
        restoreWindow();
    QRect saved = normalGeometryRect;
    // A Wayland client is never told where its window is (Qt says 0,0): the place it was
    // opened at is kept rather than one nobody knows.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        saved.moveTopLeft(restoredPosition);
    setSettingsValue(geometryKey, saved);
}

void MainWindowBase::maximizeWindow()
{
    const QScreen *screen = QGuiApplication::screenAt(normalGeometryRect.topLeft());
    if (screen == nullptr)
        screen = this->screen();
    const QRect area = screen != nullptr
                           ? maximizedGeometry(screen->geometry(), screen->availableGeometry())
                           : QRect();

    const QScopedValueRollback<bool> guard(changingState, true);
    setGeometry(area);
    applyMaximizedLook(true);
    // Showing is the start-up's decision (a file or relay start never shows the window).
    if (isVisible())
        showMaximized();
    else
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

void MainWindowBase::restoreWindow()
{
    const QScopedValueRollback<bool> guard(changingState, true);
    if (isVisible())
        showNormal();
    else
        setWindowState(windowState()
                       & ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    applyMaximizedLook(false);
    setGeometry(normalGeometryRect);
}

void MainWindowBase::applyMaximizedLook(bool maximizedLook)
{
    maximized = maximizedLook;
    if (central == nullptr)
        return;
    central->setMaximizedLook(maximizedLook);
    if (maximizedLook)
        central->hideResizeHandles();
    else
        central->showResizeHandles();
}

bool MainWindowBase::followsNormalGeometry() const
{
    return !changingState && !maximized
           && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

void MainWindowBase::firstTimeEvent()
{
    QApplication::setActiveWindow(this);
    behaviour->bringToFront();
    firstTimeDone = true;
}

void MainWindowBase::changedGeometry()
{
    normalGeometryRect = geometry();
}

void MainWindowBase::changedFilePath() {}

void MainWindowBase::requestToMinimize()
{
    showMinimized();
}

void MainWindowBase::requestToMaximize()
{
    if (maximized)
        restoreWindow();
    else
        maximizeWindow();
}

void MainWindowBase::requestToClose()
{
    close();
}

void MainWindowBase::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (changingState)
        return;

    const QScreen *screen = QGuiApplication::screenAt(normalGeometryRect.topLeft());
    const QRect screenArea = screen != nullptr ? screen->geometry() : QRect();
    const QPoint old = event->oldPos();
    if (old.x() >= 0 && old.y() >= 0 && !screenArea.contains(old)) {
        if (maximized) {
            // Moved to another screen while maximised: maximise there.
            normalGeometryRect.moveTopLeft(event->pos());
            maximizeWindow();
        } else {
            normalGeometryRect = geometry();
        }
        return;
    }
    // A move that comes with a new size is the window manager (un)maximising, not the user.
    if (followsNormalGeometry() && geometry().size() == normalGeometryRect.size())
        followGeometry();
}

void MainWindowBase::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // Resizes by the window manager (a system resize from a handle) come only here.
    if (followsNormalGeometry())
        followGeometry();
}

void MainWindowBase::followGeometry()
{
    // Kept from before the last change of size, for a maximise reported after its resize.
    if (geometry().size() != normalGeometryRect.size())
        previousNormalGeometry = normalGeometryRect;
    normalGeometryRect = geometry();
}

void MainWindowBase::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (QVKioskApplication *application = QVKioskApplication::instance())
        application->mainWindowShown = true;
}

void MainWindowBase::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || changingState)
        return;
    // Follow what the window manager did (keyboard shortcuts, its own menu), so that the flag,
    // the button's look and the handles match the window. Minimising keeps the flag.
    const Qt::WindowStates states = windowState();
    if (states & Qt::WindowMinimized)
        return;
    const bool nowMaximized = states.testFlag(Qt::WindowMaximized);
    if (nowMaximized == maximized)
        return;
    // The window manager may resize (and move) the window before it reports the new state;
    // that geometry was taken for a normal one.
    if (nowMaximized && normalGeometryRect == geometry())
        normalGeometryRect = previousNormalGeometry;
    applyMaximizedLook(nowMaximized);
}

bool MainWindowBase::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    return behaviour->nativeEvent(message, result)
           || QMainWindow::nativeEvent(eventType, message, result);
}

void MainWindowBase::dragEnterEvent(QDragEnterEvent *event)
{
    QApplication::setActiveWindow(this);
    event->ignore();
}

void MainWindowBase::dropEvent(QDropEvent *) {}

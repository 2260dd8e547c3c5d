#include "messageframebehaviour.h"

#include "centralwidgetbase.h"
#include "mainwindowbase.h"
#include "platform/nativewindow.h"
#include "platform/windowmessages.h"

#include <QApplication>
#include <QCursor>

MessageFrameBehaviour::MessageFrameBehaviour(MainWindowBase *window)
    : FrameBehaviour(window)
    , window(window)
{}

bool MessageFrameBehaviour::nativeEvent(void *message, qintptr *result)
{
    platform::WindowMessage windowMessage;
    return platform::readWindowMessage(message, windowMessage)
           && handleWindowMessage(windowMessage, result);
}

void MessageFrameBehaviour::bringToFront()
{
    if (QWidget *active = QApplication::activeWindow())
        platform::bringWindowToFront(active->winId());
}

void MessageFrameBehaviour::openSystemMenu(const QPoint &globalPos)
{
    if (QWidget *active = QApplication::activeWindow())
        platform::openSystemMenu(active->winId(), globalPos.x(), globalPos.y());
}

bool MessageFrameBehaviour::startSystemResize(Qt::Edges)
{
    return false;
}

bool MessageFrameBehaviour::handleWindowMessage(const platform::WindowMessage &message,
                                                qintptr *result)
{
    const platform::WindowMessageResponse response = platform::translateWindowMessage(message);
    switch (response.action) {
    case platform::WindowMessageAction::HitTest:
        if (result != nullptr) {
            CentralWidgetBase *central = window->centralWidgetBase();
            *result = platform::hitTestResult(central != nullptr
                                              && central->isCaptionAt(response.x, response.y));
        }
        break;
    case platform::WindowMessageAction::ToggleMaximized:
        static_cast<IGlobalObserver *>(window)->requestToMaximize();
        break;
    case platform::WindowMessageAction::SystemMenu:
        QApplication::setActiveWindow(window);
        openSystemMenu(QPoint(response.x, response.y));
        break;
    case platform::WindowMessageAction::Restore:
        window->restoreWindow();
        break;
    case platform::WindowMessageAction::Maximize:
        window->maximizeWindow();
        break;
    case platform::WindowMessageAction::Minimize:
        window->showMinimized();
        break;
    case platform::WindowMessageAction::None:
        break;
    }
    // A resize cursor left by a handle must not survive a system command.
    if (response.restoreArrowCursor)
        QGuiApplication::changeOverrideCursor(QCursor(Qt::ArrowCursor));
    return response.handled;
}

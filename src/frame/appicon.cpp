#include "appicon.h"

#include "base/controllerfacade.h"
#include "framebehaviour.h"

#include <QApplication>
#include <QMouseEvent>

AppIcon::AppIcon()
    : QSvgWidget(nullptr)
{
    menuTimer.setSingleShot(true);
    connect(&menuTimer, &QTimer::timeout, this, &AppIcon::sysMenu);
}

void AppIcon::mousePressEvent(QMouseEvent *event)
{
    QSvgWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    pressPosition = event->globalPosition().toPoint();
    menuTimer.start(QApplication::doubleClickInterval());
}

void AppIcon::mouseDoubleClickEvent(QMouseEvent *event)
{
    QSvgWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // The first click of the pair scheduled the menu; closing must not open it as well.
    menuTimer.stop();
    ControllerFacade::instance().requestToClose();
}

void AppIcon::sysMenu()
{
    if (FrameBehaviour *behaviour = FrameBehaviour::of(window()))
        behaviour->openSystemMenu(pressPosition);
}

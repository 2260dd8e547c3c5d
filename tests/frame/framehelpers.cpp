#include "framehelpers.h"

#include "documents/controllerfacade.h"
#include "frame/titlebar.h"

#include <QAction>
#include <QToolBar>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

void sendMouse(QWidget *widget,
               QEvent::Type type,
               const QPoint &global,
               Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type,
                      QPointF(widget->mapFromGlobal(global)),
                      QPointF(global),
                      button,
                      buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QPoint centreOf(const QWidget *widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

QAction *titleAction(const TitleBar *bar, const QString &name)
{
    const auto buttons = bar->findChild<QToolBar *>(QStringLiteral("titleButtons"));
    for (QAction *action : buttons->actions()) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

QWidget *titleButton(const TitleBar *bar, const QString &name)
{
    const auto buttons = bar->findChild<QToolBar *>(QStringLiteral("titleButtons"));
    return buttons->widgetForAction(titleAction(bar, name));
}

CountingObserver::CountingObserver()
{
    ControllerFacade::instance().addObserver(this);
}

CountingObserver::~CountingObserver()
{
    ControllerFacade::instance().removeObserver(this);
}

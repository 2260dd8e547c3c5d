#include "framebehaviour.h"

#include <QWidget>

FrameBehaviour::FrameBehaviour(QWidget *window)
    : QObject(window)
{}

FrameBehaviour *FrameBehaviour::of(const QWidget *window)
{
    return window != nullptr
               ? window->findChild<FrameBehaviour *>(QString(), Qt::FindDirectChildrenOnly)
               : nullptr;
}

#include "controllerfacade.h"

#include "iglobalobserver.h"
#include "qvkioskcontroller.h"

#include <algorithm>
#include <vector>

ControllerFacade &ControllerFacade::instance()
{
    static ControllerFacade facade;
    return facade;
}

ControllerFacade::ControllerFacade()
    : controller(new QVKioskController)
{}

ControllerFacade::~ControllerFacade()
{
    delete controller;
    // Observers that die after the facade (other statics) may still unregister: they find no
    // controller and nothing happens.
    controller = nullptr;
}

std::u16string ControllerFacade::filePath() const
{
    return controller != nullptr ? controller->filePath : std::u16string();
}

void ControllerFacade::setFilePath(const std::u16string &path)
{
    if (controller == nullptr)
        return;
    controller->filePath = path;
    broadcast(&IGlobalObserver::changedFilePath);
}

void ControllerFacade::addObserver(IGlobalObserver *observer)
{
    if (controller == nullptr || observer == nullptr)
        return;
    std::vector<IGlobalObserver *> &observers = controller->observers;
    if (std::find(observers.begin(), observers.end(), observer) == observers.end())
        observers.push_back(observer);
}

void ControllerFacade::removeObserver(IGlobalObserver *observer)
{
    if (controller == nullptr)
        return;
    std::vector<IGlobalObserver *> &observers = controller->observers;
    observers.erase(std::remove(observers.begin(), observers.end(), observer), observers.end());
}

void ControllerFacade::requestToMinimize()
{
    broadcast(&IGlobalObserver::requestToMinimize);
}

void ControllerFacade::requestToMaximize()
{
    broadcast(&IGlobalObserver::requestToMaximize);
}

void ControllerFacade::requestToClose()
{
    broadcast(&IGlobalObserver::requestToClose);
}

void ControllerFacade::broadcast(void (IGlobalObserver::*operation)())
{
    if (controller == nullptr)
        return;
    // Observers may register and unregister (a dialog being destroyed) while they are called:
    // walk a copy, and skip any that has left the live list meanwhile.
    const std::vector<IGlobalObserver *> snapshot = controller->observers;
    for (IGlobalObserver *observer : snapshot) {
        if (controller == nullptr)
            return;
        const std::vector<IGlobalObserver *> &live = controller->observers;
        if (std::find(live.begin(), live.end(), observer) != live.end())
            (observer->*operation)();
    }
}

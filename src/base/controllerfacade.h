#pragma once

#include <string>

class IGlobalObserver;
class QVKioskController;

// The process-wide holder of the current controller file path and of the observers that receive
// the application-wide requests. GUI thread only.
class ControllerFacade
{
public:
    // Created on first use, destroyed at process exit.
    static ControllerFacade &instance();

    virtual ~ControllerFacade();
    ControllerFacade(const ControllerFacade &) = delete;
    ControllerFacade &operator=(const ControllerFacade &) = delete;

    std::u16string filePath() const;
    // Stores the path, then broadcasts changedFilePath.
    void setFilePath(const std::u16string &path);

    // Appends the observer unless it is registered already.
    void addObserver(IGlobalObserver *observer);
    // The others keep their order. An observer removed during a broadcast is not called by it.
    void removeObserver(IGlobalObserver *observer);

    // Broadcasts: each observer registered when the broadcast starts, and still registered when
    // its turn comes, is called once, in registration order.
    void requestToMinimize();
    void requestToMaximize();
    void requestToClose();

private:
    ControllerFacade();
    void broadcast(void (IGlobalObserver::*operation)());

    QVKioskController *controller = nullptr;
};

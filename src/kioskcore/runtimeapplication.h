#pragma once

#include <QObject>
#include <QTimer>

#include <memory>

class ControllerWindow;
class RuntimeServer;

// Drives the protocol from the event loop and shows each accepted request. Quits when the
// controller is left, or when the front-end has ended while no controller is shown; exits
// with status 4 when its request block was cut.
class RuntimeApplication final : public QObject
{
    Q_OBJECT

public:
    RuntimeApplication(RuntimeServer &server, bool noWindow);
    ~RuntimeApplication() override;

private:
    void tick();

    RuntimeServer &server;
    bool noWindow = false;
    std::unique_ptr<ControllerWindow> window;
    QTimer pollTimer;
    int ticks = 0;
};

#include "runtimeapplication.h"

#include "controllerwindow.h"
#include "runtimeserver.h"

#include <QCoreApplication>

namespace {

constexpr int pollIntervalMs = 20;
constexpr int blockCutStatus = 4; // after 2 for usage and 3 for a block that cannot be opened
// Looking for the front-end reads /proc; every 25th tick (half a second) is often enough.
constexpr int frontEndCheckTicks = 25;

} // namespace

RuntimeApplication::RuntimeApplication(RuntimeServer &server, bool noWindow)
    : server(server)
    , noWindow(noWindow)
{
    connect(&pollTimer, &QTimer::timeout, this, &RuntimeApplication::tick);
    pollTimer.start(pollIntervalMs);
}

RuntimeApplication::~RuntimeApplication() = default;

void RuntimeApplication::tick()
{
    if (const std::optional<TakenRequest> request = server.step(); request && !noWindow) {
        if (!window) {
            window = std::make_unique<ControllerWindow>();
            connect(window.get(), &ControllerWindow::requestToLeave, qApp, &QCoreApplication::quit);
        }
        window->showRequest(*request);
    }
    if (server.blockWasCut()) {
        QCoreApplication::exit(blockCutStatus);
        return;
    }
    if (++ticks % frontEndCheckTicks == 0 && !(window && window->isVisible())
        && server.frontEndEnded())
        QCoreApplication::quit();
}

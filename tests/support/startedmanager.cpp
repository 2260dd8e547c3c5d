#include "startedmanager.h"

#include "scopedenvironment.h"

#include <QList>

#include <optional>

RuntimeWaits shortRuntimeWaits()
{
    RuntimeWaits waits;
    waits.readyInterval = std::chrono::milliseconds(20);
    waits.readyLooks = 250;
    waits.acceptedInterval = std::chrono::milliseconds(20);
    waits.acceptedLooks = 50;
    return waits;
}

std::unique_ptr<DocumentsManager> startedManager(std::vector<qint64> &runtimes,
                                                 const QByteArray &fault)
{
    std::optional<ScopedEnvironment> environment;
    if (!fault.isEmpty())
        environment.emplace(fault.split('=')[0].constData(), fault.split('=')[1]);
    auto manager = std::make_unique<DocumentsManager>(shortRuntimeWaits());
    if (!manager->startRuntimeInStandby())
        return nullptr;
    runtimes.push_back(manager->runtimeHandoff().runtimeProcessId());
    return manager->waitForRuntimeReady() ? std::move(manager) : nullptr;
}

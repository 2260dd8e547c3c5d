#pragma once

#include "base/controllerfacade.h"
#include "base/iglobalobserver.h"

#include <QStringList>

#include <functional>

// Records the broadcasts it gets while it lives, in order; onCall runs in each, after the record.
class RecordingObserver final : public IGlobalObserver
{
public:
    RecordingObserver() { ControllerFacade::instance().addObserver(this); }
    ~RecordingObserver() override { ControllerFacade::instance().removeObserver(this); }
    RecordingObserver(const RecordingObserver &) = delete;
    RecordingObserver &operator=(const RecordingObserver &) = delete;

    void changedFilePath() override { record(QStringLiteral("path")); }
    void requestToMinimize() override { record(QStringLiteral("minimize")); }
    void requestToMaximize() override { record(QStringLiteral("maximize")); }
    void requestToClose() override { record(QStringLiteral("close")); }
    int count(const QString &broadcast) const { return int(calls.count(broadcast)); }

    QStringList calls;
    std::function<void(const QString &broadcast)> onCall;

private:
    void record(const QString &broadcast)
    {
        calls << broadcast;
        if (onCall)
            onCall(broadcast);
    }
};

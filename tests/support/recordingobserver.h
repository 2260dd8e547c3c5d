#pragma once

#include "base/iglobalobserver.h"

#include <QStringList>

#include <functional>

// Records the broadcasts it receives while registered with the controller facade (from its
// construction to its end): each as "path", "minimize", "maximize" or "close", in order.
class RecordingObserver final : public IGlobalObserver
{
public:
    RecordingObserver();
    ~RecordingObserver() override;
    RecordingObserver(const RecordingObserver &) = delete;
    RecordingObserver &operator=(const RecordingObserver &) = delete;

    void changedFilePath() override { record(QStringLiteral("path")); }
    void requestToMinimize() override { record(QStringLiteral("minimize")); }
    void requestToMaximize() override { record(QStringLiteral("maximize")); }
    void requestToClose() override { record(QStringLiteral("close")); }

    int count(const QString &broadcast) const { return int(calls.count(broadcast)); }

    QStringList calls;
    // Runs after each broadcast is recorded, inside the broadcast.
    std::function<void(const QString &broadcast)> onCall;

private:
    void record(const QString &broadcast);
};

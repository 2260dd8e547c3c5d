// How long the document manager's hand-over round trip and the in-use guard's scan take.
// Runs against the built stand-in runtime (accepting at once) in a private runtime folder.

#include "figures.h"

#include "documents/documentsmanager.h"
#include "platform/currentprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <vector>

namespace {

void print(const char *what, const Figures &figures)
{
    std::printf("%-58s min %8.2f  median %8.2f  max %8.2f ms\n",
                what,
                figures.minimum,
                figures.median,
                figures.maximum);
}

double millisecondsSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

qint64 endedProcessId()
{
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForStarted();
    const qint64 id = process.processId();
    process.waitForFinished();
    return id;
}

void makeLockFolders(int count, qint64 processId)
{
    const QString base = DocumentsManager::lockBasePath();
    QDir().mkpath(base);
    const QByteArray text = "/srv/kiosk/Other.qvksk\n" + QByteArray::number(processId) + '\n';
    for (int i = 0; i < count; ++i) {
        const QString folder = base + '/' + QUuid::createUuid().toString();
        QDir().mkdir(folder);
        QFile file(folder + "/lock.txt");
        file.open(QIODevice::WriteOnly);
        file.write(text);
    }
}

Figures timeAcquire(int rounds, int folders, qint64 processId, bool stale)
{
    std::vector<double> samples;
    for (int round = 0; round < rounds; ++round) {
        if (stale || round == 0)
            makeLockFolders(folders, processId);
        DocumentsManager manager;
        QElapsedTimer timer;
        timer.start();
        manager.acquireFileLock(QStringLiteral("/srv/kiosk/Lobby.qvksk"));
        samples.push_back(millisecondsSince(timer));
        manager.releaseFileLock();
    }
    return figuresOf(samples);
}

} // namespace

int main(int argc, char **argv)
{
    // Nothing reaches the user's own folders, and the runtime opens no window.
    QTemporaryDir home;
    const QString runtime = home.filePath("runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    qputenv("QVKIOSKCORE_NO_WINDOW", "1");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication application(argc, argv);

    constexpr int handOvers = 20;
    constexpr int rounds = 7;
    constexpr int folders = 1000;

    DocumentsManager manager;
    if (!manager.startRuntimeInStandby() || !manager.waitForRuntimeReady()) {
        std::fprintf(stderr, "the runtime did not start\n");
        return 1;
    }
    std::vector<double> roundTrips;
    std::vector<double> looks;
    for (int i = 0; i < handOvers; ++i) {
        QElapsedTimer timer;
        timer.start();
        manager.isRuntimeReady();
        looks.push_back(millisecondsSince(timer));

        const QString path = QString("/srv/kiosk/Panel %1.qvksk").arg(i);
        timer.restart();
        const bool accepted = manager.handOverToRuntime(path, "1234", 1)
                              && manager.waitForRuntimeAccepted();
        roundTrips.push_back(millisecondsSince(timer));
        if (!accepted) {
            std::fprintf(stderr, "hand-over %d was not accepted\n", i);
            return 1;
        }
    }
    const Figures look = figuresOf(looks);
    std::printf("%d hand-overs to the stand-in runtime, accepting at once:\n", handOvers);
    print("  handOverToRuntime to waitForRuntimeAccepted returning", figuresOf(roundTrips));
    std::printf("  %-56s %.2f ms (100 ms sleep + median look %.3f ms)\n",
                "floor",
                100 + look.median,
                look.median);
    const std::uint32_t runtimePid = manager.runtimeHandoff().runtimeProcessId();
    manager.closeSharedMemory();
    ::kill(static_cast<pid_t>(runtimePid), SIGTERM);

    QProcess otherProgram;
    otherProgram.start(QStringLiteral("sleep"), {QStringLiteral("600")});
    otherProgram.waitForStarted();
    std::printf("acquireFileLock, %d rounds:\n", rounds);
    print("  1,000 stale lock folders (ended process, all removed)",
          timeAcquire(rounds, folders, endedProcessId(), true));
    print("  1,000 live foreign lock folders (another program, kept)",
          timeAcquire(rounds, folders, otherProgram.processId(), false));
    otherProgram.kill();
    otherProgram.waitForFinished();
    return 0;
}

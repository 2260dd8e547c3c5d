#include "lockholder.h"

#include <QCoreApplication>

#include <sys/wait.h>
#include <unistd.h>

LockHolder::LockHolder(const QString &path, bool go)
{
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock"), path});
    if (readLine() == "ready" && go) {
        this->go();
        awaitLock();
    }
}

void LockHolder::go()
{
    process.write("go\n");
    process.waitForBytesWritten();
}

void LockHolder::awaitLock()
{
    lockName = QString::fromUtf8(readLine());
}

QByteArray LockHolder::readLine()
{
    while (process.waitForStarted() && !process.canReadLine() && process.waitForReadyRead(10000)) {
    }
    return process.readLine().trimmed();
}

LockHolder::~LockHolder()
{
    process.closeWriteChannel();
    if (!process.waitForFinished(10000))
        process.kill();
}

qint64 endedProcessId()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

#pragma once

#include <QProcess>
#include <QString>

// A copy of this program (see runAsHelperIfAsked) that holds the in-use lock on `path` while
// the object lives; lockName stays empty when it could not take it. Without `go` it waits,
// ready, until go() and awaitLock(), so that several copies can try at one moment.
struct LockHolder final
{
    explicit LockHolder(const QString &path, bool go = true);
    ~LockHolder();
    void go();
    void awaitLock();

    QProcess process;
    QString lockName;

private:
    QByteArray readLine();
};

// The process id of a process that has just ended.
qint64 endedProcessId();

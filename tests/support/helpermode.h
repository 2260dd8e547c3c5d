#pragma once

#include <QApplication>
#include <QProcess>
#include <QTest>

// The test executables double as helper processes, steered by their first argument:
//   --hold-lock <path>        a copy of the program for the in-use guard (only a process of
//                             the same executable name counts as one): prints "ready", waits
//                             for a line, takes the lock, prints the lock folder's name (or
//                             ends with 1 when refused) and holds it until standard input closes
//   --run-application <args>  the program itself with <args>, every message box answered with
//                             OK; prints "message <text>" for each and "shown <class>" for each
//                             splash screen or main window shown, and ends with its exit status
// Returns -1 when not started either way.
int runAsHelperIfAsked(int argc, char **argv);

// main() of a QtTest class whose executable also plays those helpers.
template<class Test, class Application = QApplication>
int runTestOrHelper(int argc, char **argv)
{
    const int helper = runAsHelperIfAsked(argc, argv);
    if (helper >= 0)
        return helper;
    Application application(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

// A copy of this program that holds the in-use lock on `path` while the object lives; lockName
// stays empty when it could not take it. Without `go` it waits, ready, until go() and
// awaitLock(), so that several copies can try at one moment.
struct LockHolder final
{
    explicit LockHolder(const QString &path, bool go = true);
    ~LockHolder();
    void go();
    void awaitLock() { lockName = QString::fromUtf8(readLine()); }
    QByteArray readLine();

    QProcess process;
    QString lockName;
};

// The process id of a process that has just ended.
qint64 endedProcessId();

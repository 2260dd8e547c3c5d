#pragma once

// Helpers of the document-manager and in-use-guard tests.

#include "documents/accesslevel.h"

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// The test executables double as the lock-holding copy of the program in the cross-process
// guard tests, since only a process of the same executable name counts as a copy. Started
// with "--hold-lock <path>", a test executable takes the lock, prints the lock folder's name
// and holds it until its standard input closes. Returns -1 when not started that way.
int runLockHolderIfAsked(int argc, char **argv);

// A copy of this program that holds the lock on `path` while the object lives.
class LockHolder final
{
public:
    explicit LockHolder(const QString &path);
    ~LockHolder();

    bool isHolding() const { return !folderName.isEmpty(); }
    const QString &lockName() const { return folderName; }
    qint64 processId() const { return process.processId(); }

private:
    QProcess process;
    QString folderName;
};

// Collects what this process writes to standard output (file descriptor 1) from its
// construction until take(), which QtTest's own output on standard output must not precede.
class StdoutCapture final
{
public:
    StdoutCapture();
    ~StdoutCapture();
    // Ends the capture and answers what was written.
    QByteArray take();

private:
    void restore();

    int savedStdout = -1;
    QString fileName;
};

// Answers every modal dialog as it appears, by kind: message boxes with OK, recording their
// text and title; code dialogs with the set answer; file dialogs with Cancel, recording their
// start folder. Nothing is left waiting, so an unexpected dialog shows in the records instead
// of hanging the test.
class DialogAnswerer final : public QObject
{
    Q_OBJECT

public:
    DialogAnswerer();

    // How the next code dialogs are answered: accepted with this level and code, or cancelled.
    void acceptCode(AccessLevel level, const QString &code);
    void cancelCode();
    // Runs inside each code dialog before it is answered.
    std::function<void()> whileCodeDialogShows;

    QStringList messages;
    QStringList messageTitles;
    QStringList fileDialogFolders;
    int codeDialogs = 0;

private:
    void answer();

    QPointer<QWidget> answered;
    bool acceptCodeDialog = false;
    AccessLevel level = AccessLevel::Administrator;
    QString code;
};

// Sets an environment variable for the object's life.
class ScopedEnvironment final
{
public:
    ScopedEnvironment(const char *name, const QByteArray &value);
    ~ScopedEnvironment();

private:
    QByteArray variable;
    QByteArray previous;
    bool wasSet = false;
};

// The process id of a process that has just ended.
qint64 endedProcessId();

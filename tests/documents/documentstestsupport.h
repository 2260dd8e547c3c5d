#pragma once

// Helpers of the document-manager, in-use-guard and main-window tests.

#include "documents/accesslevel.h"

#include "capturedoutput.h"
#include "scopedenvironment.h"

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QStringList>

#include <functional>

// The test executables double as the lock-holding copy of the program in the cross-process
// guard tests, since only a process of the same executable name counts as a copy. Started
// with "--hold-lock <path>", a test executable prints "ready", waits for a line, takes the
// lock, prints the lock folder's name (or ends with 1 when refused) and holds it until its
// standard input closes. Returns -1 when not started that way.
int runLockHolderIfAsked(int argc, char **argv);

// A copy of this program that holds the lock on `path` while the object lives; lockName stays
// empty when it could not take it. Without `go` it waits, ready, until go() and awaitLock().
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

// Answers every modal dialog as it appears, by kind: message boxes with OK, recording their
// text; code dialogs with the set answer (Cancel until acceptCode); file dialogs with Cancel,
// recording the folder they show and the name typed in for the user.
// Nothing is left waiting, so an unexpected dialog shows in the records instead of hanging.
class DialogAnswerer final : public QObject
{
    Q_OBJECT

public:
    DialogAnswerer();

    void acceptCode(AccessLevel level, const QString &code);
    // Runs inside each code dialog before it is answered.
    std::function<void()> whileCodeDialogShows;

    QStringList messages;
    int codeDialogs = 0;
    QStringList fileDialogs; // "<folder>, name \"<name>\""

private:
    void answer();

    QPointer<QWidget> answered;
    bool acceptCodeDialog = false;
    AccessLevel level = AccessLevel::Administrator;
    QString code;
};

// The process id of a process that has just ended.
qint64 endedProcessId();

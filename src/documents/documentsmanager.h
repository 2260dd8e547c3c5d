#pragma once

#include "inuseguard.h"
#include "operatorjournal.h"
#include "runtimehandoff.h"
#include "wrongcodebackoff.h"

#include <QString>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

class QVCoreWrapper;

// Opens kiosk controller files: picks the file, guards it against a second copy of the
// program, has the core library check it, asks for the access level and code and hands the
// file to the kiosk runtime. Every refusal shows one error box (none for a cancelled dialog
// or a file of version 0 or below). The guard and runtime operations forward to the
// InUseGuard and the RuntimeHandoff it owns. GUI thread only.
class DocumentsManager
{
public:
    // The process-wide manager, created on first use.
    static DocumentsManager &instance();

    // The program uses instance(); tests make managers of their own, with short waits.
    explicit DocumentsManager(const RuntimeWaits &waits = {});
    virtual ~DocumentsManager();
    DocumentsManager(const DocumentsManager &) = delete;
    DocumentsManager &operator=(const DocumentsManager &) = delete;

    // True only when the runtime accepted the file; an empty path asks for one with the
    // open-file dialog. Sets launchFailed (never clears it) when the runtime did not accept
    // the request; then, unless atStartUp, it also asks the front-end to close. Answers false
    // at once while an open runs (a call from inside one of its dialogs or waits) and once a
    // file has been handed over in this run.
    bool openControllerFile(QWidget *parent,
                            bool &launchFailed,
                            const QString &path,
                            bool atStartUp);

    // path when it is not empty, else the file chosen in the open-file dialog (empty when
    // cancelled). A non-empty result's folder becomes the next dialog's start folder.
    QString chooseControllerFile(QWidget *parent, const QString &path, const QString &filter);

    // A kiosk controller file of a version up to the supported one; prints its "VERSION: " line.
    // On refusal, `outcome` (when given) says why for the journal.
    bool validateControllerFile(QWidget *parent,
                                const QString &path,
                                QVCoreWrapper &wrapper,
                                OperatorJournal::Outcome *outcome = nullptr);

    // The suffix after the last dot of the file name is "qvksk", in any letter case.
    static bool isControllerFileName(const QString &path);

    void setCurrentFile(const QString &path);
    const QString &currentFilePath() const { return currentFile; }

    bool acquireFileLock(const QString &path) { return guard.acquire(path); }
    void releaseFileLock() { guard.release(); }
    const QString &lockName() const { return guard.lockName(); }
    static QString lockBasePath() { return InUseGuard::lockBasePath(); }
    static void removeControllerFilesIn(const QString &folder)
    {
        InUseGuard::removeControllerFilesIn(folder);
    }

    bool startRuntimeInStandby() { return handoff.startRuntimeInStandby(); }
    bool isRuntimeReady() { return handoff.isRuntimeReady(); }
    bool waitForRuntimeReady() { return handoff.waitForRuntimeReady(); }
    bool handOverToRuntime(const QString &path, const QString &code, int level)
    {
        return handoff.handOverToRuntime(path, code, level);
    }
    bool waitForRuntimeAccepted() { return handoff.waitForRuntimeAccepted(); }
    int showBlockDialog(QWidget *parent) { return handoff.showBlockDialog(parent); }
    void closeBlockDialog() { handoff.closeBlockDialog(); }
    void closeSharedMemory() { handoff.closeSharedMemory(); }
    RuntimeHandoff &runtimeHandoff() { return handoff; }
    const RuntimeWaits &runtimeWaits() const { return handoff.waits(); }
    void setRuntimeWaits(const RuntimeWaits &waits) { handoff.setWaits(waits); }
    WrongCodeBackoff &wrongCodeBackoff() { return backoff; }

private:
    // What one open attempt came to, for the journal.
    struct Attempt
    {
        QString path;
        AccessLevel level = AccessLevel::None;
        OperatorJournal::Outcome outcome = OperatorJournal::Outcome::Cancelled;
    };

    bool runOpen(
        QWidget *parent, bool &launchFailed, const QString &path, bool atStartUp, Attempt &attempt);
    // Shows the error box after its log line, which says what failed and where.
    void refuse(QWidget *parent, const QString &message, const QString &logLine);

    InUseGuard guard;
    RuntimeHandoff handoff;
    OperatorJournal journal;
    WrongCodeBackoff backoff;
    QString currentFile;
    QString lastOpenFolder;
    bool opening = false;
    bool handedOver = false;
};

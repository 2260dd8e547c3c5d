#include "documentsmanager.h"

#include "dialogauthenticate.h"
#include "qvcorewrapper.h"

#include "base/controllerfacade.h"
#include "base/logging.h"
#include "dialogs/custommessagebox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

namespace {

const QString controllerFileExtension = QStringLiteral("qvksk");

QString failedToLaunchMessage()
{
    return QObject::tr(
               "ID_RESSTR_PROPERTIESEDITOR_DOCUMENTSMANAGER_MESSAGEFAILEDTOLAUNCHQVKIOSKSAPP")
        .arg(QObject::tr("ID_RESSTR_APPLICATION_QVKIOSK"));
}

QString failedToReadMessage()
{
    return QObject::tr("ID_RESSTR_PROPERTIESEDITOR_DOCUMENTSMANAGER_MESSAGEFAILEDTOREADINFILE");
}

// Drops the lock on every way out of the open flow; the flow may drop it earlier itself.
class LockRelease final
{
public:
    explicit LockRelease(InUseGuard &guard)
        : guard(guard)
    {}
    ~LockRelease() { guard.release(); }
    LockRelease(const LockRelease &) = delete;
    LockRelease &operator=(const LockRelease &) = delete;

private:
    InUseGuard &guard;
};

} // namespace

DocumentsManager &DocumentsManager::instance()
{
    static DocumentsManager manager;
    return manager;
}

DocumentsManager::DocumentsManager(const RuntimeWaits &waits)
    : handoff(waits)
    , backoff(OperatorJournal::stateFolder())
    // A system without a Documents location starts the dialog in the current folder.
    , lastOpenFolder(QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation).value(0))
{}

DocumentsManager::~DocumentsManager()
{
    guard.release();
}

void DocumentsManager::refuse(QWidget *parent, const QString &message, const QString &logLine)
{
    qCWarning(lcOpen).noquote() << logLine;
    CustomMessageBox::showError(parent,
                                message,
                                QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLEERROR"));
}

bool DocumentsManager::openControllerFile(QWidget *parent,
                                          bool &launchFailed,
                                          const QString &path,
                                          bool atStartUp)
{
    // Dialogs and waits run nested event loops, where a queued click or a timer could start
    // a second open; and after a hand-over the runtime has the file and the front-end ends.
    if (opening || handedOver)
        return false;
    opening = true;
    Attempt attempt;
    const bool opened = runOpen(parent, launchFailed, path, atStartUp, attempt);
    // The core library offers no title; the field is kept for when it does.
    if (!attempt.path.isEmpty())
        journal.record(attempt.path, QString(), attempt.level, attempt.outcome);
    opening = false;
    return opened;
}

bool DocumentsManager::runOpen(
    QWidget *parent, bool &launchFailed, const QString &givenPath, bool atStartUp, Attempt &attempt)
{
    using Outcome = OperatorJournal::Outcome;
    const QString filter = QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_FILTERCONTROLLERFILE")
                               .arg(controllerFileExtension);
    const QString path = chooseControllerFile(parent, givenPath, filter);
    if (path.isEmpty())
        return false;
    attempt.path = path;

    // The lock file holds the path as a line of UTF-8: a path it cannot hold as it is would
    // read back as another file's, and a second copy could open this one.
    if (!InUseGuard::canRecord(path)) {
        attempt.outcome = Outcome::NotSupported;
        refuse(parent,
               QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEUNSUPPORTEDFILE"),
               QStringLiteral("%1: the name holds a line break or is not valid Unicode").arg(path));
        return false;
    }
    guard.release();
    if (!guard.acquire(path)) {
        attempt.outcome = Outcome::InUse;
        refuse(parent,
               QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEFAILEDTOOPENFILEINUSE"),
               QStringLiteral("%1: another copy of the launcher is opening it (locks in %2)")
                   .arg(path, InUseGuard::lockBasePath()));
        return false;
    }
    const LockRelease lockRelease(guard);

    QVCoreWrapper wrapper;
    if (!validateControllerFile(parent, path, wrapper, &attempt.outcome))
        return false;
    const QByteArray utf8Path = path.toUtf8();
    bool powerUserPermitted = false;
    std::int32_t fileOperation = -1;
    if (!wrapper.getFileOperation(utf8Path.constData(), powerUserPermitted, fileOperation)) {
        attempt.outcome = Outcome::ReadError;
        refuse(parent,
               failedToReadMessage(),
               QStringLiteral("%1: the core library cannot read its access settings").arg(path));
        return false;
    }

    QString code;
    bool checked = false;
    bool authenticated = false;
    {
        DialogAuthenticate dialog(parent, path, powerUserPermitted);
        dialog.setWaitBeforeCheck(backoff.waitBeforeCheck(path));
        // A costly hash: checked on a thread of its own while the dialog stays up.
        dialog.setCheck([&](AccessLevel level, const QString &code) {
            checked = wrapper.checkPassCodeAndFileOperation(utf8Path.constData(),
                                                            code.toUtf8().constData(),
                                                            level,
                                                            authenticated,
                                                            powerUserPermitted,
                                                            fileOperation);
        });
        if (dialog.exec() != QDialog::Accepted)
            return false;
        attempt.level = dialog.accessLevel();
        code = dialog.code();
    }

    if (!checked) {
        attempt.outcome = Outcome::ReadError;
        refuse(parent,
               failedToReadMessage(),
               QStringLiteral("%1: the core library cannot check the code").arg(path));
        return false;
    }
    if (!authenticated) {
        attempt.outcome = Outcome::WrongCode;
        backoff.recordWrongCode(path);
        refuse(parent,
               powerUserPermitted
                   ? QObject::tr("ID_RESSTR_DIALOGAUTHENTICATE_MESSAGEINCORRECTPASSCODE")
                   : QStringLiteral("Administrator Code is required."),
               QStringLiteral("%1: wrong code for %2 (%3 in a row)")
                   .arg(path,
                        attempt.level == AccessLevel::PowerUser ? QStringLiteral("Power User")
                                                                : QStringLiteral("Administrator"))
                   .arg(backoff.wrongCodes(path)));
        return false;
    }
    backoff.recordRightCode(path);

    // The file joins the recent list here, whatever the runtime makes of it.
    ControllerFacade::instance().setFilePath(path.toStdU16String());

    attempt.outcome = Outcome::LaunchFailed;
    if (!handoff.handOverToRuntime(path, code, static_cast<int>(attempt.level))) {
        refuse(parent,
               failedToLaunchMessage(),
               QStringLiteral("%1: the request cannot be handed to the runtime").arg(path));
        return false;
    }
    // The lock guards picking the file and the code, not the runtime's wait.
    guard.release();
    if (handoff.waitForRuntimeAccepted()) {
        attempt.outcome = Outcome::HandedOver;
        handedOver = true;
        return true;
    }
    launchFailed = true;
    refuse(parent,
           failedToLaunchMessage(),
           QStringLiteral("%1: the runtime did not take the file").arg(path));
    if (!atStartUp)
        ControllerFacade::instance().requestToClose();
    return false;
}

QString DocumentsManager::chooseControllerFile(QWidget *parent,
                                               const QString &path,
                                               const QString &filter)
{
    QString chosen = path;
    if (chosen.isEmpty()) {
        QString startFolder = currentFile.isEmpty() ? lastOpenFolder
                                                    : QFileInfo(currentFile).path();
        // Given a folder that does not exist (no ~/Documents), the dialog opens its parent with
        // the folder's name typed in as the file name.
        if (!QFileInfo(startFolder).isDir())
            startFolder = QDir::homePath();
        chosen = QFileDialog::getOpenFileName(parent,
                                              QObject::tr(
                                                  "ID_RESSTR_DOCUMENTSMANAGER_TITLEOPENFILE"),
                                              startFolder,
                                              filter);
    }
    if (!chosen.isEmpty())
        lastOpenFolder = QFileInfo(chosen).path();
    return chosen;
}

bool DocumentsManager::validateControllerFile(QWidget *parent,
                                              const QString &path,
                                              QVCoreWrapper &wrapper,
                                              OperatorJournal::Outcome *outcome)
{
    using Outcome = OperatorJournal::Outcome;
    const auto refused = [outcome](Outcome why) {
        if (outcome)
            *outcome = why;
        return false;
    };
    const QByteArray utf8Path = path.toUtf8();
    bool isKioskFile = false;
    const std::int32_t status = wrapper.isKioskControllerFile(utf8Path.constData(), isKioskFile);
    if (status != -1) {
        refuse(parent,
               QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEFAILEDTOOPENFILE").arg(status),
               QStringLiteral("%1: the core library cannot open it (status %2)")
                   .arg(path)
                   .arg(status));
        return refused(Outcome::ReadError);
    }
    if (!isKioskFile) {
        refuse(parent,
               QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEUNSUPPORTEDFILE"),
               QStringLiteral("%1: not a kiosk controller file").arg(path));
        return refused(Outcome::NotSupported);
    }
    const std::int32_t supported = wrapper.getKioskFileVersion();
    std::int32_t version = 0;
    if (const std::int32_t status = wrapper.getFileVersion(utf8Path.constData(), version);
        status != -1) {
        refuse(parent,
               failedToReadMessage(),
               QStringLiteral("%1: the core library cannot read its version (status %2)")
                   .arg(path)
                   .arg(status));
        return refused(Outcome::ReadError);
    }
    std::fprintf(stdout, "VERSION: %ld\n", static_cast<long>(version));
    std::fflush(stdout);
    if (version <= 0) {
        qCInfo(lcOpen).noquote() << QStringLiteral("%1: version %2, not opened")
                                        .arg(path)
                                        .arg(version);
        return refused(Outcome::NotSupported);
    }
    if (version <= supported)
        return true;
    refuse(parent,
           QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEUNSUPPORTEDVERSION")
               .arg(QFileInfo(path).fileName(), QObject::tr("ID_RESSTR_APPLICATION_QVCONTROL")),
           QStringLiteral("%1: version %2 is newer than the supported %3")
               .arg(path)
               .arg(version)
               .arg(supported));
    return refused(Outcome::NotSupported);
}

bool DocumentsManager::isControllerFileName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot + 1).compare(controllerFileExtension, Qt::CaseInsensitive) == 0;
}

void DocumentsManager::setCurrentFile(const QString &path)
{
    currentFile = path;
}

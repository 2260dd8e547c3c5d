#include "documentsmanager.h"

#include "dialogauthenticate.h"
#include "qvcorewrapper.h"

#include "base/controllerfacade.h"
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
    // A system without a Documents location starts the dialog in the current folder.
    , lastOpenFolder(QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation).value(0))
{}

DocumentsManager::~DocumentsManager()
{
    guard.release();
}

void DocumentsManager::refuse(QWidget *parent, const QString &message)
{
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
    const bool opened = runOpen(parent, launchFailed, path, atStartUp);
    opening = false;
    return opened;
}

bool DocumentsManager::runOpen(QWidget *parent,
                               bool &launchFailed,
                               const QString &givenPath,
                               bool atStartUp)
{
    const QString filter = QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_FILTERCONTROLLERFILE")
                               .arg(controllerFileExtension);
    const QString path = chooseControllerFile(parent, givenPath, filter);
    if (path.isEmpty())
        return false;

    // The lock file holds the path as a line of UTF-8: a path it cannot hold as it is would
    // read back as another file's, and a second copy could open this one.
    if (!InUseGuard::canRecord(path)) {
        refuse(parent, QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEUNSUPPORTEDFILE"));
        return false;
    }
    guard.release();
    if (!guard.acquire(path)) {
        refuse(parent, QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEFAILEDTOOPENFILEINUSE"));
        return false;
    }
    const LockRelease lockRelease(guard);

    QVCoreWrapper wrapper;
    if (!validateControllerFile(parent, path, wrapper))
        return false;
    const QByteArray utf8Path = path.toUtf8();
    bool powerUserPermitted = false;
    std::int32_t fileOperation = -1;
    if (!wrapper.getFileOperation(utf8Path.constData(), powerUserPermitted, fileOperation)) {
        refuse(parent, failedToReadMessage());
        return false;
    }

    AccessLevel level = AccessLevel::None;
    QString code;
    {
        DialogAuthenticate dialog(parent, path, powerUserPermitted);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        level = dialog.accessLevel();
        code = dialog.code();
    }

    bool authenticated = false;
    if (!wrapper.checkPassCodeAndFileOperation(utf8Path.constData(),
                                               code.toUtf8().constData(),
                                               level,
                                               authenticated,
                                               powerUserPermitted,
                                               fileOperation)) {
        refuse(parent, failedToReadMessage());
        return false;
    }
    if (!authenticated) {
        refuse(parent,
               powerUserPermitted
                   ? QObject::tr("ID_RESSTR_DIALOGAUTHENTICATE_MESSAGEINCORRECTPASSCODE")
                   : QStringLiteral("Administrator Code is required."));
        return false;
    }

    // The file joins the recent list here, whatever the runtime makes of it.
    ControllerFacade::instance().setFilePath(path.toStdU16String());

    if (!handoff.handOverToRuntime(path, code, static_cast<int>(level))) {
        refuse(parent, failedToLaunchMessage());
        return false;
    }
    // The lock guards picking the file and the code, not the runtime's wait.
    guard.release();
    if (handoff.waitForRuntimeAccepted()) {
        handedOver = true;
        return true;
    }
    launchFailed = true;
    refuse(parent, failedToLaunchMessage());
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
                                              QVCoreWrapper &wrapper)
{
    const QByteArray utf8Path = path.toUtf8();
    bool isKioskFile = false;
    const std::int32_t status = wrapper.isKioskControllerFile(utf8Path.constData(), isKioskFile);
    if (status != -1) {
        refuse(parent,
               QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEFAILEDTOOPENFILE").arg(status));
        return false;
    }
    if (!isKioskFile) {
        refuse(parent, QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEUNSUPPORTEDFILE"));
        return false;
    }
    const std::int32_t supported = wrapper.getKioskFileVersion();
    std::int32_t version = 0;
    if (wrapper.getFileVersion(utf8Path.constData(), version) != -1) {
        refuse(parent, failedToReadMessage());
        return false;
    }
    std::fprintf(stdout, "VERSION: %ld\n", static_cast<long>(version));
    std::fflush(stdout);
    if (version <= 0)
        return false;
    if (version <= supported)
        return true;
    refuse(parent,
           QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEUNSUPPORTEDVERSION")
               .arg(QFileInfo(path).fileName(), QObject::tr("ID_RESSTR_APPLICATION_QVCONTROL")));
    return false;
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

#include "mainwindow.h"

#include "centralwidget.h"
#include "commandline.h"

#include "base/controllerfacade.h"
#include "base/logging.h"
#include "dialogs/custommessagebox.h"
#include "documents/documentsmanager.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <algorithm>

MainWindow::MainWindow(const CommandLine &commandLine, QWidget *parent)
    : MainWindowBase(parent)
{
    central = new CentralWidget(this);
    installCentralWidget(central);
    restoreWindowState();

    ControllerFacade::instance().addObserver(central);
    ControllerFacade::instance().addObserver(this);

    if (!DocumentsManager::instance().startRuntimeInStandby()) {
        qCWarning(lcStart) << "the kiosk runtime cannot be started in standby; the launcher ends";
        showUnexpectedError();
        fail(StartFailure::RuntimeNotStarted);
        return;
    }
    if (commandLine.start() == CommandLine::Start::Plain)
        return;
    saveWindowState();
    if (commandLine.start() == CommandLine::Start::NonSplash)
        return;
    if (DocumentsManager::isControllerFileName(commandLine.filePath())) {
        openFileOfCommandLine(commandLine.filePath());
        return;
    }
    qCWarning(lcOpen).noquote() << commandLine.filePath()
                                << ": not a controller file name (the suffix is not .qvksk)";
    CustomMessageBox::showError(this,
                                QObject::tr("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEFAILEDTOOPENFILE")
                                    .arg(2),
                                QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLEERROR"));
}

MainWindow::~MainWindow()
{
    ControllerFacade::instance().removeObserver(this);
    ControllerFacade::instance().removeObserver(central);
    delete initializationTimer;
}

void MainWindow::pauseBeforeShowing()
{
    QElapsedTimer timer;
    timer.start();
    grab();
    const auto spent = static_cast<unsigned long>(timer.elapsed());
    QThread::msleep(fixedPauseMilliseconds - std::min(spent, fixedPauseMilliseconds));
}

void MainWindow::openFileOfCommandLine(const QString &path)
{
    startupOk = false;
    saveStateOnClose = false;
    DocumentsManager &manager = DocumentsManager::instance();
    if (!manager.waitForRuntimeReady()) {
        qCWarning(lcStart)
            << "the kiosk runtime did not get ready for the file of the command line";
        showUnexpectedError();
        fail(StartFailure::RuntimeNeverReady);
        return;
    }
    bool launchFailed = false;
    if (manager.openControllerFile(this, launchFailed, path, true))
        return;
    if (launchFailed) {
        fail(StartFailure::LaunchFailed);
        return;
    }
    // Refused or cancelled; the document manager has said why. The launcher opens instead.
    startupOk = true;
}

void MainWindow::waitForKioskRuntime()
{
    delete initializationTimer;
    initializationTimer = new QTimer(this);
    initializationTimer->setInterval(DocumentsManager::instance().runtimeWaits().pollInterval);
    connect(initializationTimer, &QTimer::timeout, this, &MainWindow::pollTick);
    initializationTimer->start();
    DocumentsManager::instance().showBlockDialog(this);
}

void MainWindow::pollTick()
{
    DocumentsManager &manager = DocumentsManager::instance();
    if (++pollTicks > manager.runtimeWaits().pollLimit) {
        qCWarning(lcStart) << "the kiosk runtime was not ready after" << pollTicks - 1
                           << "looks; the launcher ends";
        stopPolling();
        manager.closeBlockDialog();
        CustomMessageBox::showError(this,
                                    QStringLiteral("Failed to initialize application."),
                                    QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLEERROR"));
        ControllerFacade::instance().requestToClose();
        fail(StartFailure::RuntimeNeverReady);
    }
    if (manager.isRuntimeReady()) {
        stopPolling();
        manager.closeBlockDialog();
        if (!runtimeWatch) {
            runtimeWatch = new QTimer(this);
            connect(runtimeWatch, &QTimer::timeout, this, &MainWindow::watchRuntime);
        }
        runtimeWatch->start(manager.runtimeWaits().runtimeWatchInterval);
    }
}

void MainWindow::watchRuntime()
{
    RuntimeHandoff &handoff = DocumentsManager::instance().runtimeHandoff();
    if (handoff.isRuntimeRunning())
        return;
    const std::uint32_t ended = handoff.runtimeProcessId();
    if (!runtimeRestarted) {
        runtimeRestarted = true;
        qCWarning(lcStart).noquote()
            << QStringLiteral("the standby runtime (process %1) has ended; starting a new one")
                   .arg(ended);
        if (handoff.startRuntimeInStandby())
            return;
    } else {
        qCWarning(lcStart).noquote()
            << QStringLiteral("the restarted standby runtime (process %1) has ended as well; "
                              "the launcher ends")
                   .arg(ended);
    }
    runtimeWatch->stop();
    showUnexpectedError();
    fail(StartFailure::RuntimeNotStarted);
    ControllerFacade::instance().requestToClose();
}

void MainWindow::stopPolling()
{
    if (initializationTimer)
        initializationTimer->stop();
    pollTicks = 0;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!firstTimeEventDone()) {
        event->ignore();
        return;
    }
    if (saveStateOnClose)
        saveWindowState();
    DocumentsManager::instance().releaseFileLock();
    event->accept();
}

void MainWindow::fail(StartFailure why)
{
    startupOk = false;
    failedStart = why;
}

void MainWindow::showUnexpectedError()
{
    CustomMessageBox::showError(this,
                                QObject::tr("ID_RESSTR_APPLICATION_MESSAGEUNEXPECTEDERROROCCURRED"),
                                QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLEERROR"));
}

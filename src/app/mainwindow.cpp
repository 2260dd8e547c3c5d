#include "mainwindow.h"

#include "centralwidget.h"

#include "base/controllerfacade.h"
#include "dialogs/custommessagebox.h"
#include "documents/documentsmanager.h"
#include "platform/currentprocess.h"
#include "platform/relayreport.h"
#include "platform/runtimelauncher.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <iostream>

namespace {

// Ticks of the start-up poll; shared by every window, as there is one per run.
int pollTicks = 0;
constexpr int pollLimit = 300;

} // namespace

MainWindow::MainWindow(const QStringList &arguments, QWidget *parent)
    : MainWindowBase(parent)
{
    central = new CentralWidget(this);
    installCentralWidget(central);
    restoreWindowState();

    ControllerFacade::instance().addObserver(central);
    ControllerFacade::instance().addObserver(this);

    if (arguments.size() < 5) {
        // A relative path must still name the file after the standby start has changed the
        // current folder.
        QString path = arguments.size() == 2 ? arguments.at(1) : QString();
        if (!path.isEmpty() && path != QLatin1String("nonSplash"))
            path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());

        if (!DocumentsManager::instance().startRuntimeInStandby()) {
            showUnexpectedError();
            startupOk = false;
            return;
        }
        if (arguments.size() != 2)
            return;
        saveWindowState();
        if (path == QLatin1String("nonSplash"))
            return;
        if (DocumentsManager::isControllerFileName(path)) {
            openFileOfCommandLine(path);
            return;
        }
        CustomMessageBox::showError(this,
                                    QObject::tr(
                                        "ID_RESSTR_DOCUMENTSMANAGER_MESSAGEFAILEDTOOPENFILE")
                                        .arg(2),
                                    QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLEERROR"));
        return;
    }

    saveWindowState();
    saveStateOnClose = false;
    const std::string a1 = arguments.at(1).toStdString();
    const std::string a2 = arguments.at(2).toStdString();
    const std::string a3 = arguments.at(3).toStdString();
    const std::string a4 = arguments.at(4).toStdString();
    relayStarted = startRelayedRuntime(a1, a2);
    if (relayStarted)
        reportRelayedProcessId(a3, a4);
}

MainWindow::~MainWindow()
{
    ControllerFacade::instance().removeObserver(this);
    ControllerFacade::instance().removeObserver(central);
    delete initializationTimer;
}

void MainWindow::openFileOfCommandLine(const QString &path)
{
    startupOk = false;
    saveStateOnClose = false;
    DocumentsManager &manager = DocumentsManager::instance();
    if (!manager.waitForRuntimeReady()) {
        showUnexpectedError();
        return;
    }
    bool launchFailed = false;
    if (manager.openControllerFile(this, launchFailed, path, true) || launchFailed)
        return;
    // Refused or cancelled; the document manager has said why. The launcher opens instead.
    startupOk = true;
}

bool MainWindow::startRelayedRuntime(const std::string &a1, const std::string &a2)
{
    const std::string folder = platform::folderOf(platform::executablePath());
    if (folder.empty() || !platform::setCurrentFolder(folder))
        return false;
    if (!platform::fileExists(platform::runtimePathBeside()))
        return false;
    platform::setCurrentFolder(platform::relayRuntimeFolder());
    return platform::startRelayRuntime(a1, a2, &relayedProcessId);
}

void MainWindow::reportRelayedProcessId(const std::string &blockName, const std::string &sizeText)
{
    std::size_t size = 0;
    if (!platform::parseRelayBlockSize(sizeText, size) || size < 4) {
        std::cout << "Process id not reported: the block size \"" << sizeText
                  << "\" is not a whole number from 4 up" << std::endl;
        return;
    }
    if (!platform::reportRelayedProcessId(blockName, sizeText, relayedProcessId))
        std::cout << "Process id not reported: the block \"" << blockName
                  << "\" cannot be opened with " << size << " bytes" << std::endl;
}

void MainWindow::finishRelay()
{
    if (!relayStarted)
        showUnexpectedError();
}

void MainWindow::waitForKioskRuntime()
{
    delete initializationTimer;
    initializationTimer = new QTimer(this);
    initializationTimer->setInterval(100);
    connect(initializationTimer, &QTimer::timeout, this, &MainWindow::pollTick);
    initializationTimer->start();
    DocumentsManager::instance().showBlockDialog(this);
}

void MainWindow::pollTick()
{
    DocumentsManager &manager = DocumentsManager::instance();
    if (++pollTicks > pollLimit) {
        stopPolling();
        manager.closeBlockDialog();
        CustomMessageBox::showError(this,
                                    QStringLiteral("Failed to initialize application."),
                                    QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLEERROR"));
        ControllerFacade::instance().requestToClose();
        startupOk = false;
    }
    if (manager.isRuntimeReady()) {
        stopPolling();
        manager.closeBlockDialog();
    }
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

void MainWindow::showUnexpectedError()
{
    CustomMessageBox::showError(this,
                                QObject::tr("ID_RESSTR_APPLICATION_MESSAGEUNEXPECTEDERROROCCURRED"),
                                QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLEERROR"));
}

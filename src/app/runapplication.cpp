#include "runapplication.h"

#include "commandline.h"
#include "mainwindow.h"
#include "relaystart.h"
#include "splashscreen.h"

#include "base/logging.h"
#include "base/qvkioskapplication.h"
#include "base/resourcestrings.h"
#include "dialogs/custommessagebox.h"
#include "documents/documentsmanager.h"
#include "platform/fileversion.h"

#include <QObject>
#include <QThread>
#include <QTimer>
#include <QTranslator>

void setApplicationIdentity(const char *appNameId, const QString &version)
{
    QCoreApplication::setApplicationName(QObject::tr(appNameId));
    QCoreApplication::setOrganizationName(QObject::tr("ID_RESSTR_APPLICATION_ORGANIZATION"));
    QCoreApplication::setApplicationVersion(version);
}

int runApplication(int argc, char *argv[], const char *appNameId)
{
    installLogPattern();
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // Qt 6 always scales; the attribute is kept for the platforms where it still counts.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QCoreApplication::setAttribute(Qt::AA_DisableHighDpiScaling, true);
    QT_WARNING_POP

    QVKioskApplication application(argc, argv);

    QTranslator translator;
    installResourceStrings(translator);
    setApplicationIdentity(appNameId, QString::fromStdString(platform::fileVersion()));

    const CommandLine commandLine(QCoreApplication::arguments());
    SplashScreen splash;
    const bool splashShown = commandLine.showsSplash();
    if (splashShown)
        splash.showMapped();
    QCoreApplication::processEvents();

    int exitCode = 0;
    if (commandLine.start() != CommandLine::Start::Relay) {
        MainWindow window(commandLine, nullptr);
        if (window.isStartupOk()) {
            window.pauseBeforeShowing();
            window.show();
            if (splashShown)
                splash.finish(&window);
            window.waitForKioskRuntime();
            if (window.isStartupOk()) {
                QTimer::singleShot(0, &window, &MainWindowBase::firstTimeEvent);
                exitCode = QCoreApplication::exec();
            }
        }
        if (!window.isStartupOk())
            exitCode = static_cast<int>(window.startFailure());
        DocumentsManager::instance().closeSharedMemory();
    } else {
        QThread::msleep(1000);
        // Relay mode shows no window of its own, only a failure; its caller reads its block.
        RelayStart relay(commandLine);
        const bool started = relay.run();
        splash.close();
        if (!started) {
            CustomMessageBox::showError(nullptr,
                                        QObject::tr(
                                            "ID_RESSTR_APPLICATION_MESSAGEUNEXPECTEDERROROCCURRED"),
                                        QObject::tr("ID_RESSTR_CUSTOMMESSAGEBOX_TITLEERROR"));
        }
    }
    return exitCode;
}

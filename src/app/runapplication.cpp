#include "runapplication.h"

#include "mainwindow.h"
#include "splashscreen.h"

#include "base/qvkioskapplication.h"
#include "base/resourcestrings.h"
#include "documents/documentsmanager.h"
#include "platform/fileversion.h"

#include <QObject>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <cstring>

void setApplicationIdentity(const char *appNameId, const QString &version)
{
    QCoreApplication::setApplicationName(QObject::tr(appNameId));
    QCoreApplication::setOrganizationName(QObject::tr("ID_RESSTR_APPLICATION_ORGANIZATION"));
    QCoreApplication::setApplicationVersion(version);
}

int runApplication(int argc, char *argv[], const char *appNameId)
{
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

    SplashScreen splash;
    const bool splashShown = !(argc == 2 && std::strcmp(argv[1], "nonSplash") == 0);
    if (splashShown)
        splash.show();
    QCoreApplication::processEvents();

    int exitCode = 0;
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 5) {
        MainWindow window(arguments, nullptr);
        if (window.isStartupOk()) {
            QThread::msleep(1000);
            window.show();
            if (splashShown)
                splash.finish(&window);
            window.waitForKioskRuntime();
            if (window.isStartupOk()) {
                QTimer::singleShot(0, &window, &MainWindowBase::firstTimeEvent);
                exitCode = QCoreApplication::exec();
            }
        }
        DocumentsManager::instance().closeSharedMemory();
    } else {
        QThread::msleep(1000);
        MainWindow window(arguments, nullptr);
        window.finishRelay();
        if (splashShown)
            splash.finish(&window);
    }
    return exitCode;
}

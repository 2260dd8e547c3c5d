#include "runapplication.h"

#include "base/qvkioskapplication.h"
#include "dialogs/dialogabout.h"
#include "platform/fileversion.h"

#include <QObject>
#include <QTranslator>

bool installResourceStrings(QTranslator &translator)
{
    if (!translator.load(QStringLiteral(":/resource_strings_en")))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

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

    // Until the main window is built, the program introduces itself with its about box.
    DialogAbout about(nullptr);
    about.exec();

    int exitCode = 0;
    return exitCode;
}

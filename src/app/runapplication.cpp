#include "runapplication.h"

#include "base/qvkioskapplication.h"
#include "qvkioskversion.h"

#include <QObject>
#include <QTranslator>

#include <cstdlib>

namespace {

// The four-part version of the program file.
QString programVersion()
{
    return QStringLiteral(QVKIOSK_VERSION);
}

} // namespace

int runApplication(int argc, char *argv[], const char *appNameId)
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QCoreApplication::setAttribute(Qt::AA_DisableHighDpiScaling, true);
    QT_WARNING_POP

    QVKioskApplication application(argc, argv);

    QTranslator translator;
    if (translator.load(QStringLiteral(":/resource_strings_en")))
        QCoreApplication::installTranslator(&translator);

    QCoreApplication::setApplicationName(QObject::tr(appNameId));
    QCoreApplication::setOrganizationName(QObject::tr("ID_RESSTR_APPLICATION_ORGANIZATION"));
    QCoreApplication::setApplicationVersion(programVersion());

    int exitCode = 0;
    return exitCode;
}

#include "resourcestrings.h"

#include <QCoreApplication>
#include <QObject>
#include <QTranslator>

bool installResourceStrings(QTranslator &translator)
{
    if (!translator.load(QStringLiteral(":/resource_strings_en")))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

QString translateText(const QString &identifier)
{
    return QObject::tr(identifier.toUtf8().constData());
}

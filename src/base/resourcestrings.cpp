#include "resourcestrings.h"

#include <QObject>

QString translateText(const QString &identifier)
{
    return QObject::tr(identifier.toUtf8().constData());
}

#include "splashimagesize.h"

#include "base/appfont.h"
#include "base/resourcestrings.h"

#include <QCoreApplication>
#include <QObject>
#include <QStringList>

#include <algorithm>

QSize splashImageSize()
{
    static QSize size;
    if (size.isEmpty())
        size = QSize(std::max(scaledSize(800), 800), std::max(scaledSize(400), 400));
    return size;
}

QString splashVersionLine()
{
    const QString name = translateText(QCoreApplication::applicationName());
    const QStringList parts = QCoreApplication::applicationVersion().split(QLatin1Char('.'));
    const QString version = parts.value(0) + QLatin1Char('.') + parts.value(1) + QLatin1Char('.')
                            + parts.value(2);
    return QObject::tr("ID_RESSTR_DIALOGABOUT_VERSIONFORMAT").arg(name, version);
}

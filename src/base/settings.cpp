#include "settings.h"

#include "logging.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <utility>

namespace {

void report(const QString &line)
{
    qCWarning(lcSettings).noquote() << line;
}

// A file that cannot be read as a whole would be written over with only what was read of it,
// and the recent files lost with the rest: it is kept aside and the program starts afresh.
QString keptAsideWhenDamaged(const QString &fileName)
{
    QSettings check(fileName, QSettings::IniFormat);
    check.contains(QString()); // the file is read, and its status known, on first use
    if (check.status() != QSettings::FormatError)
        return fileName;
    const QString aside = fileName + QStringLiteral(".damaged-")
                          + QDateTime::currentDateTime().toString(
                              QStringLiteral("yyyyMMdd-HHmmss"));
    if (QFile::rename(fileName, aside))
        report(QStringLiteral("the settings file %1 cannot be read; it is kept as %2 and the "
                              "settings start afresh")
                   .arg(fileName, aside));
    else
        report(QStringLiteral("the settings file %1 cannot be read, nor kept aside as %2")
                   .arg(fileName, aside));
    return fileName;
}

} // namespace

QString settingsFilePath()
{
    // Only the folder of this file name is used; the bare identifier (not its translation)
    // keeps the folder the same whatever the translator says.
    const QSettings locator(QSettings::IniFormat,
                            QSettings::UserScope,
                            QStringLiteral("Brennix/QVKiosk"),
                            QStringLiteral("ID_RESSTR_APPLICATION_QVKIOSK"));
    const QString directory = QFileInfo(locator.fileName()).absolutePath();
    const QString baseName = QFileInfo(QCoreApplication::applicationFilePath()).baseName();

    const QStringList parts = QCoreApplication::applicationVersion().split(QLatin1Char('.'));
    auto part = [&parts](int index) {
        const QString value = parts.value(index);
        return value.isEmpty() ? QStringLiteral("0") : value;
    };

    return directory + QStringLiteral("/V") + part(0) + QLatin1Char('.') + part(1)
           + QLatin1Char('/') + baseName + QStringLiteral(".ini");
}

QSettings &settings()
{
    static QSettings store(keptAsideWhenDamaged(settingsFilePath()), QSettings::IniFormat);
    return store;
}

QVariant settingsValue(const QString &key, const QVariant &defaultValue)
{
    return settings().value(key, defaultValue);
}

void setSettingsValue(const QString &key, const QVariant &value)
{
    QSettings &store = settings();
    store.setValue(key, value);
    // Written at once, so that a file that cannot be written is known while someone can
    // still be told.
    store.sync();
    static bool reported = false;
    if (store.status() == QSettings::AccessError && !std::exchange(reported, true))
        report(QStringLiteral("the settings cannot be written to %1").arg(store.fileName()));
}

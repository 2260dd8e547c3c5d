#include "settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

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
    static QSettings store(settingsFilePath(), QSettings::IniFormat);
    return store;
}

QVariant settingsValue(const QString &key, const QVariant &defaultValue)
{
    return settings().value(key, defaultValue);
}

void setSettingsValue(const QString &key, const QVariant &value)
{
    settings().setValue(key, value);
}

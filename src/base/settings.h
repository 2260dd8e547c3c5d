#pragma once

#include <QString>
#include <QVariant>

QT_BEGIN_NAMESPACE
class QSettings;
QT_END_NAMESPACE

// The INI file that holds the program's state: one per major.minor version of the product,
// under the user's configuration folder in "Brennix/QVKiosk". The version is the
// application version; a missing or empty major or minor number counts as 0, so a program
// without a version keeps its settings under "V0.0".
QString settingsFilePath();

// The process-wide settings store, opened on settingsFilePath() on first use.
QSettings &settings();

QVariant settingsValue(const QString &key, const QVariant &defaultValue = QVariant());
void setSettingsValue(const QString &key, const QVariant &value);

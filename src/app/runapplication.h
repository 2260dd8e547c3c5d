#pragma once

#include <QtGlobal>

QT_BEGIN_NAMESPACE
class QString;
class QTranslator;
QT_END_NAMESPACE

// The whole life of the program: start-up, event loop and teardown. appNameId is the
// resource-string identifier of the application name. Returns the process exit code.
int runApplication(int argc, char *argv[], const char *appNameId);

// Loads the compiled resource strings into the translator and installs it; false (and
// nothing installed) when the resource cannot be loaded.
bool installResourceStrings(QTranslator &translator);

// Sets the application name (translated from appNameId), the organisation and the version.
void setApplicationIdentity(const char *appNameId, const QString &version);

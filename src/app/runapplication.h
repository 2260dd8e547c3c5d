#pragma once

#include <QtGlobal>

QT_BEGIN_NAMESPACE
class QString;
QT_END_NAMESPACE

// The whole life of the program: start-up, event loop and teardown. appNameId is the
// resource-string identifier of the application name. Returns the process exit code.
int runApplication(int argc, char *argv[], const char *appNameId);

// Sets the application name (translated from appNameId), the organisation and the version.
void setApplicationIdentity(const char *appNameId, const QString &version);

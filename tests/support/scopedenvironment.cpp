#include "scopedenvironment.h"

#include <QtGlobal>

ScopedEnvironment::ScopedEnvironment(const char *name, const QByteArray &value)
    : variable(name)
    , previous(qgetenv(name))
    , wasSet(qEnvironmentVariableIsSet(name))
{
    qputenv(name, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (wasSet)
        qputenv(variable.constData(), previous);
    else
        qunsetenv(variable.constData());
}

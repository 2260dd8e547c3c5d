#pragma once

#include <QByteArray>

// Sets an environment variable for the object's life, then puts back what was there.
struct ScopedEnvironment final
{
    ScopedEnvironment(const char *name, const QByteArray &value)
        : name(name)
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment() { wasSet ? qputenv(name, previous) : qunsetenv(name); }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

    const char *name;
    const QByteArray previous = qgetenv(name);
    const bool wasSet = qEnvironmentVariableIsSet(name);
};

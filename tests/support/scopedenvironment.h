#pragma once

#include <QByteArray>

// Sets an environment variable for the object's life, then puts back what was there.
class ScopedEnvironment final
{
public:
    ScopedEnvironment(const char *name, const QByteArray &value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    QByteArray variable;
    QByteArray previous;
    bool wasSet = false;
};

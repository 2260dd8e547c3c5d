#pragma once

#include <QByteArray>
#include <QTemporaryFile>

#include <cstdio>
#include <functional>
#include <unistd.h>

// What `action` writes to the file descriptor. QtTest reports on standard output too, so an
// action captured there must not fail a check.
inline QByteArray capturedOutput(int descriptor, const std::function<void()> &action)
{
    QTemporaryFile file;
    if (!file.open())
        return {};
    std::fflush(nullptr);
    const int saved = dup(descriptor);
    dup2(file.handle(), descriptor);
    action();
    std::fflush(nullptr);
    dup2(saved, descriptor);
    ::close(saved);
    return file.seek(0) ? file.readAll() : QByteArray();
}

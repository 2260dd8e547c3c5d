#include "capturedoutput.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

QByteArray capturedOutput(int descriptor, const std::function<void()> &action)
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
    QFile written(file.fileName());
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

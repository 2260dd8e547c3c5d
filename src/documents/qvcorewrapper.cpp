#include "qvcorewrapper.h"

#include "qvcore.h"

QVCoreWrapper::QVCoreWrapper()
    : instance(QVCoreCreateInstance("ANY", "ANY", "ANY"))
{}

QVCoreWrapper::~QVCoreWrapper()
{
    if (instance != nullptr)
        QVCoreReleaseInstance(&instance);
}

std::int32_t QVCoreWrapper::isKioskControllerFile(const char *path, bool &isKioskFile)
{
    isKioskFile = false;
    return QVCoreIsQVKIOSKControllerFile(path, &isKioskFile);
}

std::int32_t QVCoreWrapper::getKioskFileVersion() const
{
    if (instance == nullptr)
        return 0;
    return QVCoreGetConstantskQVCKioskFileVersion(instance);
}

std::int32_t QVCoreWrapper::getFileVersion(const char *path, std::int32_t &version)
{
    if (path == nullptr || instance == nullptr)
        return noInstanceStatus;
    return QVCoreGetBqvcFileVersion(instance, path, &version);
}

bool QVCoreWrapper::getFileOperation(const char *path,
                                     bool &powerUserPermitted,
                                     std::int32_t &fileOperation)
{
    return QVCoreGetBqvcFileOperation(path, &powerUserPermitted, &fileOperation);
}

bool QVCoreWrapper::checkPassCodeAndFileOperation(const char *path,
                                                  const char *code,
                                                  AccessLevel level,
                                                  bool &authenticated,
                                                  bool &powerUserPermitted,
                                                  std::int32_t &fileOperation)
{
    if (path == nullptr || code == nullptr)
        return false;
    return QVCoreCheckBqvcFilePassCodeAndFileOperation(path,
                                                       code,
                                                       static_cast<std::int32_t>(level),
                                                       &authenticated,
                                                       &powerUserPermitted,
                                                       &fileOperation);
}

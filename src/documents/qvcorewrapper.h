#pragma once

#include "accesslevel.h"

#include <cstdint>

struct QVCoreInstance;

// One core-library instance for the length of one open of a controller file. Paths and codes are
// null-terminated UTF-8. Statuses are the library's: -1 means success.
class QVCoreWrapper
{
public:
    // Without an instance the wrapper answers its fall-backs: supported version 0, and 200 from
    // getFileVersion, so every file is refused.
    static constexpr std::int32_t noInstanceStatus = 200;

    QVCoreWrapper();
    virtual ~QVCoreWrapper();
    QVCoreWrapper(const QVCoreWrapper &) = delete;
    QVCoreWrapper &operator=(const QVCoreWrapper &) = delete;

    // Sets isKioskFile to false, then asks the library.
    std::int32_t isKioskControllerFile(const char *path, bool &isKioskFile);
    // 0 when there is no instance.
    std::int32_t getKioskFileVersion() const;
    // noInstanceStatus without asking when path is null or there is no instance.
    std::int32_t getFileVersion(const char *path, std::int32_t &version);
    bool getFileOperation(const char *path, bool &powerUserPermitted, std::int32_t &fileOperation);
    // false without asking when path or code is null.
    bool checkPassCodeAndFileOperation(const char *path,
                                       const char *code,
                                       AccessLevel level,
                                       bool &authenticated,
                                       bool &powerUserPermitted,
                                       std::int32_t &fileOperation);

private:
    QVCoreInstance *instance = nullptr;
};

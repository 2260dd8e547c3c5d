// The exported functions. None lets an exception out: every body is wrapped, and a failure
// answers as "could not read" rather than crossing the C boundary.

#include "qvcore.h"

#include "controllerfilereader.h"

#include <sodium.h>

#include <mutex>
#include <set>

struct QVCoreInstance
{
    int unused = 0;
};

namespace {

// Instances handed out and not yet released: a stale or foreign pointer is never dereferenced.
class InstanceRegistry final
{
public:
    QVCoreInstance *create()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        auto *instance = new QVCoreInstance;
        try {
            live.insert(instance);
        } catch (...) {
            delete instance;
            throw;
        }
        return instance;
    }

    void release(QVCoreInstance *instance)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (live.erase(instance) != 0)
            delete instance;
    }

    bool contains(const QVCoreInstance *instance)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return live.count(instance) != 0;
    }

private:
    std::mutex mutex;
    std::set<const QVCoreInstance *> live;
};

InstanceRegistry &registry()
{
    static InstanceRegistry instances;
    return instances;
}

// The file as the file-operation query and the check see it: read, a kiosk file, and of a
// version whose fields this library knows.
bool readUsableFile(const char *path, qvcore::ControllerFile &file)
{
    qvcore::ControllerFileReading reading = qvcore::readControllerFile(path);
    if (reading.status != QVCORE_STATUS_OK || !reading.isKioskFile || !reading.file.hasKnownLayout())
        return false;
    file = std::move(reading.file);
    return true;
}

} // namespace

extern "C" {

QVCoreInstance *QVCoreCreateInstance(const char *application,
                                     const char *edition,
                                     const char *licence)
{
    try {
        if (application == nullptr || edition == nullptr || licence == nullptr || sodium_init() < 0)
            return nullptr;
        return registry().create();
    } catch (...) {
        return nullptr;
    }
}

void QVCoreReleaseInstance(QVCoreInstance **instance)
{
    try {
        if (instance == nullptr || *instance == nullptr)
            return;
        registry().release(*instance);
        *instance = nullptr;
    } catch (...) {
    }
}

int32_t QVCoreIsQVKIOSKControllerFile(const char *path, bool *isKioskFile)
{
    try {
        if (path == nullptr || isKioskFile == nullptr)
            return QVCORE_STATUS_INVALID_ARGUMENT;
        const qvcore::ControllerFileReading reading = qvcore::readControllerFile(path);
        if (reading.status == QVCORE_STATUS_OK)
            *isKioskFile = reading.isKioskFile;
        return reading.status;
    } catch (...) {
        return QVCORE_STATUS_UNREADABLE;
    }
}

int32_t QVCoreGetConstantskQVCKioskFileVersion(const QVCoreInstance *instance)
{
    try {
        return registry().contains(instance) ? QVCORE_SUPPORTED_KIOSK_FILE_VERSION : 0;
    } catch (...) {
        return 0;
    }
}

int32_t QVCoreGetBqvcFileVersion(const QVCoreInstance *instance, const char *path, int32_t *version)
{
    try {
        if (path == nullptr || version == nullptr || !registry().contains(instance))
            return QVCORE_STATUS_INVALID_ARGUMENT;
        const qvcore::ControllerFileReading reading = qvcore::readControllerFile(path);
        if (reading.status != QVCORE_STATUS_OK)
            return reading.status;
        if (!reading.isKioskFile)
            return QVCORE_STATUS_INVALID_KIOSK_FILE;
        *version = reading.file.version;
        return QVCORE_STATUS_OK;
    } catch (...) {
        return QVCORE_STATUS_UNREADABLE;
    }
}

bool QVCoreGetBqvcFileOperation(const char *path, bool *powerUserPermitted, int32_t *fileOperation)
{
    try {
        qvcore::ControllerFile file;
        if (powerUserPermitted == nullptr || fileOperation == nullptr || !readUsableFile(path, file))
            return false;
        *powerUserPermitted = file.powerUserPermitted;
        *fileOperation = file.fileOperation;
        return true;
    } catch (...) {
        return false;
    }
}

bool QVCoreCheckBqvcFilePassCodeAndFileOperation(const char *path,
                                                 const char *code,
                                                 int32_t level,
                                                 bool *authenticated,
                                                 bool *powerUserPermitted,
                                                 int32_t *fileOperation)
{
    try {
        qvcore::ControllerFile file;
        if (code == nullptr || authenticated == nullptr || powerUserPermitted == nullptr
            || fileOperation == nullptr || !readUsableFile(path, file))
            return false;
        const bool opens = file.opens(level, code);
        *authenticated = opens;
        *powerUserPermitted = file.powerUserPermitted;
        *fileOperation = file.fileOperation;
        return true;
    } catch (...) {
        return false;
    }
}

} // extern "C"

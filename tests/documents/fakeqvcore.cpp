#include "fakeqvcore.h"

#include "qvcore.h"

struct QVCoreInstance
{
    int unused = 0;
};

namespace fakeqvcore {

State &state()
{
    static State current;
    return current;
}

void reset()
{
    state() = State();
}

QVCoreInstance *fakeInstance()
{
    static QVCoreInstance instance;
    return &instance;
}

} // namespace fakeqvcore

using fakeqvcore::state;

extern "C" {

QVCoreInstance *QVCoreCreateInstance(const char *application,
                                     const char *edition,
                                     const char *licence)
{
    state().calls.emplace_back("create");
    state().createArguments = {application, edition, licence};
    return state().createSucceeds ? fakeqvcore::fakeInstance() : nullptr;
}

void QVCoreReleaseInstance(QVCoreInstance **instance)
{
    state().calls.emplace_back("release");
    state().releasedAddress = instance;
    *instance = nullptr;
}

int32_t QVCoreIsQVKIOSKControllerFile(const char *, bool *isKioskFile)
{
    state().calls.emplace_back("isKiosk");
    state().flagOnEntry = *isKioskFile;
    *isKioskFile = true;
    return state().status;
}

int32_t QVCoreGetConstantskQVCKioskFileVersion(const QVCoreInstance *)
{
    state().calls.emplace_back("supportedVersion");
    return state().version;
}

int32_t QVCoreGetBqvcFileVersion(const QVCoreInstance *, const char *, int32_t *version)
{
    state().calls.emplace_back("fileVersion");
    *version = state().version;
    return state().status;
}

bool QVCoreGetBqvcFileOperation(const char *, bool *powerUserPermitted, int32_t *fileOperation)
{
    state().calls.emplace_back("fileOperation");
    *powerUserPermitted = true;
    *fileOperation = 9;
    return true;
}

bool QVCoreCheckBqvcFilePassCodeAndFileOperation(
    const char *, const char *, int32_t level, bool *authenticated, bool *, int32_t *)
{
    state().calls.emplace_back("check");
    state().levelOnEntry = level;
    *authenticated = true;
    return true;
}

} // extern "C"

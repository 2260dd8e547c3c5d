#include "../copieslock.h"

#include <windows.h>

namespace platform {

CopiesLock::CopiesLock(const std::string &, int timeoutMilliseconds)
{
    // In the session's namespace: copies in other sessions open other users' files.
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\Brennix.QVKiosk.InUseGuard");
    if (mutex == nullptr)
        return;
    handle = reinterpret_cast<std::intptr_t>(mutex);
    const DWORD timeout = timeoutMilliseconds > 0 ? DWORD(timeoutMilliseconds) : 0;
    switch (WaitForSingleObject(mutex, timeout)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED: // its holder ended without releasing it; what it guarded is on disk
        held = true;
        break;
    case WAIT_TIMEOUT:
        SetLastError(ERROR_TIMEOUT);
        break;
    default:
        break;
    }
}

CopiesLock::~CopiesLock()
{
    if (handle == -1)
        return;
    const DWORD error = GetLastError();
    const auto mutex = reinterpret_cast<HANDLE>(handle);
    if (held)
        ReleaseMutex(mutex);
    CloseHandle(mutex);
    SetLastError(error);
}

bool CopiesLock::isHeld() const
{
    return held;
}

} // namespace platform

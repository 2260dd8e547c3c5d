#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Held while one copy of this program scans the in-use guard's folder and makes its lock
// folder there, so two copies started together cannot both find a file free. It orders
// processes, not threads: take it once per process and release it on the thread that took it
// (a Windows mutex is its owning thread's, and that thread may take it again at once). Never
// hold it across a dialog: the other copies wait for it.
class CopiesLock final
{
public:
    // POSIX: an exclusive flock on the file "qvkiosk.lock" in `folder` (UTF-8; made 0600,
    // never opened through a link, close-on-exec); Windows: the named mutex
    // "Local\\Brennix.QVKiosk.InUseGuard" (session namespace; `folder` unused). Waits at most
    // `timeoutMilliseconds` for another holder; an abandoned mutex counts as taken.
    CopiesLock(const std::string &folder, int timeoutMilliseconds);
    ~CopiesLock(); // releases it
    CopiesLock(const CopiesLock &) = delete;
    CopiesLock &operator=(const CopiesLock &) = delete;

    // False: not taken (timeout, or the file/mutex could not be made; see lastError()).
    bool isHeld() const;

private:
    std::intptr_t handle = -1; // file descriptor or HANDLE; -1 when none was made
    bool held = false;
};

} // namespace platform

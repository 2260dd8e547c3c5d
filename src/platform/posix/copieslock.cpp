#include "../copieslock.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform {

CopiesLock::CopiesLock(const std::string &folder, int timeoutMilliseconds)
{
    if (folder.empty()) {
        errno = EINVAL;
        return;
    }
    // The file stays in place: unlinking a flock file lets a waiter lock the old file while
    // a newcomer locks a new one of the same name.
    const int fd = open((folder + "/qvkiosk.lock").c_str(),
                        O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                        0600);
    if (fd < 0)
        return;
    handle = fd;
    // Polled rather than a blocking flock, which no timeout can interrupt.
    const auto giveUp = std::chrono::steady_clock::now()
                        + std::chrono::milliseconds(timeoutMilliseconds);
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            held = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            return;
        if (std::chrono::steady_clock::now() >= giveUp) {
            errno = ETIMEDOUT;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

CopiesLock::~CopiesLock()
{
    // Closing the only descriptor of the open file drops the flock.
    if (handle >= 0) {
        const int error = errno;
        close(static_cast<int>(handle));
        errno = error;
    }
}

bool CopiesLock::isHeld() const
{
    return held;
}

} // namespace platform

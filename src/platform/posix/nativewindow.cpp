#include "../nativewindow.h"

#include <cerrno>

namespace platform {

bool openSystemMenu(std::uintptr_t, int, int)
{
    errno = ENOSYS;
    return false;
}

bool bringWindowToFront(std::uintptr_t)
{
    errno = ENOSYS;
    return false;
}

} // namespace platform

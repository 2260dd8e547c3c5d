#include "../lasterror.h"

#include <cerrno>

namespace platform {

std::uint32_t lastError()
{
    return static_cast<std::uint32_t>(errno);
}

bool lastErrorIsAccessDenied()
{
    return errno == EACCES;
}

void setInvalidArgumentError()
{
    errno = EINVAL;
}

void setAlreadyExistsError()
{
    errno = EEXIST;
}

} // namespace platform

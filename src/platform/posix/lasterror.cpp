#include "../lasterror.h"

#include <cerrno>
#include <cstring>

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

std::string errorText(std::uint32_t code)
{
    return std::strerror(static_cast<int>(code));
}

} // namespace platform

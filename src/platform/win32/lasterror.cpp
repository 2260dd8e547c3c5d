#include "../lasterror.h"

#include <windows.h>

namespace platform {

std::uint32_t lastError()
{
    return static_cast<std::uint32_t>(GetLastError());
}

bool lastErrorIsAccessDenied()
{
    return GetLastError() == ERROR_ACCESS_DENIED;
}

void setInvalidArgumentError()
{
    SetLastError(ERROR_INVALID_PARAMETER);
}

void setAlreadyExistsError()
{
    SetLastError(ERROR_ALREADY_EXISTS);
}

} // namespace platform

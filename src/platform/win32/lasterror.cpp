#include "../lasterror.h"

#include "../text.h"

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

std::string errorText(std::uint32_t code)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr,
                                        code,
                                        0,
                                        reinterpret_cast<wchar_t *>(&buffer),
                                        0,
                                        nullptr);
    if (buffer == nullptr)
        return {};
    std::u16string units(reinterpret_cast<const char16_t *>(buffer), length);
    LocalFree(buffer);
    // The system ends its texts with a line break.
    while (!units.empty()
           && (units.back() == u'\n' || units.back() == u'\r' || units.back() == u'.'))
        units.pop_back();
    std::string text;
    utf16ToUtf8(units, text);
    return text;
}

} // namespace platform

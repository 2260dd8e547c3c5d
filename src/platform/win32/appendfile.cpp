#include "../appendfile.h"

#include "../text.h"

#include <windows.h>

namespace platform {

bool appendWhole(const std::string &fileName, const std::string &data)
{
    std::u16string wide;
    if (!utf8ToUtf16(fileName, wide)) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(wide.c_str()),
                                    FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr,
                                    OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    const DWORD error = ok ? ERROR_WRITE_FAULT : GetLastError();
    CloseHandle(file);
    if (ok && written == data.size())
        return true;
    SetLastError(error);
    return false;
}

std::string userStateFolder()
{
    const wchar_t *local = _wgetenv(L"LOCALAPPDATA");
    std::string utf8;
    if (local == nullptr
        || !utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t *>(local)), utf8))
        return {};
    return utf8;
}

} // namespace platform

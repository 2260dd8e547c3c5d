#include "../currentprocess.h"

#include "../text.h"

#include <windows.h>

namespace platform {

namespace {

bool toWide(const std::string &utf8, std::u16string &wide)
{
    if (!utf8ToUtf16(utf8, wide) || wide.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

} // namespace

std::uint32_t currentProcessId()
{
    return static_cast<std::uint32_t>(GetCurrentProcessId());
}

std::string executablePath()
{
    // Grow the buffer until the path fits: GetModuleFileNameW truncates silently.
    std::u16string buffer(MAX_PATH, u'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr,
                                                reinterpret_cast<wchar_t *>(buffer.data()),
                                                static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    std::string path;
    return utf16ToUtf8(buffer, path) ? path : std::string();
}

char folderSeparator()
{
    return '\\';
}

bool setCurrentFolder(const std::string &folder)
{
    std::u16string wide;
    return toWide(folder, wide)
           && SetCurrentDirectoryW(reinterpret_cast<const wchar_t *>(wide.c_str())) != 0;
}

bool fileExists(const std::string &path)
{
    std::u16string wide;
    if (!toWide(path, wide))
        return false;
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t *>(wide.c_str()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace platform

#include "../processlist.h"

#include "../text.h"

#include <windows.h>

#include <tlhelp32.h>

namespace platform {

std::vector<std::uint32_t> processIdsByExecutableName(const std::string &fileName)
{
    std::vector<std::uint32_t> ids;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        std::string name;
        if (utf16ToUtf8(reinterpret_cast<const char16_t *>(entry.szExeFile), name)
            && name == fileName)
            ids.push_back(static_cast<std::uint32_t>(entry.th32ProcessID));
    }
    CloseHandle(snapshot);
    return ids;
}

bool isProcessRunning(std::uint32_t processId)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) != 0 && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

std::int64_t processStartTime(std::uint32_t processId)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return 0;
    // An ended process keeps its times while any handle to it is open: ask whether it runs.
    DWORD code = 0;
    FILETIME creation = {};
    FILETIME exit = {};
    FILETIME kernel = {};
    FILETIME user = {};
    const bool known = GetExitCodeProcess(process, &code) != 0 && code == STILL_ACTIVE
                       && GetProcessTimes(process, &creation, &exit, &kernel, &user) != 0;
    CloseHandle(process);
    if (!known)
        return 0;
    // FILETIME counts 100 ns from 1601-01-01, 11,644,473,600 s before 1970-01-01.
    const std::uint64_t ticks = (std::uint64_t(creation.dwHighDateTime) << 32)
                                | creation.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / 10000) - 11644473600000;
}

} // namespace platform

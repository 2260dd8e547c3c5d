#include "../runtimelauncher.h"

#include "../text.h"

#include <windows.h>

namespace platform {

namespace {

bool createProcess(const std::string &program,
                   std::u16string commandLine,
                   DWORD flags,
                   std::uint32_t *processId)
{
    std::u16string application;
    if (commandLine.empty() || !utf8ToUtf16(program, application) || application.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION information = {};
    // CreateProcessW may write into the command line, so it gets its own copy.
    if (!CreateProcessW(reinterpret_cast<const wchar_t *>(application.c_str()),
                        reinterpret_cast<wchar_t *>(commandLine.data()),
                        nullptr,
                        nullptr,
                        FALSE,
                        flags,
                        nullptr,
                        nullptr,
                        &startup,
                        &information))
        return false;
    CloseHandle(information.hThread);
    CloseHandle(information.hProcess);
    if (processId != nullptr)
        *processId = static_cast<std::uint32_t>(information.dwProcessId);
    return true;
}

} // namespace

std::string runtimeFileName()
{
    return "qvkioskcore.exe";
}

bool startStandbyRuntime(const std::string &blockName,
                         std::uint32_t blockSize,
                         std::uint32_t *processId,
                         const std::string &program)
{
    return createProcess(program.empty() ? runtimeFileName() : program,
                         standbyCommandLine(blockName, blockSize),
                         0,
                         processId);
}

bool startRelayRuntime(const std::string &a1,
                       const std::string &a2,
                       std::uint32_t *processId,
                       const std::string &program)
{
    return createProcess(program.empty() ? runtimeFileName() : program,
                         relayCommandLine(a1, a2),
                         NORMAL_PRIORITY_CLASS,
                         processId);
}

} // namespace platform

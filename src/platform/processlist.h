#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The ids of the running processes whose executable file name (without folder, UTF-8) is
// exactly `fileName`; exited processes are never listed. On POSIX a process whose executable
// cannot be read (another user's) is matched by its 15-character command name. Empty when
// no snapshot can be taken.
std::vector<std::uint32_t> processIdsByExecutableName(const std::string &fileName);

// Whether a process with this id is running (not exited, not a zombie).
bool isProcessRunning(std::uint32_t processId);

// When the process started, in milliseconds since 1970-01-01 UTC; 0 when it does not run or its
// start cannot be read.
std::int64_t processStartTime(std::uint32_t processId);

} // namespace platform

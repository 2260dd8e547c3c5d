#pragma once

#include "platform/currentprocess.h"
#include "platform/sharedmemoryblock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace testsupport {

// The helper executable built beside the test program.
std::string helperPath();

// A block name (carrying `pid`) that no other test of this process uses.
std::string uniqueBlockName(std::uint32_t pid = platform::currentProcessId());

// Polls `condition` every few milliseconds for at most twenty seconds.
bool waitFor(const std::function<bool()> &condition);

// Hands `path` to the runtime serving `requestName` as the front-end does: a new `pathBlock`,
// then all 260 bytes of the request block (code "1234", ready and accepted 0).
bool handOver(const std::string &requestName,
              const std::u16string &path,
              platform::SharedMemoryBlock &pathBlock,
              int level = 1);

// One 32-bit status word of the request block `name`; 0 when it cannot be read.
std::uint32_t statusWord(const std::string &name, std::size_t offset);

// A block of someone else's at `name` (POSIX: open to others; Windows: granting nobody
// access), removed with the result.
std::shared_ptr<void> squatBlock(const std::string &name);

} // namespace testsupport

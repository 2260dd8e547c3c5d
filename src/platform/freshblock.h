#pragma once

#include "sharedmemoryblock.h"

#include <cstddef>
#include <cstdint>
#include <ctime>

namespace platform {

class BlockNameGenerator;

// How many names createFreshBlock tries in all before it gives up.
constexpr int freshBlockNameAttempts = 8;

// A new block of `size` bytes under the next name that `generator` gives for `localTime` and
// `processId`; name() tells which. Block names are predictable, so another local user may
// hold the next ones already: a name whose block exists already, or is refused because it is
// not ours (another user's, or open to others), is passed over for a fresh one,
// freshBlockNameAttempts names at most. On failure the result is not open; see lastError().
SharedMemoryBlock createFreshBlock(BlockNameGenerator &generator,
                                   const std::tm &localTime,
                                   std::uint32_t processId,
                                   std::size_t size);

} // namespace platform

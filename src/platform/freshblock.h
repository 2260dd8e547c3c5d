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
// `processId`; name() tells which. The plain first name of a second is predictable, so another
// local user may have planted something there (a block of theirs, one open to others, a
// folder, a link): a name whose block exists already or that is refused for any reason is
// passed over for the generator's next, random one, freshBlockNameAttempts names at most. On
// failure the result is not open; see lastError() (of the last name tried).
SharedMemoryBlock createFreshBlock(BlockNameGenerator &generator,
                                   const std::tm &localTime,
                                   std::uint32_t processId,
                                   std::size_t size);

} // namespace platform

#pragma once

#include <cstddef>

namespace platform {

// POSIX: removes this user's leftover blocks of front-ends that no longer run, i.e. blocks
// whose name is a block name (see blockname.h) with a process id that is not running.
// Windows drops a block with its last handle, so there is nothing to do there. Returns how
// many were removed.
std::size_t removeStaleBlocks();

} // namespace platform

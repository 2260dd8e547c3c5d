#include "../staleblocks.h"

namespace platform {

std::size_t removeStaleBlocks()
{
    return 0;
}

} // namespace platform

#include "freshblock.h"

#include "blockname.h"
#include "lasterror.h"

#include <string>

namespace platform {

SharedMemoryBlock createFreshBlock(BlockNameGenerator &generator,
                                   const std::tm &localTime,
                                   std::uint32_t processId,
                                   std::size_t size)
{
    for (int attempt = 0; attempt < freshBlockNameAttempts; ++attempt) {
        const std::string name = generator.next(localTime, processId);
        if (name.empty()) {
            setInvalidArgumentError();
            return {};
        }
        SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, size);
        if (block.isOpen() || !lastErrorIsAccessDenied())
            return block;
    }
    return {};
}

} // namespace platform

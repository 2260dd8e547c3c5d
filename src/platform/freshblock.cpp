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
        if (name.empty())
            return {};
        SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, size);
        if (block.isOpen() && !block.existed())
            return block;
        // A block that was there already is someone else's (the runtime would read what they
        // put in it). Whatever the refusal, a planted name must not stop every start.
        if (block.isOpen()) {
            block.close();
            setAlreadyExistsError();
        }
    }
    return {};
}

} // namespace platform

#include "sharedmemoryblock.h"

#include "text.h"

#include <utility>

namespace platform {

SharedMemoryBlock::~SharedMemoryBlock()
{
    close();
}

SharedMemoryBlock::SharedMemoryBlock(SharedMemoryBlock &&other) noexcept
    : handle(other.handle)
    , blockName(std::move(other.blockName))
    , opened(std::exchange(other.opened, false))
    , existedBefore(std::exchange(other.existedBefore, false))
    , createdHere(std::exchange(other.createdHere, false))
    , createdSize(std::exchange(other.createdSize, 0))
{}

SharedMemoryBlock &SharedMemoryBlock::operator=(SharedMemoryBlock &&other) noexcept
{
    if (this != &other) {
        close();
        handle = other.handle;
        blockName = std::move(other.blockName);
        opened = std::exchange(other.opened, false);
        existedBefore = std::exchange(other.existedBefore, false);
        createdHere = std::exchange(other.createdHere, false);
        createdSize = std::exchange(other.createdSize, 0);
    }
    return *this;
}

bool SharedMemoryBlock::isValidName(const std::string &name)
{
    if (name.empty() || name.size() > maxNameLength)
        return false;
    if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
        return false;
    std::u16string wide;
    return utf8ToUtf16(name, wide);
}

} // namespace platform

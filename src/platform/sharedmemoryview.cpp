#include "sharedmemoryview.h"

#include <utility>

namespace platform {

SharedMemoryView::~SharedMemoryView()
{
    unmap();
}

SharedMemoryView::SharedMemoryView(SharedMemoryView &&other) noexcept
    : address(std::exchange(other.address, nullptr))
    , length(std::exchange(other.length, 0))
{}

SharedMemoryView &SharedMemoryView::operator=(SharedMemoryView &&other) noexcept
{
    if (this != &other) {
        unmap();
        address = std::exchange(other.address, nullptr);
        length = std::exchange(other.length, 0);
    }
    return *this;
}

} // namespace platform

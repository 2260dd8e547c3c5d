#include "../sharedmemoryview.h"

#include "../sharedmemoryblock.h"

#include <cerrno>
#include <sys/mman.h>

namespace platform {

SharedMemoryView SharedMemoryView::map(const SharedMemoryBlock &block, std::size_t size)
{
    SharedMemoryView view;
    if (!block.isOpen() || size == 0) {
        errno = EINVAL;
        return view;
    }
    const long long available = block.currentSize();
    if (available < 0)
        return view;
    // Touching a page past the object's end raises SIGBUS; Windows refuses such a view too.
    if (static_cast<unsigned long long>(available) < size) {
        errno = EINVAL;
        return view;
    }
    void *address = mmap(nullptr,
                         size,
                         PROT_READ | PROT_WRITE,
                         MAP_SHARED,
                         static_cast<int>(block.handle),
                         0);
    if (address == MAP_FAILED)
        return view;
    view.address = static_cast<unsigned char *>(address);
    view.length = size;
    return view;
}

void SharedMemoryView::unmap()
{
    if (address == nullptr)
        return;
    const int error = errno;
    munmap(address, length);
    errno = error;
    address = nullptr;
    length = 0;
}

} // namespace platform

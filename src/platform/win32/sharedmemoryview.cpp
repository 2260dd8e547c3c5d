#include "../sharedmemoryview.h"

#include "../sharedmemoryblock.h"

#include <windows.h>

namespace platform {

SharedMemoryView SharedMemoryView::map(const SharedMemoryBlock &block, std::size_t size)
{
    SharedMemoryView view;
    if (!block.isOpen() || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return view;
    }
    const auto mapping = reinterpret_cast<HANDLE>(block.handle);
    // Unknown (-1): MapViewOfFile itself refuses a view past the end.
    const long long available = block.currentSize();
    if (available >= 0 && static_cast<unsigned long long>(available) < size) {
        SetLastError(ERROR_ACCESS_DENIED); // what Windows answers for a view past the end
        return view;
    }
    void *address = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, size);
    if (address == nullptr)
        return view;
    view.address = static_cast<unsigned char *>(address);
    view.length = size;
    return view;
}

void SharedMemoryView::unmap()
{
    if (address == nullptr)
        return;
    const DWORD error = GetLastError();
    UnmapViewOfFile(address);
    SetLastError(error);
    address = nullptr;
    length = 0;
}

} // namespace platform

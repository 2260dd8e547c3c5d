#include "../sharedmemoryview.h"

#include "../sharedmemoryblock.h"

#include <windows.h>

namespace platform {

namespace {

// NtQuerySection's answer for SectionBasicInformation (class 0).
struct SectionBasicInformation
{
    void *baseAddress;
    ULONG attributes;
    LARGE_INTEGER size;
};

using NtQuerySectionFunction = LONG(NTAPI *)(HANDLE, int, void *, SIZE_T, SIZE_T *);

// The size of a mapping, or -1 when it cannot be asked. Wine checks a view only against
// whole pages (and reports the size rounded up to them), so for a block made elsewhere a
// view past its end is refused only from the next page on; blocks made by this handle are
// checked against their exact size.
long long mappingSize(HANDLE mapping)
{
    static const auto query = reinterpret_cast<NtQuerySectionFunction>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySection")));
    if (query == nullptr)
        return -1;
    SectionBasicInformation information = {};
    if (query(mapping, 0, &information, sizeof information, nullptr) != 0)
        return -1;
    return information.size.QuadPart;
}

} // namespace

SharedMemoryView SharedMemoryView::map(const SharedMemoryBlock &block, std::size_t size)
{
    SharedMemoryView view;
    if (!block.isOpen() || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return view;
    }
    const auto mapping = reinterpret_cast<HANDLE>(block.handle);
    const long long available = block.createdSize != 0 ? static_cast<long long>(block.createdSize)
                                                       : mappingSize(mapping);
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

#include "../sharedmemoryblock.h"

#include "../text.h"

#include <windows.h>

namespace platform {

namespace {

bool wideName(const std::string &name, std::u16string &wide)
{
    if (!SharedMemoryBlock::isValidName(name) || !utf8ToUtf16(name, wide)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

// NtQuerySection's answer for SectionBasicInformation (class 0).
struct SectionBasicInformation
{
    void *baseAddress;
    ULONG attributes;
    LARGE_INTEGER size;
};

using NtQuerySectionFunction = LONG(NTAPI *)(HANDLE, int, void *, SIZE_T, SIZE_T *);

long long sectionSize(HANDLE mapping)
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

SharedMemoryBlock SharedMemoryBlock::createOrOpen(const std::string &name, std::size_t size)
{
    SharedMemoryBlock block;
    std::u16string wide;
    if (!wideName(name, wide))
        return block;
    if (size == 0 || size > 0x7FFFFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return block;
    }
    // Page-file backed, committed at creation; an existing mapping of that name is opened.
    const HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE,
                                              nullptr,
                                              PAGE_READWRITE | SEC_COMMIT,
                                              0,
                                              static_cast<DWORD>(size),
                                              reinterpret_cast<const wchar_t *>(wide.c_str()));
    if (mapping == nullptr)
        return block;
    block.existedBefore = GetLastError() == ERROR_ALREADY_EXISTS;
    block.createdHere = !block.existedBefore;
    block.createdSize = block.createdHere ? size : 0;
    block.handle = reinterpret_cast<std::intptr_t>(mapping);
    block.opened = true;
    block.blockName = name;
    return block;
}

SharedMemoryBlock SharedMemoryBlock::openExisting(const std::string &name)
{
    SharedMemoryBlock block;
    std::u16string wide;
    if (!wideName(name, wide))
        return block;
    const HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS,
                                            FALSE,
                                            reinterpret_cast<const wchar_t *>(wide.c_str()));
    if (mapping == nullptr)
        return block;
    block.handle = reinterpret_cast<std::intptr_t>(mapping);
    block.opened = true;
    block.existedBefore = true;
    block.blockName = name;
    return block;
}

long long SharedMemoryBlock::currentSize() const
{
    if (!opened) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    // Wine checks a view only against whole pages (and reports the size rounded up to them),
    // so for a block made elsewhere a view past its end is refused only from the next page
    // on; blocks made by this handle are checked against their exact size.
    if (createdSize != 0)
        return static_cast<long long>(createdSize);
    return sectionSize(reinterpret_cast<HANDLE>(handle));
}

void SharedMemoryBlock::close()
{
    if (!opened)
        return;
    const DWORD error = GetLastError();
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    SetLastError(error);
    opened = false;
    createdHere = false;
    createdSize = 0;
    existedBefore = false;
    handle = 0;
    blockName.clear();
}

} // namespace platform

#include "testsupport.h"

#include "platform/blockname.h"
#include "platform/localtime.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryview.h"

#include <chrono>
#include <cstring>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace testsupport {

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;
using platform::SharedMemoryView;

std::string helperPath()
{
    const std::string self = platform::executablePath();
    const bool exe = self.size() > 4 && self.compare(self.size() - 4, 4, ".exe") == 0;
    return platform::folderOf(self) + platform::folderSeparator() + "testhelper"
           + (exe ? ".exe" : "");
}

std::string uniqueBlockName(std::uint32_t pid)
{
    static platform::BlockNameGenerator generator;
    std::tm now = {};
    platform::localTimeNow(now);
    return generator.next(now, pid);
}

bool waitFor(const std::function<bool()> &condition)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool handOver(const std::string &requestName,
              const std::u16string &path,
              SharedMemoryBlock &pathBlock,
              int level)
{
    const std::string pathName = uniqueBlockName();
    const std::uint32_t bytes = RuntimeRequest::pathBlockBytes(path.size());
    pathBlock = SharedMemoryBlock::createOrOpen(pathName, bytes);
    const SharedMemoryView pathView = SharedMemoryView::map(pathBlock, bytes);
    if (!pathView.isMapped())
        return false;
    std::memcpy(pathView.data(), path.data(), bytes);
    // The size field counts 4 per UTF-16 unit.
    const RuntimeRequest request{u"1234",
                                 RuntimeRequest::accessLevelText(level),
                                 std::u16string(pathName.begin(), pathName.end()),
                                 2 * bytes};
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(requestName, 260);
    const SharedMemoryView view = SharedMemoryView::map(block, 260);
    return view.isMapped() && request.encode(view.data());
}

std::uint32_t statusWord(const std::string &name, std::size_t offset)
{
    const SharedMemoryBlock block = SharedMemoryBlock::openExisting(name);
    const SharedMemoryView view = SharedMemoryView::map(block, 260);
    return view.isMapped() ? RuntimeRequest::loadWord(view.data(), offset) : 0;
}

std::shared_ptr<void> squatBlock(const std::string &name)
{
#ifdef _WIN32
    // A security descriptor with an empty access list grants nobody anything.
    SECURITY_DESCRIPTOR security;
    ACL acl;
    InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    SetSecurityDescriptorDacl(&security, TRUE, &acl, FALSE);
    SECURITY_ATTRIBUTES denied = {static_cast<DWORD>(sizeof denied), &security, FALSE};
    const std::wstring wide(name.begin(), name.end());
    const HANDLE mapping
        = CreateFileMappingW(INVALID_HANDLE_VALUE, &denied, PAGE_READWRITE, 0, 4096, wide.c_str());
    return std::shared_ptr<void>(mapping, [](HANDLE handle) { CloseHandle(handle); });
#else
    const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd >= 0 && (fchmod(fd, 0644) != 0 || ftruncate(fd, 4096) != 0 || close(fd) != 0))
        return nullptr;
    return std::shared_ptr<void>(nullptr, [name](void *) { shm_unlink(("/" + name).c_str()); });
#endif
}

} // namespace testsupport

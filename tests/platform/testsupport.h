#pragma once

#include "platform/blockname.h"
#include "platform/currentprocess.h"
#include "platform/localtime.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryblock.h"
#include "platform/sharedmemoryview.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace testsupport {

// The helper executable built beside the test program.
inline std::string helperPath()
{
    const std::string self = platform::executablePath();
    const bool exe = self.size() > 4 && self.compare(self.size() - 4, 4, ".exe") == 0;
    return platform::folderOf(self) + platform::folderSeparator() + "testhelper"
           + (exe ? ".exe" : "");
}

// A block name (carrying `pid`) that no other test of this process uses.
inline std::string uniqueBlockName(std::uint32_t pid = platform::currentProcessId())
{
    static platform::BlockNameGenerator generator;
    std::tm now = {};
    platform::localTimeNow(now);
    return generator.next(now, pid);
}

// Polls `condition` every few milliseconds for at most twenty seconds.
inline bool waitFor(const std::function<bool()> &condition)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Hands `path` to the runtime serving `requestName` as the front-end does: a new `pathBlock`,
// then all 260 bytes of the request block (code "1234", ready and accepted 0).
inline bool handOver(const std::string &requestName,
                     const std::u16string &path,
                     platform::SharedMemoryBlock &pathBlock,
                     int level = 1)
{
    using platform::RuntimeRequest, platform::SharedMemoryBlock, platform::SharedMemoryView;
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

// One 32-bit status word of the request block `name`; 0 when it cannot be read.
inline std::uint32_t statusWord(const std::string &name, std::size_t offset)
{
    const platform::SharedMemoryBlock block = platform::SharedMemoryBlock::openExisting(name);
    const platform::SharedMemoryView view = platform::SharedMemoryView::map(block, 260);
    return view.isMapped() ? platform::RuntimeRequest::loadWord(view.data(), offset) : 0;
}

} // namespace testsupport

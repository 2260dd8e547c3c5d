#include "testsupport.h"

#include "platform/blockname.h"
#include "platform/currentprocess.h"
#include "platform/localtime.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryview.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <list>
#include <sstream>
#include <thread>

namespace testsupport {

std::string helperPath()
{
    const std::string self = platform::executablePath();
    const std::string name = platform::fileNameOf(self);
    const bool exe = name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0;
    return platform::folderOf(self) + platform::folderSeparator() + "platformhelper"
           + (exe ? ".exe" : "");
}

std::string uniqueBlockName()
{
    static platform::BlockNameGenerator generator;
    std::tm now = {};
    platform::localTimeNow(now);
    return generator.next(now, platform::currentProcessId());
}

bool waitFor(const std::function<bool()> &condition)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool handOver(const std::string &requestName, const std::u16string &path, Handoff &handoff)
{
    using platform::RuntimeRequest;
    const std::string pathName = uniqueBlockName();
    const std::uint32_t bytes = RuntimeRequest::pathBlockBytes(path.size());
    handoff.pathBlock = platform::SharedMemoryBlock::createOrOpen(pathName, bytes);
    if (!handoff.pathBlock.isOpen())
        return false;
    {
        const platform::SharedMemoryView view = platform::SharedMemoryView::map(handoff.pathBlock,
                                                                                bytes);
        if (!view.isMapped())
            return false;
        std::memcpy(view.data(), path.data(), bytes);
    }
    RuntimeRequest request;
    request.code = u"1234";
    request.accessLevel = RuntimeRequest::accessLevelText(1);
    request.pathBlockName = std::u16string(pathName.begin(), pathName.end());
    request.pathBlockSize = 2 * bytes;
    unsigned char data[RuntimeRequest::blockSize];
    if (!request.encode(data))
        return false;
    const platform::SharedMemoryBlock block = platform::SharedMemoryBlock::createOrOpen(requestName,
                                                                                        260);
    const platform::SharedMemoryView view = platform::SharedMemoryView::map(block, 260);
    if (!view.isMapped())
        return false;
    std::memcpy(view.data(), data, sizeof data);
    return true;
}

std::uint32_t statusWord(const std::string &name, std::size_t offset)
{
    const platform::SharedMemoryBlock block = platform::SharedMemoryBlock::openExisting(name);
    const platform::SharedMemoryView view = platform::SharedMemoryView::map(block, 260);
    return view.isMapped() ? platform::RuntimeRequest::loadWord(view.data(), offset) : 0;
}

void setEnvironment(const std::string &name, const std::string &value)
{
    // putenv keeps the string itself, so it must live on.
    static std::list<std::string> kept;
    kept.push_back(name + "=" + value);
    putenv(kept.back().data());
}

std::string readFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace testsupport

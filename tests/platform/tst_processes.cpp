#include "testsupport.h"

#include "platform/currentprocess.h"
#include "platform/lasterror.h"
#include "platform/processlist.h"
#include "platform/relayreport.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryblock.h"
#include "platform/sharedmemoryview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;
using namespace testsupport;

namespace {

bool listed(const std::string &fileName, std::uint32_t id)
{
    const std::vector<std::uint32_t> ids = platform::processIdsByExecutableName(fileName);
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool isReady(const std::string &name)
{
    return waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; });
}

} // namespace

TEST(CurrentProcess, FindsItsOwnFilesAndChangesFolder)
{
    const std::string folder = platform::folderOf(platform::executablePath());
    EXPECT_TRUE(platform::fileExists(helperPath())) << helperPath();
    EXPECT_FALSE(platform::fileExists(folder)); // a folder is not a file
    EXPECT_TRUE(platform::setCurrentFolder(folder));
    EXPECT_TRUE(platform::fileExists(platform::fileNameOf(helperPath())));
    EXPECT_FALSE(platform::setCurrentFolder(folder + platform::folderSeparator() + "missing"));
    EXPECT_FALSE(platform::setCurrentFolder(""));
}

TEST(Processes, RuntimeAndFrontEndExchangeReadyAndAccepted)
{
    const std::string record = "record-" + std::to_string(platform::currentProcessId()) + ".jsonl";
    std::remove(record.c_str());
    setEnvironment("QVKIOSKCORE_RECORD", record);
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startStandbyRuntime(name, 260, &pid, helperPath()))
        << platform::lastError();
    ASSERT_TRUE(isReady(name));
    EXPECT_EQ(statusWord(name, RuntimeRequest::acceptedOffset), 0u);

    // Outside ASCII, with a surrogate pair: the path must reach the runtime exactly.
    Handoff handoff;
    ASSERT_TRUE(handOver(name, u"C:\\Kiosk\\\u00E9t\u00E9 \xD83D\xDE00.qvksk", handoff));
    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::acceptedOffset) != 0; }));
    ASSERT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
    EXPECT_EQ(readFile(record),
              "{\"code\":\"1234\",\"level\":\"Administrator\",\"path\":\"C:\\\\Kiosk\\\\"
              "\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80.qvksk\",\"pathBlockName\":\""
                  + handoff.pathBlock.name() + "\",\"pid\":" + std::to_string(pid) + "}\n");
    setEnvironment("QVKIOSKCORE_RECORD", ""); // later runtimes of this process record nothing
    std::remove(record.c_str());
}

TEST(Processes, ListingFindsTheRuntimeByFileNameAndNotAfterItExited)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startStandbyRuntime(name, 260, &pid, helperPath()));
    ASSERT_TRUE(isReady(name));
    const std::string fileName = platform::fileNameOf(helperPath());
    EXPECT_TRUE(listed(fileName, pid));
    EXPECT_FALSE(listed("x" + fileName, pid));
    ASSERT_TRUE(stopHelper(name, pid));
    EXPECT_FALSE(listed(fileName, pid));
}

TEST(Processes, RelayReportsTheStartedRuntimesIdIntoTheCallersBlock)
{
    const std::string requestName = uniqueBlockName();
    const SharedMemoryBlock requestBlock = SharedMemoryBlock::createOrOpen(requestName, 260);
    const std::string callerName = uniqueBlockName();
    const SharedMemoryBlock callerBlock = SharedMemoryBlock::createOrOpen(callerName, 4);
    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startRelayRuntime(requestName, "260", &pid, helperPath()));
    ASSERT_TRUE(platform::reportRelayedProcessId(callerName, "4", pid));
    const platform::SharedMemoryView view = platform::SharedMemoryView::map(callerBlock, 4);
    ASSERT_TRUE(view.isMapped());
    EXPECT_EQ(RuntimeRequest::loadWord(view.data(), 0), pid);
    // The id is the one of the process that serves the request block and ends after one.
    ASSERT_TRUE(isReady(requestName));
    EXPECT_TRUE(platform::isProcessRunning(pid));
    EXPECT_TRUE(stopHelper(requestName, pid));
}

TEST(Processes, AMissingProgramIsReportedAsAFailure)
{
    const std::string missing = platform::folderOf(helperPath()) + platform::folderSeparator()
                                + "no-such-runtime";
    EXPECT_FALSE(platform::startStandbyRuntime(uniqueBlockName(), 260, nullptr, missing));
    EXPECT_NE(platform::lastError(), 0u);
    EXPECT_FALSE(platform::startRelayRuntime("a", "b", nullptr, missing));
}

TEST(Processes, IsProcessRunningRefusesIdsThatNameNoProcess)
{
    EXPECT_TRUE(platform::isProcessRunning(platform::currentProcessId()));
    EXPECT_FALSE(platform::isProcessRunning(0));
    EXPECT_FALSE(platform::isProcessRunning(0xFFFFFFFFu));
}

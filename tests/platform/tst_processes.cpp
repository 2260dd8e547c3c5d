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
using platform::SharedMemoryView;
using namespace testsupport;

namespace {

bool contains(const std::vector<std::uint32_t> &ids, std::uint32_t id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// A zeroed request block, as the front-end makes it at start.
SharedMemoryBlock makeRequestBlock(const std::string &name)
{
    SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, RuntimeRequest::blockSize);
    return block;
}

std::string recordFileName(const char *test)
{
    const std::string name = std::string("record-") + test + "-"
                             + std::to_string(platform::currentProcessId()) + ".jsonl";
    std::remove(name.c_str());
    return name;
}

} // namespace

TEST(CurrentProcess, KnowsItsExecutableAndId)
{
    const std::string path = platform::executablePath();
    EXPECT_NE(platform::fileNameOf(path).find("tst_platform"), std::string::npos) << path;
    EXPECT_TRUE(platform::fileExists(path));
    EXPECT_FALSE(platform::fileExists(platform::folderOf(path))); // a folder is not a file
    EXPECT_TRUE(platform::fileExists(helperPath())) << helperPath();
    EXPECT_TRUE(contains(platform::processIdsByExecutableName(platform::fileNameOf(path)),
                         platform::currentProcessId()));
}

TEST(CurrentProcess, ChangesTheCurrentFolder)
{
    const std::string folder = platform::folderOf(platform::executablePath());
    EXPECT_TRUE(platform::setCurrentFolder(folder));
    EXPECT_TRUE(platform::fileExists(platform::fileNameOf(helperPath())));
    EXPECT_FALSE(
        platform::setCurrentFolder(folder + platform::folderSeparator() + "no such folder"));
    EXPECT_FALSE(platform::setCurrentFolder(""));
}

TEST(Processes, RuntimeAndFrontEndExchangeReadyAndAccepted)
{
    const std::string record = recordFileName("exchange");
    setEnvironment("QVKIOSKCORE_RECORD", record);
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = makeRequestBlock(name);
    ASSERT_TRUE(block.isOpen()) << platform::lastError();

    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startStandbyRuntime(name, 260, &pid, helperPath()))
        << platform::lastError();
    EXPECT_NE(pid, 0u);
    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; }));
    EXPECT_EQ(statusWord(name, RuntimeRequest::acceptedOffset), 0u);

    // A path outside ASCII, with a surrogate pair: it must reach the runtime exactly.
    const std::u16string path = u"C:\\Kiosk\\Lobby \u00E9t\u00E9 \xD83D\xDE00.qvksk";
    Handoff handoff;
    ASSERT_TRUE(handOver(name, path, handoff));
    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::acceptedOffset) != 0; }));
    ASSERT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));

    const std::string line = readFile(record);
    EXPECT_NE(line.find("\"code\":\"1234\""), std::string::npos) << line;
    EXPECT_NE(line.find("\"level\":\"Administrator\""), std::string::npos) << line;
    EXPECT_NE(line.find(
                  "\"path\":\"C:\\\\Kiosk\\\\Lobby \xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80.qvksk\""),
              std::string::npos)
        << line;
    EXPECT_NE(line.find("\"pid\":" + std::to_string(pid) + "}"), std::string::npos) << line;
    std::remove(record.c_str());
}

TEST(Processes, ListingFindsTheRuntimeByFileNameAndNotAfterItExited)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = makeRequestBlock(name);
    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startStandbyRuntime(name, 260, &pid, helperPath()));
    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; }));

    const std::string fileName = platform::fileNameOf(helperPath());
    EXPECT_TRUE(contains(platform::processIdsByExecutableName(fileName), pid));
    EXPECT_FALSE(contains(platform::processIdsByExecutableName("x" + fileName), pid));
    EXPECT_TRUE(platform::isProcessRunning(pid));

    Handoff handoff;
    ASSERT_TRUE(handOver(name, u"end.qvksk", handoff)); // the helper ends after one request
    ASSERT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
    EXPECT_FALSE(contains(platform::processIdsByExecutableName(fileName), pid));
}

TEST(Processes, RelayReportsTheStartedRuntimesIdIntoTheCallersBlock)
{
    const std::string record = recordFileName("relay");
    setEnvironment("QVKIOSKCORE_RECORD", record);
    const std::string requestName = uniqueBlockName();
    const SharedMemoryBlock requestBlock = makeRequestBlock(requestName);
    const std::string callerName = uniqueBlockName();
    const SharedMemoryBlock callerBlock = SharedMemoryBlock::createOrOpen(callerName, 4);
    ASSERT_TRUE(callerBlock.isOpen());

    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startRelayRuntime(requestName, "260", &pid, helperPath()));
    ASSERT_TRUE(platform::reportRelayedProcessId(callerName, "4", pid));
    const SharedMemoryView view = SharedMemoryView::map(callerBlock, 4);
    ASSERT_TRUE(view.isMapped());
    std::uint32_t reported = 0;
    std::memcpy(&reported, view.data(), 4);
    EXPECT_EQ(reported, pid);

    // The reported id is the one of the process that serves the request block.
    ASSERT_TRUE(waitFor([&] { return statusWord(requestName, RuntimeRequest::readyOffset) != 0; }));
    Handoff handoff;
    ASSERT_TRUE(handOver(requestName, u"relay.qvksk", handoff));
    ASSERT_TRUE(
        waitFor([&] { return statusWord(requestName, RuntimeRequest::acceptedOffset) != 0; }));
    ASSERT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
    EXPECT_NE(readFile(record).find("\"pid\":" + std::to_string(reported) + "}"), std::string::npos);
    std::remove(record.c_str());
}

TEST(Processes, AMissingProgramIsReportedAsAFailure)
{
    const std::string missing = platform::folderOf(helperPath()) + platform::folderSeparator()
                                + "no-such-runtime";
    std::uint32_t pid = 0;
    EXPECT_FALSE(platform::startStandbyRuntime(uniqueBlockName(), 260, &pid, missing));
    EXPECT_NE(platform::lastError(), 0u);
    EXPECT_FALSE(platform::startRelayRuntime("a", "b", &pid, missing));
}

TEST(Processes, IsProcessRunningRefusesIdsThatNameNoProcess)
{
    EXPECT_TRUE(platform::isProcessRunning(platform::currentProcessId()));
    EXPECT_FALSE(platform::isProcessRunning(0));
    EXPECT_FALSE(platform::isProcessRunning(0xFFFFFFFFu));
}

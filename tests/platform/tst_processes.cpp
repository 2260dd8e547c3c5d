#include "testsupport.h"

#include "platform/lasterror.h"
#include "platform/processlist.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

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
    EXPECT_FALSE(platform::fileExists(folder)); // a folder is not a file
    EXPECT_TRUE(platform::setCurrentFolder(folder));
    EXPECT_TRUE(platform::fileExists(platform::fileNameOf(helperPath()))) << helperPath();
    EXPECT_FALSE(platform::setCurrentFolder(folder + platform::folderSeparator() + "missing"));
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
    const std::string fileName = platform::fileNameOf(helperPath());
    EXPECT_TRUE(listed(fileName, pid));
    EXPECT_FALSE(listed("x" + fileName, pid));

    // Outside ASCII, with a surrogate pair: the path must reach the runtime exactly.
    Handoff handoff;
    ASSERT_TRUE(handOver(name, u"C:\\Kiosk\\\u00E9t\u00E9 \xD83D\xDE00.qvksk", handoff));
    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::acceptedOffset) != 0; }));
    ASSERT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
    EXPECT_FALSE(listed(fileName, pid));
    EXPECT_EQ(readFile(record),
              "{\"code\":\"1234\",\"level\":\"Administrator\",\"path\":\"C:\\\\Kiosk\\\\"
              "\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80.qvksk\",\"pathBlockName\":\""
                  + handoff.pathBlock.name() + "\",\"pid\":" + std::to_string(pid) + "}\n");
    setEnvironment("QVKIOSKCORE_RECORD", ""); // later runtimes of this process record nothing
    std::remove(record.c_str());
}

TEST(Processes, ARelayStartServesTheBlockNamedByItsFirstArgument)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startRelayRuntime(name, "260", &pid, helperPath()));
    ASSERT_TRUE(isReady(name));
    EXPECT_TRUE(stopHelper(name, pid));
}

TEST(Processes, AMissingProgramAndIdsThatNameNoProcessAreFailures)
{
    const std::string missing = platform::folderOf(helperPath()) + platform::folderSeparator()
                                + "no-such-runtime";
    EXPECT_FALSE(platform::startStandbyRuntime(uniqueBlockName(), 260, nullptr, missing));
    EXPECT_NE(platform::lastError(), 0u);
    EXPECT_FALSE(platform::startRelayRuntime("a", "b", nullptr, missing));
    EXPECT_TRUE(platform::isProcessRunning(platform::currentProcessId()));
    EXPECT_FALSE(platform::isProcessRunning(0));
    EXPECT_FALSE(platform::isProcessRunning(0xFFFFFFFFu));
}

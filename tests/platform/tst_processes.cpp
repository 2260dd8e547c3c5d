#include "testsupport.h"

#include "platform/copieslock.h"
#include "platform/lasterror.h"
#include "platform/processlist.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <tuple>

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

std::int64_t millisecondsSince1970()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

const std::int64_t loadedAt = millisecondsSince1970(); // as this process started

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

TEST(Processes, ARelayStartServesItsBlockAndStartTimesLieAroundTheStarts)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    const std::int64_t beforeStart = millisecondsSince1970();
    std::uint32_t child = 0;
    ASSERT_TRUE(platform::startRelayRuntime(name, "260", &child, helperPath()));
    const std::int64_t afterStart = millisecondsSince1970();
    ASSERT_TRUE(isReady(name)); // a relay start serves the block named by its first argument
    // A sanity bound, not a timing: a wrong epoch or unit is off by far more.
    const std::int64_t slack = 5000;
    // clang-format off
    const std::tuple<const char *, std::uint32_t, std::int64_t, std::int64_t> rows[] = {
        {"this process", platform::currentProcessId(), loadedAt - slack, loadedAt},
        {"a child", child, beforeStart - slack, afterStart + slack},
    };
    // clang-format on
    for (const auto &[what, pid, earliest, latest] : rows) {
        const std::int64_t start = platform::processStartTime(pid);
        EXPECT_GE(start, earliest) << what;
        EXPECT_LE(start, latest) << what;
    }
    ASSERT_TRUE(stopHelper(name, child));
    EXPECT_EQ(platform::processStartTime(child), 0);
}

TEST(CopiesLock, AnotherProcessTakesItOnlyOnceItsHolderLetsGo)
{
    namespace fs = std::filesystem;
    const std::string folder = "copieslock-" + std::to_string(platform::currentProcessId());
    fs::create_directory(folder);
    const std::string held = folder + platform::folderSeparator() + "held";
    std::uint32_t holder = 0;
    ASSERT_TRUE(platform::startRelayRuntime("--hold-copies-lock", folder, &holder, helperPath()));
    ASSERT_TRUE(waitFor([&] { return platform::fileExists(held); }));
    EXPECT_FALSE(platform::CopiesLock(folder, 100).isHeld());
    fs::remove(held); // the holder lets go
    EXPECT_TRUE(platform::CopiesLock(folder, 20000).isHeld()) << platform::lastError();
    EXPECT_TRUE(waitFor([&] { return !platform::isProcessRunning(holder); }));
    fs::remove_all(folder);
}

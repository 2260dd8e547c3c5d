#include "testsupport.h"

#include "platform/copieslock.h"
#include "platform/lasterror.h"
#include "platform/processlist.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

using platform::RuntimeRequest;
using namespace testsupport;

namespace {

bool listed(const std::string &fileName, std::uint32_t id)
{
    const std::vector<std::uint32_t> ids = platform::processIdsByExecutableName(fileName);
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

std::int64_t millisecondsSince1970()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

const std::int64_t loadedAt = millisecondsSince1970(); // as this process started

} // namespace

TEST(Processes, OwnFilesAndMissingProgramsAndIdsThatNameNoProcess)
{
    const std::string folder = platform::folderOf(platform::executablePath());
    EXPECT_FALSE(platform::fileExists(folder)); // a folder is not a file
    EXPECT_TRUE(platform::setCurrentFolder(folder));
    EXPECT_TRUE(platform::fileExists(platform::fileNameOf(helperPath()))) << helperPath();
    const std::string missing = folder + platform::folderSeparator() + "missing";
    EXPECT_FALSE(platform::setCurrentFolder(missing));
    EXPECT_FALSE(platform::startStandbyRuntime(uniqueBlockName(), 260, nullptr, missing));
    EXPECT_NE(platform::lastError(), 0u);
    EXPECT_FALSE(platform::startRelayRuntime("a", "b", nullptr, missing));
    EXPECT_TRUE(platform::isProcessRunning(platform::currentProcessId()));
    EXPECT_FALSE(platform::isProcessRunning(0));
    EXPECT_FALSE(platform::isProcessRunning(0xFFFFFFFFu));
    // A sanity bound, not a timing: a wrong epoch or unit is off by far more.
    const std::int64_t started = platform::processStartTime(platform::currentProcessId());
    EXPECT_TRUE(started >= loadedAt - 5000 && started <= loadedAt) << started - loadedAt;
}

TEST(Processes, StandbyAndRelayStartsServeTheirBlockAndAreListedUntilTheyEnd)
{
    const std::string fileName = platform::fileNameOf(helperPath());
    for (const bool relay : {false, true}) {
        SCOPED_TRACE(relay ? "relay" : "standby");
        const std::string name = uniqueBlockName();
        const auto block = platform::SharedMemoryBlock::createOrOpen(name, 260);
        const std::int64_t before = millisecondsSince1970();
        std::uint32_t pid = 0;
        ASSERT_TRUE(relay ? platform::startRelayRuntime(name, "260", &pid, helperPath())
                          : platform::startStandbyRuntime(name, 260, &pid, helperPath()))
            << platform::lastError();
        const std::int64_t after = millisecondsSince1970();
        ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; }));
        EXPECT_EQ(statusWord(name, RuntimeRequest::acceptedOffset), 0u);
        EXPECT_TRUE(listed(fileName, pid));
        EXPECT_FALSE(listed("x" + fileName, pid));
        const std::int64_t started = platform::processStartTime(pid);
        EXPECT_TRUE(started >= before - 5000 && started <= after + 5000) << started - before;

        // Outside ASCII, with a surrogate pair.
        Handoff handoff;
        ASSERT_TRUE(handOver(name, u"C:\\Kiosk\\\u00E9t\u00E9 \xD83D\xDE00.qvksk", handoff));
        EXPECT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::acceptedOffset) != 0; }));
        ASSERT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
        EXPECT_FALSE(listed(fileName, pid));
        EXPECT_EQ(platform::processStartTime(pid), 0);
    }
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

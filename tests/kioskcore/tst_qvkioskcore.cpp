// The built runtime, started as the front-end starts it, under the offscreen platform.
#include "testsupport.h"

#include "platform/processlist.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;
using namespace testsupport;

namespace {

// Starts the runtime for a new request block named after `frontEnd` and waits for ready.
bool startRuntime(std::string &name, std::uint32_t &pid, std::uint32_t frontEnd = getpid())
{
    name = uniqueBlockName(frontEnd);
    static std::vector<SharedMemoryBlock> blocks; // open until the test ends
    blocks.push_back(SharedMemoryBlock::createOrOpen(name, 260));
    return platform::startStandbyRuntime(name, 260, &pid, QVKIOSKCORE_PATH)
           && waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; });
}

} // namespace

TEST(QvKioskCore, EndsByItselfWhenItsFrontEndEndedOrWhenToldToCrash)
{
    std::uint32_t frontEnd = 0; // a process id that soon names nothing
    ASSERT_TRUE(platform::startRelayRuntime("--exit", "0", &frontEnd, TESTHELPER_PATH));
    ASSERT_TRUE(waitFor([&] { return !platform::isProcessRunning(frontEnd); }));
    std::string name;
    std::uint32_t pid = 0;
    ASSERT_TRUE(startRuntime(name, pid, frontEnd));
    EXPECT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));

    setenv("QVKIOSKCORE_CRASH_AFTER_READY", "1", 1);
    ASSERT_TRUE(startRuntime(name, pid));
    EXPECT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
}

TEST(QvKioskCore, AcceptsARequestAndEndsWithItsStatusWhenItsBlockIsCutUnderIt)
{
    setenv("QVKIOSKCORE_NO_WINDOW", "1", 1);
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    // Started as our child, unlike a standby start, so that its end can be read.
    FILE *runtime = ::popen((QVKIOSKCORE_PATH " " + name + " 260 --standby 2>&1").c_str(), "r");
    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; }));
    Handoff handoff;
    ASSERT_TRUE(handOver(name, u"/srv/kiosk/Lobby.qvksk", handoff));
    EXPECT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::acceptedOffset) != 0; }));
    ASSERT_EQ(truncate(("/dev/shm/" + name).c_str(), 0), 0);
    std::string said(4096, '\0');
    said.resize(std::fread(said.data(), 1, said.size(), runtime));
    const int status = ::pclose(runtime);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 4) << status;
    EXPECT_NE(said.find("the request block " + name + " was cut to 0 bytes"), std::string::npos)
        << said;
}

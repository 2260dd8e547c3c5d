// The built runtime, started as the front-end starts it, under the offscreen platform.
#include "testsupport.h"

#include "platform/processlist.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
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

TEST(QvKioskCore, SetsReadyAndAcceptsARequest)
{
    setenv("QVKIOSKCORE_NO_WINDOW", "1", 1);
    std::string name;
    std::uint32_t pid = 0;
    ASSERT_TRUE(startRuntime(name, pid));
    Handoff handoff;
    ASSERT_TRUE(handOver(name, u"/srv/kiosk/Lobby.qvksk", handoff));
    EXPECT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::acceptedOffset) != 0; }));
    kill(static_cast<pid_t>(pid), SIGTERM);
}

TEST(QvKioskCore, EndsByItselfWhenItsFrontEndEndedOrWhenToldToCrash)
{
    const pid_t frontEnd = fork();
    if (frontEnd == 0)
        _exit(0);
    waitpid(frontEnd, nullptr, 0);
    std::string name;
    std::uint32_t pid = 0;
    ASSERT_TRUE(startRuntime(name, pid, static_cast<std::uint32_t>(frontEnd)));
    EXPECT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));

    setenv("QVKIOSKCORE_CRASH_AFTER_READY", "1", 1);
    ASSERT_TRUE(startRuntime(name, pid));
    EXPECT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
}

TEST(QvKioskCore, EndsWithItsStatusNotASignalWhenItsBlockIsCutUnderIt)
{
    setenv("QVKIOSKCORE_NO_WINDOW", "1", 1);
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    const std::string errors = "cut-" + std::to_string(getpid()) + ".txt";
    // Started as our child, unlike a standby start, so that its end can be read.
    const pid_t runtime = fork();
    if (runtime == 0) {
        const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, STDERR_FILENO);
        execl(QVKIOSKCORE_PATH, QVKIOSKCORE_PATH, name.c_str(), "260", "--standby", nullptr);
        _exit(127);
    }
    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; }));
    ASSERT_EQ(truncate(("/dev/shm/" + name).c_str(), 0), 0);
    int status = 0;
    ASSERT_EQ(waitpid(runtime, &status, 0), runtime);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 4) << status;
    EXPECT_NE(readFile(errors).find("the request block " + name + " was cut to 0 bytes"),
              std::string::npos)
        << readFile(errors);
    std::remove(errors.c_str());
}

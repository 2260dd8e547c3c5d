// The built runtime, started as the front-end starts it, under the offscreen platform.
#include "platform/blockname.h"
#include "platform/currentprocess.h"
#include "platform/localtime.h"
#include "platform/processlist.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryblock.h"
#include "platform/sharedmemoryview.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;
using platform::SharedMemoryView;

namespace {

std::string blockName(std::uint32_t pid)
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
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string readFile(const std::string &path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(QvKioskCore, TakesARequestAndRecordsIt)
{
    const std::string record = "qvkioskcore-record-" + std::to_string(getpid()) + ".jsonl";
    std::remove(record.c_str());
    setenv("QVKIOSKCORE_RECORD", record.c_str(), 1);
    setenv("QVKIOSKCORE_NO_WINDOW", "1", 1);

    const std::string name = blockName(platform::currentProcessId());
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    const SharedMemoryView view = SharedMemoryView::map(block, 260);
    ASSERT_TRUE(view.isMapped());
    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startStandbyRuntime(name, 260, &pid, QVKIOSKCORE_PATH));
    ASSERT_TRUE(waitFor(
        [&] { return RuntimeRequest::loadWord(view.data(), RuntimeRequest::readyOffset) != 0; }));

    const std::u16string path = u"/srv/kiosk/Lobby.qvksk";
    const std::string pathName = blockName(platform::currentProcessId());
    const SharedMemoryBlock pathBlock = SharedMemoryBlock::createOrOpen(pathName, path.size() * 2);
    {
        const SharedMemoryView pathView = SharedMemoryView::map(pathBlock, path.size() * 2);
        std::memcpy(pathView.data(), path.data(), path.size() * 2);
    }
    RuntimeRequest request;
    request.code = u"1234";
    request.accessLevel = RuntimeRequest::accessLevelText(0);
    request.pathBlockName.assign(pathName.begin(), pathName.end());
    request.pathBlockSize = static_cast<std::uint32_t>(path.size() * 4);
    ASSERT_TRUE(request.encode(view.data()));
    ASSERT_TRUE(waitFor([&] {
        return RuntimeRequest::loadWord(view.data(), RuntimeRequest::acceptedOffset) != 0;
    }));

    const std::string line = readFile(record);
    EXPECT_EQ(line,
              "{\"code\":\"1234\",\"level\":\"Administrator\",\"path\":\"/srv/kiosk/Lobby.qvksk\","
              "\"pathBlockName\":\""
                  + pathName + "\",\"pid\":" + std::to_string(pid) + "}\n");
    kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
    std::remove(record.c_str());
}

TEST(QvKioskCore, EndsByItselfWhenItsFrontEndEndedWithoutARequest)
{
    unsetenv("QVKIOSKCORE_NO_WINDOW");
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t frontEnd = fork();
    if (frontEnd == 0) {
        // A front-end that starts the runtime, sees it ready and ends without a request.
        const std::string name = blockName(platform::currentProcessId());
        SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
        const SharedMemoryView view = SharedMemoryView::map(block, 260);
        std::uint32_t pid = 0;
        const bool started = platform::startStandbyRuntime(name, 260, &pid, QVKIOSKCORE_PATH);
        const bool ready = started && waitFor([&] {
                               return RuntimeRequest::loadWord(view.data(),
                                                               RuntimeRequest::readyOffset)
                                      != 0;
                           });
        [[maybe_unused]] const ssize_t written = write(fds[1], &pid, sizeof pid);
        block.close();
        _exit(ready ? 0 : 1);
    }
    close(fds[1]);
    std::uint32_t pid = 0;
    ASSERT_EQ(read(fds[0], &pid, sizeof pid), static_cast<ssize_t>(sizeof pid));
    close(fds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(frontEnd, &status, 0), frontEnd);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
}

TEST(QvKioskCore, CrashAfterReadyEndsTheRuntime)
{
    setenv("QVKIOSKCORE_CRASH_AFTER_READY", "1", 1);
    const std::string name = blockName(platform::currentProcessId());
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    const SharedMemoryView view = SharedMemoryView::map(block, 260);
    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startStandbyRuntime(name, 260, &pid, QVKIOSKCORE_PATH));
    unsetenv("QVKIOSKCORE_CRASH_AFTER_READY");
    EXPECT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
    EXPECT_NE(RuntimeRequest::loadWord(view.data(), RuntimeRequest::readyOffset), 0u);
}

// What the POSIX backend does beyond Windows: private, close-on-exec, self-cleaning blocks and
// a runtime that is nobody's zombie.
#include "testsupport.h"

#include "platform/blockname.h"
#include "platform/currentprocess.h"
#include "platform/localtime.h"
#include "platform/processlist.h"
#include "platform/relayreport.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryblock.h"
#include "platform/sharedmemoryview.h"
#include "platform/staleblocks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;
using namespace testsupport;

namespace {

std::string shmFile(const std::string &name)
{
    return "/dev/shm/" + name;
}

bool exists(const std::string &path)
{
    struct stat info = {};
    return lstat(path.c_str(), &info) == 0;
}

// A block left behind by someone else, made directly with the given mode.
void makeForeignBlock(const std::string &name, mode_t mode)
{
    const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchmod(fd, mode), 0);
    ASSERT_EQ(ftruncate(fd, 260), 0);
    close(fd);
}

// The id of a process that has just ended.
std::uint32_t deadProcessId()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return static_cast<std::uint32_t>(child);
}

void stopHelper(const std::string &requestName, std::uint32_t pid)
{
    Handoff handoff;
    ASSERT_TRUE(handOver(requestName, u"stop.qvksk", handoff));
    ASSERT_TRUE(waitFor([&] { return !platform::isProcessRunning(pid); }));
}

} // namespace

TEST(PosixBackend, NewBlocksAreOwnerReadWriteOnly)
{
    const mode_t old = umask(0);
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    umask(old);
    ASSERT_TRUE(block.isOpen());
    struct stat info = {};
    ASSERT_EQ(stat(shmFile(name).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_size, 260);
}

TEST(PosixBackend, AnExistingBlockOpenToOthersIsRefusedButARelayBlockIsOpenedAsMade)
{
    const std::string name = uniqueBlockName();
    makeForeignBlock(name, 0644);
    EXPECT_FALSE(SharedMemoryBlock::createOrOpen(name, 260).isOpen());
    EXPECT_EQ(errno, EACCES);
    EXPECT_TRUE(SharedMemoryBlock::openExisting(name).isOpen());
    shm_unlink(("/" + name).c_str());

    makeForeignBlock(name, 0600);
    EXPECT_TRUE(SharedMemoryBlock::createOrOpen(name, 260).isOpen());
    shm_unlink(("/" + name).c_str());
}

TEST(PosixBackend, DescriptorsAreCloseOnExec)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock created = SharedMemoryBlock::createOrOpen(name, 16);
    const SharedMemoryBlock opened = SharedMemoryBlock::openExisting(name);
    ASSERT_TRUE(created.isOpen() && opened.isOpen());
    int found = 0;
    DIR *fds = opendir("/proc/self/fd");
    ASSERT_NE(fds, nullptr);
    while (const dirent *entry = readdir(fds)) {
        char target[512] = {};
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        if (readlink(link.c_str(), target, sizeof target - 1) <= 0 || shmFile(name) != target)
            continue;
        ++found;
        EXPECT_NE(fcntl(std::atoi(entry->d_name), F_GETFD) & FD_CLOEXEC, 0);
    }
    closedir(fds);
    EXPECT_EQ(found, 2);
}

TEST(PosixBackend, ABlockIsUnlinkedWhenItsCreatorClosesIt)
{
    const std::string name = uniqueBlockName();
    SharedMemoryBlock created = SharedMemoryBlock::createOrOpen(name, 16);
    SharedMemoryBlock reopened = SharedMemoryBlock::createOrOpen(name, 16);
    ASSERT_TRUE(reopened.existed());
    reopened.close(); // a second handle leaves the block alone
    EXPECT_TRUE(exists(shmFile(name)));
    SharedMemoryBlock moved = std::move(created);
    EXPECT_TRUE(exists(shmFile(name)));
    moved.close();
    EXPECT_FALSE(exists(shmFile(name)));
}

TEST(PosixBackend, LeftoverBlocksOfEndedFrontEndsAreRemovedAtStart)
{
    std::tm now = {};
    ASSERT_TRUE(platform::localTimeNow(now));
    const std::string dead = platform::makeBlockName(now, deadProcessId());
    const std::string deadPath = dead + "_2";
    const std::string alive = platform::makeBlockName(now, 1);
    const std::string other = "notAKioskBlock_" + std::to_string(deadProcessId());
    for (const std::string &name : {dead, deadPath, alive, other})
        makeForeignBlock(name, 0600);

    EXPECT_GE(platform::removeStaleBlocks(), 2u);
    EXPECT_FALSE(exists(shmFile(dead)));
    EXPECT_FALSE(exists(shmFile(deadPath)));
    EXPECT_TRUE(exists(shmFile(alive)));
    EXPECT_TRUE(exists(shmFile(other)));
    shm_unlink(("/" + alive).c_str());
    shm_unlink(("/" + other).c_str());
}

TEST(PosixBackend, TheRuntimeIsInItsOwnSessionAndNotOurChild)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    std::uint32_t pid = 0;
    ASSERT_TRUE(platform::startStandbyRuntime(name, 260, &pid, helperPath()));
    EXPECT_EQ(getsid(static_cast<pid_t>(pid)), static_cast<pid_t>(pid));
    // Not our child: it can never become our zombie.
    int status = 0;
    EXPECT_EQ(waitpid(static_cast<pid_t>(pid), &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    stopHelper(name, pid);
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1); // no child of ours is left behind
}

TEST(PosixBackend, TheRuntimeOutlivesTheProcessThatStartedIt)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t frontEnd = fork();
    if (frontEnd == 0) {
        std::uint32_t pid = 0;
        const bool started = platform::startStandbyRuntime(name, 260, &pid, helperPath());
        [[maybe_unused]] const ssize_t written = write(fds[1], &pid, sizeof pid);
        _exit(started ? 0 : 1);
    }
    close(fds[1]);
    std::uint32_t pid = 0;
    ASSERT_EQ(read(fds[0], &pid, sizeof pid), static_cast<ssize_t>(sizeof pid));
    close(fds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(frontEnd, &status, 0), frontEnd);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; }));
    EXPECT_TRUE(platform::isProcessRunning(pid));
    stopHelper(name, pid);
}

TEST(PosixBackend, AViewOneBytePastTheEndOfAnotherHandlesBlockIsRefused)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock created = SharedMemoryBlock::createOrOpen(name, 8);
    const SharedMemoryBlock opened = SharedMemoryBlock::openExisting(name);
    EXPECT_TRUE(platform::SharedMemoryView::map(opened, 8).isMapped());
    EXPECT_FALSE(platform::SharedMemoryView::map(opened, 9).isMapped());
    EXPECT_FALSE(platform::reportRelayedProcessId(name, "9", 1));
}

// What the POSIX backend does beyond Windows: private, self-cleaning blocks and
// a runtime that is nobody's zombie.
#include "testsupport.h"

#include "platform/blockname.h"
#include "platform/localtime.h"
#include "platform/processlist.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryblock.h"
#include "platform/staleblocks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

using platform::SharedMemoryBlock;
using namespace testsupport;

namespace {

std::uint32_t deadProcessId()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return static_cast<std::uint32_t>(child);
}

bool exists(const std::string &name)
{
    struct stat info = {};
    return lstat(("/dev/shm/" + name).c_str(), &info) == 0;
}

// A block left behind by someone else, made directly with the given mode.
void makeForeignBlock(const std::string &name, mode_t mode)
{
    const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchmod(fd, mode), 0);
    close(fd);
}

} // namespace

TEST(PosixBackend, NewBlocksAreOwnerReadWriteOnly)
{
    const mode_t old = umask(0);
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    umask(old);
    struct stat info = {};
    ASSERT_EQ(stat(("/dev/shm/" + name).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(PosixBackend, AnExistingBlockOpenToOthersIsRefusedButARelayBlockIsOpenedAsMade)
{
    const std::string name = uniqueBlockName();
    makeForeignBlock(name, 0644);
    EXPECT_FALSE(SharedMemoryBlock::createOrOpen(name, 260).isOpen());
    EXPECT_EQ(errno, EACCES);
    EXPECT_TRUE(SharedMemoryBlock::openExisting(name).isOpen());
    ASSERT_EQ(fchmodat(AT_FDCWD, ("/dev/shm/" + name).c_str(), 0600, 0), 0);
    EXPECT_TRUE(SharedMemoryBlock::createOrOpen(name, 260).isOpen());
    shm_unlink(("/" + name).c_str());
}

TEST(PosixBackend, ABlockIsUnlinkedWhenItsCreatorClosesIt)
{
    const std::string name = uniqueBlockName();
    SharedMemoryBlock created = SharedMemoryBlock::createOrOpen(name, 16);
    SharedMemoryBlock reopened = SharedMemoryBlock::createOrOpen(name, 16);
    reopened.close(); // a second handle leaves the block alone
    SharedMemoryBlock moved = std::move(created);
    EXPECT_TRUE(exists(name));
    moved.close();
    EXPECT_FALSE(exists(name));
}

TEST(PosixBackend, LeftoverBlocksOfEndedFrontEndsAreRemovedAtStart)
{
    std::tm now = {};
    ASSERT_TRUE(platform::localTimeNow(now));
    const std::string dead = platform::makeBlockName(now, deadProcessId());
    const std::string alive = platform::makeBlockName(now, getppid()); // our running parent
    const std::string other = "notAKioskBlock_" + std::to_string(getpid());
    for (const std::string &name : {dead, dead + "_2", alive, other})
        makeForeignBlock(name, 0600);

    EXPECT_GE(platform::removeStaleBlocks(), 2u);
    EXPECT_FALSE(exists(dead));
    EXPECT_FALSE(exists(dead + "_2"));
    EXPECT_TRUE(exists(alive));
    EXPECT_TRUE(exists(other));
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
    // Not our child, so never our zombie; and nothing else of ours is left behind either.
    EXPECT_EQ(waitpid(static_cast<pid_t>(pid), nullptr, WNOHANG), -1);
    EXPECT_TRUE(stopHelper(name, pid));
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(PosixBackend, TheRuntimeInheritsNoDescriptorButTheStandardThree)
{
    // Opened without close-on-exec, as a library or the front-end's parent may leave one.
    const std::string marker = "inherited-" + std::to_string(getpid());
    const int fd = open(marker.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    std::uint32_t pid = 0;
    const bool started = platform::startStandbyRuntime(name, 260, &pid, helperPath());
    close(fd);
    ASSERT_TRUE(started);
    ASSERT_TRUE(
        waitFor([&] { return statusWord(name, platform::RuntimeRequest::readyOffset) != 0; }));
    // The running helper's descriptors: none of them may be the file opened here.
    const std::string folder = "/proc/" + std::to_string(pid) + "/fd";
    const std::unique_ptr<DIR, int (*)(DIR *)> descriptors(opendir(folder.c_str()), closedir);
    ASSERT_TRUE(descriptors);
    char self[PATH_MAX] = {};
    ASSERT_TRUE(realpath(marker.c_str(), self));
    while (const dirent *entry = readdir(descriptors.get())) {
        char target[PATH_MAX] = {};
        if (readlink((folder + "/" + entry->d_name).c_str(), target, sizeof target - 1) > 0) {
            EXPECT_NE(std::string(target), self) << "descriptor " << entry->d_name;
        }
    }
    EXPECT_TRUE(stopHelper(name, pid));
    unlink(marker.c_str());
}

TEST(PosixBackend, TheRuntimeOutlivesTheProcessThatStartedIt)
{
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    const pid_t frontEnd = fork();
    if (frontEnd == 0)
        _exit(platform::startStandbyRuntime(name, 260, nullptr, helperPath()) ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(frontEnd, &status, 0), frontEnd);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // Only a running runtime accepts the request.
    Handoff handoff;
    ASSERT_TRUE(handOver(name, u"late.qvksk", handoff));
    EXPECT_TRUE(
        waitFor([&] { return statusWord(name, platform::RuntimeRequest::acceptedOffset) != 0; }));
}

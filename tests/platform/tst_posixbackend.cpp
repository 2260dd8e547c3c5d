// What the POSIX backend does beyond Windows: private, self-cleaning blocks and
// a runtime that is nobody's zombie.
#include "testsupport.h"

#include "platform/blockname.h"
#include "platform/localtime.h"
#include "platform/processlist.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"
#include "platform/staleblocks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;
using namespace testsupport;
namespace fs = std::filesystem;

namespace {

bool exists(const std::string &name)
{
    return fs::exists(fs::symlink_status("/dev/shm/" + name));
}

} // namespace

TEST(PosixBackend, BlocksAreOwnerOnlyUnlinkedByTheirCreatorAndNeverOneOpenToOthers)
{
    const mode_t old = umask(0);
    const std::string name = uniqueBlockName();
    SharedMemoryBlock created = SharedMemoryBlock::createOrOpen(name, 16);
    umask(old);
    EXPECT_EQ(fs::status("/dev/shm/" + name).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    SharedMemoryBlock reopened = SharedMemoryBlock::createOrOpen(name, 16);
    reopened.close(); // a second handle leaves the block alone
    SharedMemoryBlock moved = std::move(created);
    EXPECT_TRUE(exists(name));
    moved.close();
    EXPECT_FALSE(exists(name));

    const std::string foreign = uniqueBlockName();
    const auto squatted = squatBlock(foreign); // mode 0644
    EXPECT_FALSE(SharedMemoryBlock::createOrOpen(foreign, 260).isOpen());
    EXPECT_EQ(errno, EACCES);
    EXPECT_TRUE(SharedMemoryBlock::openExisting(foreign).isOpen()); // a caller's relay block
    fs::permissions("/dev/shm/" + foreign,
                    fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::remove);
    EXPECT_TRUE(SharedMemoryBlock::createOrOpen(foreign, 260).isOpen());
}

TEST(PosixBackend, LeftoverBlocksOfEndedFrontEndsAreRemovedAtStart)
{
    std::uint32_t ended = 0;
    ASSERT_TRUE(platform::startRelayRuntime("--exit", "0", &ended, helperPath()));
    ASSERT_TRUE(waitFor([&] { return !platform::isProcessRunning(ended); }));
    std::tm now = {};
    ASSERT_TRUE(platform::localTimeNow(now));
    const std::string dead = platform::makeBlockName(now, ended);
    const std::string alive = platform::makeBlockName(now, getppid()); // our running parent
    const std::string other = "notAKioskBlock_" + std::to_string(getpid());
    std::vector<SharedMemoryBlock> blocks;
    const std::string deadRandom = dead + "_0123456789abcdef";
    for (const std::string &name : {dead, deadRandom, alive, other})
        blocks.push_back(SharedMemoryBlock::createOrOpen(name, 16));

    EXPECT_GE(platform::removeStaleBlocks(), 2u);
    EXPECT_FALSE(exists(dead) || exists(deadRandom));
    EXPECT_TRUE(exists(alive) && exists(other));
}

TEST(PosixBackend, ACopyWhoseProgramFileWasDeletedStillFindsItself)
{
    // As after a package upgrade, which replaces the program file of a running copy.
    const std::string copy = fs::absolute("deleted-helper-" + std::to_string(getpid()));
    fs::copy_file(helperPath(), copy, fs::copy_options::overwrite_existing);
    FILE *child = popen((copy + " --find-itself " + copy).c_str(), "r");
    const std::string fileName = platform::fileNameOf(copy);
    EXPECT_TRUE(waitFor([&] { return !platform::processIdsByExecutableName(fileName).empty(); }));
    fs::remove(copy);
    const int status = pclose(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(PosixBackend, TheRuntimeRunsDetachedAndInheritsNoDescriptorButTheStandardThree)
{
    // Opened without close-on-exec, as a library or the front-end's parent may leave one.
    const std::string marker = fs::absolute("inherited-" + std::to_string(getpid()));
    const int fd = open(marker.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const std::string name = uniqueBlockName();
    const SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 260);
    std::uint32_t pid = 0;
    const bool started = platform::startStandbyRuntime(name, 260, &pid, helperPath());
    close(fd);
    ASSERT_TRUE(started);
    // In its own session, so it outlives the front-end and gets no hang-up from its terminal;
    // not our child, so never our zombie.
    EXPECT_EQ(getsid(static_cast<pid_t>(pid)), static_cast<pid_t>(pid));
    EXPECT_EQ(waitpid(static_cast<pid_t>(pid), nullptr, WNOHANG), -1);
    ASSERT_TRUE(waitFor([&] { return statusWord(name, RuntimeRequest::readyOffset) != 0; }));
    for (const auto &entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
        std::error_code gone; // a descriptor may close while we look
        EXPECT_NE(fs::read_symlink(entry.path(), gone), marker) << entry.path();
    }
    EXPECT_TRUE(stopHelper(name, pid));
    // Nothing else of ours is left behind either.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    fs::remove(marker);
}

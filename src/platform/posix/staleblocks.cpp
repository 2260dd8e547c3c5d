#include "../staleblocks.h"

#include "../blockname.h"
#include "../currentprocess.h"
#include "../processlist.h"

#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::size_t removeStaleBlocks()
{
    // Linux keeps shared-memory objects as files in /dev/shm.
    DIR *folder = opendir("/dev/shm");
    if (folder == nullptr)
        return 0;
    std::size_t removed = 0;
    const std::uint32_t self = currentProcessId();
    while (const dirent *entry = readdir(folder)) {
        const std::string name = entry->d_name;
        std::uint32_t pid = 0;
        if (!blockNameProcessId(name, pid) || pid == self || isProcessRunning(pid))
            continue;
        struct stat info = {};
        if (fstatat(dirfd(folder), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISREG(info.st_mode) || info.st_uid != geteuid())
            continue;
        if (shm_unlink(("/" + name).c_str()) == 0)
            ++removed;
    }
    closedir(folder);
    return removed;
}

} // namespace platform

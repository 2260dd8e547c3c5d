#include "../currentprocess.h"

#include "executablelink.h"

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::uint32_t currentProcessId()
{
    return static_cast<std::uint32_t>(getpid());
}

std::string executablePath()
{
    return readExecutableLink("/proc/self/exe");
}

char folderSeparator()
{
    return '/';
}

bool setCurrentFolder(const std::string &folder)
{
    return chdir(folder.c_str()) == 0;
}

bool fileExists(const std::string &path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace platform

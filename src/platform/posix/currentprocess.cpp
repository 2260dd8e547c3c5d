#include "../currentprocess.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

std::uint32_t currentProcessId()
{
    return static_cast<std::uint32_t>(getpid());
}

std::string executablePath()
{
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
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

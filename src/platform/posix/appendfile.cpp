#include "../appendfile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

bool appendWhole(const std::string &fileName, const std::string &data)
{
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const ssize_t written = ::write(fd, data.data(), data.size());
    const int error = written < 0 ? errno : EIO; // EIO: only part was written
    ::close(fd);
    if (written == static_cast<ssize_t>(data.size()))
        return true;
    errno = error;
    return false;
}

std::string userStateFolder()
{
    // A relative $XDG_STATE_HOME is to be ignored.
    const char *state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return state;
    const char *home = std::getenv("HOME");
    return home != nullptr && home[0] != '\0' ? std::string(home) + "/.local/state" : std::string();
}

} // namespace platform

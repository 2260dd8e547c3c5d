#include "../randomsource.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

namespace platform {

namespace {

// For kernels older than getrandom (3.17).
bool readUrandom(unsigned char *data, std::size_t size)
{
    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = read(fd, data + done, size - done);
        if (count > 0)
            done += static_cast<std::size_t>(count);
        else if (count == 0 || errno != EINTR)
            break;
    }
    const int error = errno;
    close(fd);
    errno = error;
    return done == size;
}

} // namespace

bool fillRandom(unsigned char *data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = getrandom(data + done, size - done, 0);
        if (count > 0)
            done += static_cast<std::size_t>(count);
        else if (count < 0 && errno == ENOSYS)
            return readUrandom(data + done, size - done);
        else if (count < 0 && errno != EINTR)
            return false;
    }
    return true;
}

} // namespace platform

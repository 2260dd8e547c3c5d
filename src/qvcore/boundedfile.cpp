#include "boundedfile.h"

#include "qvcore.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qvcore {

namespace {

class FileDescriptor final
{
public:
    explicit FileDescriptor(int fd)
        : fd(fd)
    {}
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return fd; }

private:
    int fd = -1;
};

} // namespace

std::int32_t readBoundedFile(const char *path, std::size_t limit, std::string &contents)
{
    contents.clear();
    if (path == nullptr || *path == '\0')
        return QVCORE_STATUS_NOT_FOUND;

    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const FileDescriptor file(::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0)
        return errno == ENOENT || errno == ENOTDIR ? QVCORE_STATUS_NOT_FOUND
                                                   : QVCORE_STATUS_UNREADABLE;

    struct stat status = {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return QVCORE_STATUS_UNREADABLE;
    if (status.st_size < 0 || static_cast<unsigned long long>(status.st_size) > limit)
        return QVCORE_STATUS_TOO_LARGE;

    // The size is only a hint: the file may grow meanwhile, and some report 0 (procfs).
    contents.resize(static_cast<std::size_t>(status.st_size));
    std::size_t used = 0;
    for (;;) {
        if (used == contents.size()) {
            if (contents.size() > limit)
                return QVCORE_STATUS_TOO_LARGE;
            contents.resize(std::min(limit + 1, std::max<std::size_t>(4096, contents.size() * 2)));
        }
        const ssize_t got = ::read(file.get(), contents.data() + used, contents.size() - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            contents.clear();
            return QVCORE_STATUS_UNREADABLE;
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    contents.resize(used);
    if (used > limit) {
        contents.clear();
        return QVCORE_STATUS_TOO_LARGE;
    }
    return QVCORE_STATUS_OK;
}

} // namespace qvcore

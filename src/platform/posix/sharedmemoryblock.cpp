#include "../sharedmemoryblock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string objectName(const std::string &name)
{
    return "/" + name;
}

// Another user could read the access code through a block it made or that is open to it.
bool isPrivateToUs(int fd)
{
    struct stat info = {};
    if (fstat(fd, &info) != 0)
        return false;
    if (!S_ISREG(info.st_mode) || info.st_uid != geteuid() || (info.st_mode & 077) != 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

bool reserve(int fd, std::size_t size)
{
    // posix_fallocate answers with the error number instead of setting errno.
    const int error = posix_fallocate(fd, 0, static_cast<off_t>(size));
    if (error != 0) {
        errno = error;
        return false;
    }
    return true;
}

off_t sizeOf(int fd)
{
    struct stat info = {};
    return fstat(fd, &info) == 0 ? info.st_size : -1;
}

} // namespace

SharedMemoryBlock SharedMemoryBlock::createOrOpen(const std::string &name, std::size_t size)
{
    SharedMemoryBlock block;
    if (!isValidName(name) || size == 0 || size > 0x7FFFFFFF) {
        errno = EINVAL;
        return block;
    }
    const std::string object = objectName(name);
    // O_EXCL tells a new block from an existing one; a block that vanishes between the two
    // calls is simply created on the next round.
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = shm_open(object.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            // The umask may have narrowed the mode; make it exactly owner read/write.
            if (fchmod(fd, 0600) != 0 || !reserve(fd, size)) {
                const int error = errno;
                ::close(fd);
                shm_unlink(object.c_str());
                errno = error;
                return block;
            }
            block.handle = fd;
            block.createdHere = true;
            block.createdSize = size;
        } else {
            if (errno != EEXIST)
                return block;
            fd = shm_open(object.c_str(), O_RDWR | O_CLOEXEC, 0);
            if (fd < 0) {
                if (errno == ENOENT)
                    continue;
                return block;
            }
            if (!isPrivateToUs(fd) || (sizeOf(fd) == 0 && !reserve(fd, size))) {
                const int error = errno;
                ::close(fd);
                errno = error;
                return block;
            }
            block.handle = fd;
            block.existedBefore = true;
        }
        block.opened = true;
        block.blockName = name;
        return block;
    }
    return block;
}

SharedMemoryBlock SharedMemoryBlock::openExisting(const std::string &name)
{
    SharedMemoryBlock block;
    if (!isValidName(name)) {
        errno = EINVAL;
        return block;
    }
    const int fd = shm_open(objectName(name).c_str(), O_RDWR | O_CLOEXEC, 0);
    if (fd < 0)
        return block;
    block.handle = fd;
    block.opened = true;
    block.existedBefore = true;
    block.blockName = name;
    return block;
}

long long SharedMemoryBlock::currentSize() const
{
    if (!opened) {
        errno = EINVAL;
        return -1;
    }
    return sizeOf(static_cast<int>(handle));
}

void SharedMemoryBlock::close()
{
    if (!opened)
        return;
    const int error = errno;
    ::close(static_cast<int>(handle));
    if (createdHere)
        shm_unlink(objectName(blockName).c_str());
    errno = error;
    opened = false;
    createdHere = false;
    createdSize = 0;
    existedBefore = false;
    handle = 0;
    blockName.clear();
}

} // namespace platform

#include "atomicfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, std::string_view contents)
{
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// mkstemp makes files private; a controller file gets the mode any new file of the user gets.
mode_t defaultFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// rename that fails with EEXIST instead of replacing, so that a file made meanwhile is kept.
int renameNoReplace(const char *from, const char *to)
{
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    // A file system without that flag: a hard link fails the same way on an existing name.
    if (::link(from, to) != 0)
        return -1;
    ::unlink(from);
    return 0;
}

} // namespace

bool writeFileAtomically(const std::string &path,
                         std::string_view contents,
                         bool replace,
                         std::string &error)
{
    const std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();

    // O_CREAT | O_EXCL: a name that exists, a link included, is never opened.
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    bool done = ::fchmod(fd, defaultFileMode()) == 0 && writeAll(fd, contents) && ::fsync(fd) == 0;
    int reason = errno;
    if (::close(fd) != 0 && done) {
        done = false;
        reason = errno;
    }
    if (done
        && (replace ? ::rename(temporary.c_str(), path.c_str())
                    : renameNoReplace(temporary.c_str(), path.c_str()))
               != 0) {
        done = false;
        reason = errno;
    }
    if (!done) {
        ::unlink(temporary.c_str());
        error = std::strerror(reason);
    }
    return done;
}

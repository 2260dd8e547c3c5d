#include "executablelink.h"

#include <climits>
#include <unistd.h>
#include <vector>

namespace platform {

std::string readExecutableLink(const std::string &link)
{
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t length = readlink(link.c_str(), buffer.data(), buffer.size());
        if (length <= 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(length));
            const std::string deleted = " (deleted)";
            if (path.size() > deleted.size()
                && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
                path.resize(path.size() - deleted.size());
            return path;
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace platform

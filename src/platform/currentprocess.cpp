#include "currentprocess.h"

namespace platform {

namespace {

std::size_t lastSeparator(const std::string &path)
{
    return path.find_last_of("/\\");
}

} // namespace

std::string folderOf(const std::string &path)
{
    const std::size_t at = lastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at);
}

std::string fileNameOf(const std::string &path)
{
    const std::size_t at = lastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

} // namespace platform

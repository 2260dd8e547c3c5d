#include "../processlist.h"

#include "../currentprocess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <unistd.h>

namespace platform {

namespace {

std::string procPath(unsigned long pid, const char *entry)
{
    return "/proc/" + std::to_string(pid) + "/" + entry;
}

// The state letter of /proc/<pid>/stat: after the command name, which may itself hold ')'.
char processState(unsigned long pid)
{
    std::ifstream file(procPath(pid, "stat"));
    std::string line;
    if (!std::getline(file, line))
        return 0;
    const std::size_t end = line.rfind(')');
    if (end == std::string::npos || end + 2 >= line.size())
        return 0;
    return line[end + 2];
}

bool isExited(unsigned long pid)
{
    const char state = processState(pid);
    return state == 0 || state == 'Z' || state == 'X' || state == 'x';
}

std::string executableName(unsigned long pid)
{
    char buffer[4096];
    const ssize_t length = readlink(procPath(pid, "exe").c_str(), buffer, sizeof buffer);
    if (length > 0 && static_cast<std::size_t>(length) < sizeof buffer) {
        std::string path(buffer, static_cast<std::size_t>(length));
        const std::string deleted = " (deleted)";
        if (path.size() > deleted.size()
            && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
            path.resize(path.size() - deleted.size());
        return fileNameOf(path);
    }
    return {};
}

std::string commandName(unsigned long pid)
{
    std::ifstream file(procPath(pid, "comm"));
    std::string name;
    std::getline(file, name);
    return name;
}

} // namespace

std::vector<std::uint32_t> processIdsByExecutableName(const std::string &fileName)
{
    std::vector<std::uint32_t> ids;
    DIR *proc = opendir("/proc");
    if (proc == nullptr)
        return ids;
    // The kernel keeps at most 15 bytes of the command name.
    const std::string shortName = fileName.substr(0, 15);
    while (const dirent *entry = readdir(proc)) {
        char *end = nullptr;
        const unsigned long pid = std::strtoul(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || pid == 0 || pid > 0xFFFFFFFFul)
            continue;
        const std::string name = executableName(pid);
        const bool match = name.empty() ? commandName(pid) == shortName : name == fileName;
        if (match && !isExited(pid))
            ids.push_back(static_cast<std::uint32_t>(pid));
    }
    closedir(proc);
    return ids;
}

bool isProcessRunning(std::uint32_t processId)
{
    // kill(0, ...) and negative ids address process groups, never one process.
    if (processId == 0 || processId > 0x7FFFFFFFu)
        return false;
    if (kill(static_cast<pid_t>(processId), 0) != 0 && errno != EPERM)
        return false;
    return !isExited(processId);
}

} // namespace platform

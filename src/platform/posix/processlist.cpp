#include "../processlist.h"

#include "../currentprocess.h"
#include "executablelink.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace platform {

namespace {

std::string procPath(unsigned long pid, const char *entry)
{
    return "/proc/" + std::to_string(pid) + "/" + entry;
}

// The fields of /proc/<pid>/stat from the third (the state letter) on: they follow the
// command name, which may itself hold spaces and ')'.
std::vector<std::string> statFields(unsigned long pid)
{
    std::ifstream file(procPath(pid, "stat"));
    std::string line;
    if (!std::getline(file, line))
        return {};
    const std::size_t end = line.rfind(')');
    if (end == std::string::npos)
        return {};
    std::istringstream rest(line.substr(end + 1));
    std::vector<std::string> fields;
    for (std::string field; rest >> field;)
        fields.push_back(field);
    return fields;
}

bool isExited(const std::vector<std::string> &fields)
{
    if (fields.empty())
        return true;
    const char state = fields.front()[0];
    return state == 'Z' || state == 'X' || state == 'x';
}

bool isExited(unsigned long pid)
{
    return isExited(statFields(pid));
}

std::int64_t milliseconds(const timespec &time)
{
    return std::int64_t(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
}

std::string executableName(unsigned long pid)
{
    const std::string path = readExecutableLink(procPath(pid, "exe"));
    return path.empty() ? std::string() : fileNameOf(path);
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

std::int64_t processStartTime(std::uint32_t processId)
{
    if (processId == 0 || processId > 0x7FFFFFFFu)
        return 0;
    const std::vector<std::string> fields = statFields(processId);
    constexpr std::size_t startTimeField = 22 - 3; // field 22, counted from the state (3)
    if (isExited(fields) || fields.size() <= startTimeField)
        return 0;
    const std::string &text = fields[startTimeField];
    char *end = nullptr;
    const unsigned long long ticks = std::strtoull(text.c_str(), &end, 10);
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    timespec now = {};
    timespec sinceBoot = {};
    if (end == text.c_str() || *end != '\0' || ticksPerSecond <= 0
        || clock_gettime(CLOCK_REALTIME, &now) != 0
        || clock_gettime(CLOCK_BOOTTIME, &sinceBoot) != 0)
        return 0;
    // The start counts clock ticks since boot, suspended time included, as CLOCK_BOOTTIME
    // does; /proc/stat's boot time has whole seconds only, too coarse to order a start
    // against a file written in the same second.
    const std::int64_t bootTime = milliseconds(now) - milliseconds(sinceBoot);
    return bootTime + static_cast<std::int64_t>(ticks * 1000 / std::uint64_t(ticksPerSecond));
}

} // namespace platform

#include "../runtimelauncher.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace platform {

namespace {

struct SpawnReport
{
    char kind = 0; // 'P': the runtime's id, 'E': exec failed with errno
    int value = 0;
};

void writeReport(int fd, char kind, int value)
{
    const SpawnReport report{kind, value};
    // A pipe write of this size is atomic; nothing else can be done about a failure here.
    [[maybe_unused]] const ssize_t written = write(fd, &report, sizeof report);
}

// Marks every descriptor from 3 up close-on-exec, so that the runtime gets only the standard
// three however the others were opened (by a library, or inherited from our parent), while
// the exec-error pipe stays usable until exec. `highest` is the fallback's limit.
void keepOnlyStandardDescriptors(int highest)
{
#ifdef CLOSE_RANGE_CLOEXEC
    if (close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
#endif
    for (int fd = 3; fd < highest; ++fd)
        fcntl(fd, F_SETFD, FD_CLOEXEC);
}

int descriptorLimit()
{
    rlimit limit = {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY
        || limit.rlim_cur > 0x7FFFFFFF)
        return 0x10000;
    return static_cast<int>(limit.rlim_cur);
}

// Between fork and exec only async-signal-safe calls: everything is prepared beforehand.
bool spawnDetached(const std::string &program,
                   const std::vector<std::string> &arguments,
                   std::uint32_t *processId)
{
    std::vector<char *> argv;
    std::string argv0 = program;
    argv.push_back(argv0.data());
    std::vector<std::string> words = arguments;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const int highestDescriptor = descriptorLimit();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return false;

    // The runtime is started from a short-lived middle process, so that it becomes the child
    // of init (or a subreaper): it outlives this process and never waits here as a zombie.
    const pid_t middle = fork();
    if (middle < 0) {
        const int error = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        errno = error;
        return false;
    }
    if (middle == 0) {
        ::close(fds[0]);
        const pid_t runtime = fork();
        if (runtime == 0) {
            setsid();
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            keepOnlyStandardDescriptors(highestDescriptor);
            execve(argv[0], argv.data(), environ);
            writeReport(fds[1], 'E', errno);
            _exit(127);
        }
        if (runtime < 0)
            writeReport(fds[1], 'E', errno);
        else
            writeReport(fds[1], 'P', runtime);
        _exit(0);
    }
    ::close(fds[1]);
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    // The write end closes when the runtime has exec'd (close-on-exec) or exited.
    SpawnReport started;
    SpawnReport failed;
    for (;;) {
        SpawnReport report;
        const ssize_t got = read(fds[0], &report, sizeof report);
        if (got < 0 && errno == EINTR)
            continue;
        if (got != static_cast<ssize_t>(sizeof report))
            break;
        (report.kind == 'P' ? started : failed) = report;
    }
    ::close(fds[0]);
    if (failed.kind == 'E') {
        errno = failed.value;
        return false;
    }
    if (started.kind != 'P') {
        errno = ECHILD;
        return false;
    }
    if (processId != nullptr)
        *processId = static_cast<std::uint32_t>(started.value);
    return true;
}

std::string programOrDefault(const std::string &program)
{
    return program.empty() ? "./" + runtimeFileName() : program;
}

} // namespace

std::string runtimeFileName()
{
    return "qvkioskcore";
}

bool startStandbyRuntime(const std::string &blockName,
                         std::uint32_t blockSize,
                         std::uint32_t *processId,
                         const std::string &program)
{
    return spawnDetached(programOrDefault(program),
                         standbyArguments(blockName, blockSize),
                         processId);
}

bool startRelayRuntime(const std::string &a1,
                       const std::string &a2,
                       std::uint32_t *processId,
                       const std::string &program)
{
    return spawnDetached(programOrDefault(program), relayArguments(a1, a2), processId);
}

} // namespace platform

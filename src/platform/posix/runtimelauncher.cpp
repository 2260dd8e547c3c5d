#include "../runtimelauncher.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

// The children run on stacks of our own making and end without returning; the address
// sanitizer would leave their frames' poison behind on memory that is unmapped and reused.
#if defined(__SANITIZE_ADDRESS__)
#define NO_SANITIZE_ADDRESS __attribute__((no_sanitize_address))
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NO_SANITIZE_ADDRESS __attribute__((no_sanitize_address))
#endif
#endif
#ifndef NO_SANITIZE_ADDRESS
#define NO_SANITIZE_ADDRESS
#endif

namespace platform {

namespace {

// The children below run in this process's memory (CLONE_VM) while it waits (CLONE_VFORK), as
// posix_spawn's do: a fork would copy the page tables of the whole front-end and leave each page
// it writes afterwards to a copy-on-write fault (some 500 while the window is built). They only
// read this structure and make system calls, on stacks made beforehand. They report through a
// pipe rather than in memory, so that the start also works where such a clone is run as a fork
// (under valgrind).
struct Spawn
{
    char **argv = nullptr;
    int highestDescriptor = 0;
    void *runtimeStack = nullptr; // top of the runtime's stack
    int report = -1;              // the pipe's write end
};

struct SpawnReport
{
    char kind = 0; // 'P': the runtime's id, 'E': clone or exec failed with errno
    int value = 0;
};

NO_SANITIZE_ADDRESS void writeReport(int fd, char kind, int value)
{
    const SpawnReport report{kind, value};
    // A pipe write of this size is atomic; nothing else can be done about a failure here.
    [[maybe_unused]] const ssize_t written = write(fd, &report, sizeof report);
}

constexpr std::size_t stackSize = 64 * 1024;

// Marks every descriptor from 3 up close-on-exec, so that the runtime gets only the standard
// three however the others were opened (by a library, or inherited from our parent).
// `highest` is the fallback's limit.
NO_SANITIZE_ADDRESS void keepOnlyStandardDescriptors(int highest)
{
#ifdef CLOSE_RANGE_CLOEXEC
    if (close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
#endif
    for (int fd = 3; fd < highest; ++fd)
        fcntl(fd, F_SETFD, FD_CLOEXEC);
}

// The runtime before its exec. A handler of ours must never run here, in the front-end's memory:
// caught signals go back to their defaults (as exec would set them) before any is unblocked.
NO_SANITIZE_ADDRESS int execRuntime(void *argument)
{
    auto spawn = static_cast<Spawn *>(argument);
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction action = {};
        if (sigaction(signal, nullptr, &action) != 0 || action.sa_handler == SIG_IGN
            || action.sa_handler == SIG_DFL)
            continue;
        action = {};
        action.sa_handler = SIG_DFL;
        sigaction(signal, &action, nullptr);
    }
    setsid();
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    keepOnlyStandardDescriptors(spawn->highestDescriptor);
    execve(spawn->argv[0], spawn->argv, environ);
    writeReport(spawn->report, 'E', errno);
    _exit(127);
}

// The short-lived middle process, so that the runtime becomes the child of init (or a
// subreaper): it outlives this process and never waits here as a zombie. It returns once the
// runtime has been executed or has failed to be.
NO_SANITIZE_ADDRESS int startRuntime(void *argument)
{
    auto spawn = static_cast<Spawn *>(argument);
    const pid_t runtime = clone(execRuntime,
                                spawn->runtimeStack,
                                CLONE_VM | CLONE_VFORK | SIGCHLD,
                                spawn);
    if (runtime < 0)
        writeReport(spawn->report, 'E', errno);
    else
        writeReport(spawn->report, 'P', runtime);
    _exit(0);
}

int descriptorLimit()
{
    rlimit limit = {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY
        || limit.rlim_cur > 0x7FFFFFFF)
        return 0x10000;
    return static_cast<int>(limit.rlim_cur);
}

// Everything is prepared before the first clone: the children allocate nothing.
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

    // Two stacks, each above a guard page.
    const long page = sysconf(_SC_PAGESIZE);
    const std::size_t span = 2 * (stackSize + static_cast<std::size_t>(page));
    void *const stacks = mmap(nullptr,
                              span,
                              PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK,
                              -1,
                              0);
    if (stacks == MAP_FAILED)
        return false;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        const int error = errno;
        munmap(stacks, span);
        errno = error;
        return false;
    }
    auto *const base = static_cast<unsigned char *>(stacks);
    mprotect(base, static_cast<std::size_t>(page), PROT_NONE);
    mprotect(base + span / 2, static_cast<std::size_t>(page), PROT_NONE);

    Spawn spawn;
    spawn.argv = argv.data();
    spawn.highestDescriptor = descriptorLimit();
    spawn.runtimeStack = base + span;
    spawn.report = fds[1];

    // No handler of ours may run in the children; they restore what they need.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t middle = clone(startRuntime,
                               base + span / 2,
                               CLONE_VM | CLONE_VFORK | SIGCHLD,
                               &spawn);
    const int cloneError = errno;
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(fds[1]);
    if (middle < 0) {
        ::close(fds[0]);
        munmap(stacks, span);
        errno = cloneError;
        return false;
    }
    while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    // The write end closes when the runtime has been executed (close-on-exec) or has ended.
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
    munmap(stacks, span);
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

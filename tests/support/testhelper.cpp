// The Qt-free tests' helper process (built for Windows too), by its first argument (see main);
// else the stand-in runtime, serving until a request is accepted or its front-end has ended.
#include "runtimearguments.h"
#include "runtimebehaviour.h"
#include "runtimeserver.h"
#include "testsupport.h"

#include "platform/copieslock.h"
#include "platform/processlist.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

int holdCopiesLock(const std::string &folder)
{
    const platform::CopiesLock lock(folder, 20000);
    if (!lock.isHeld())
        return 5;
    const std::string held = folder + platform::folderSeparator() + "held";
    std::ofstream(held) << "held\n";
    return testsupport::waitFor([&] { return !platform::fileExists(held); }) ? 0 : 4;
}

int findItself(const std::string &ownPath)
{
    if (!testsupport::waitFor([&] { return !platform::fileExists(ownPath); }))
        return 4;
    // By the name it was started as, as the front-end looks for copies of "qvkiosk".
    const std::vector<std::uint32_t> copies = platform::processIdsByExecutableName(
        platform::fileNameOf(ownPath));
    return std::count(copies.begin(), copies.end(), platform::currentProcessId()) == 1 ? 0 : 1;
}

#ifndef _WIN32
// Passes on what the program prints until `text` has appeared after `from`, or to its end.
bool passOnUntil(int fd, const std::string &text, std::string &seen, std::size_t &from)
{
    for (;;) {
        if (const std::size_t at = seen.find(text, from); at != std::string::npos) {
            from = at + text.size();
            return true;
        }
        pollfd ready{fd, POLLIN, 0};
        char buffer[256];
        const ssize_t n = ::poll(&ready, 1, 20'000) > 0 ? ::read(fd, buffer, sizeof buffer) : 0;
        if (n <= 0)
            return false; // the end, EIO from a closed terminal, or a hang
        seen.append(buffer, std::size_t(n));
        std::fwrite(buffer, 1, std::size_t(n), stdout);
    }
}

// --pty <prompt> <answer>... -- <program> <argument>...: types each answer once its prompt shows.
int onTerminal(const std::vector<std::string> &words)
{
    const auto program = std::find(words.begin(), words.end(), "--");
    if (program == words.end() || program + 1 == words.end())
        return 2;
    std::vector<char *> argv;
    for (auto word = program + 1; word != words.end(); ++word)
        argv.push_back(const_cast<char *>(word->c_str()));
    argv.push_back(nullptr);
    int fd = -1;
    const pid_t child = ::forkpty(&fd, nullptr, nullptr, nullptr);
    if (child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    std::string seen;
    std::size_t from = 0;
    for (auto prompt = words.begin() + 2; prompt + 1 < program; prompt += 2) {
        if (!passOnUntil(fd, *prompt, seen, from)) {
            std::printf("\n[no prompt \"%s\"]\n", prompt->c_str());
            break;
        }
        const std::string &answer = prompt[1];
        if (::write(fd, answer.data(), answer.size()) != ssize_t(answer.size()))
            return 3;
    }
    passOnUntil(fd, std::string(1, '\0'), seen, from);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
#endif

int serve(const std::vector<std::string> &words)
{
    RuntimeArguments arguments;
    if (!RuntimeArguments::parse(words, arguments))
        return 2;
    RuntimeServer server(RuntimeBehaviour::fromEnvironment());
    if (!server.open(arguments))
        return 3;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < giveUp) {
        if (server.step() || server.frontEndEnded())
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return 4;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<std::string> words(argv, argv + argc);
    const std::string role = words.size() > 1 ? words[1] : "";
    if (words.size() == 3 && role == "--exit")
        return std::atoi(words[2].c_str());
    if (words.size() == 3 && role == "--hold-copies-lock")
        return holdCopiesLock(words[2]);
    if (words.size() == 3 && role == "--find-itself")
        return findItself(words[2]);
#ifndef _WIN32
    if (role == "--pty")
        return onTerminal(words);
#endif
    return serve(words);
}

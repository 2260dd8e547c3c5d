// Plays the kiosk runtime for the platform tests: serves the request block named on its
// command line like qvkioskcore, without a window, and exits after accepting one request,
// when its front-end has ended, or after a minute at the latest.
// Other roles, chosen by the first argument:
//   --hold-copies-lock <folder>  holds that folder's CopiesLock, makes the file "held" there
//                                once it does, and lets go when that file is gone;
//   --find-itself <own path>     waits until its own program file is deleted, then exits 0
//                                when it still finds itself among the copies of its program.
#include "runtimearguments.h"
#include "runtimebehaviour.h"
#include "runtimeserver.h"
#include "testsupport.h"

#include "platform/copieslock.h"
#include "platform/processlist.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

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
    const std::vector<std::uint32_t> copies = platform::processIdsByExecutableName(
        platform::fileNameOf(platform::executablePath()));
    return std::count(copies.begin(), copies.end(), platform::currentProcessId()) == 1 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<std::string> words(argv, argv + argc);
    if (words.size() == 3 && words[1] == "--hold-copies-lock")
        return holdCopiesLock(words[2]);
    if (words.size() == 3 && words[1] == "--find-itself")
        return findItself(words[2]);
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

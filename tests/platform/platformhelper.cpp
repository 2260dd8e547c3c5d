// Plays the kiosk runtime for the platform tests: serves the request block named on its
// command line like qvkioskcore, without a window, and exits after accepting one request,
// when its front-end has ended, or after a minute at the latest.
#include "runtimearguments.h"
#include "runtimebehaviour.h"
#include "runtimeserver.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char *argv[])
{
    const std::vector<std::string> words(argv, argv + argc);
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

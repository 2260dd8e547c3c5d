#pragma once

#include <chrono>

// How long the front-end waits for the kiosk runtime. The defaults are the product's own;
// tests pass short ones.
struct RuntimeWaits
{
    // A file named on the command line: up to 100 looks at ready, after a first pause and
    // between looks, about 30 s in all.
    std::chrono::milliseconds readyInterval{300};
    int readyLooks = 100;
    // Each hand-over: up to 50 looks at accepted, about 5 s in all.
    std::chrono::milliseconds acceptedInterval{100};
    int acceptedLooks = 50;
    // The window's start-up poll under the "Initializing..." box: gives up after this many
    // ticks, about 30 s.
    std::chrono::milliseconds pollInterval{100};
    int pollLimit = 300;
    // While the start page is up: how often the launcher looks whether the standby runtime
    // still runs.
    std::chrono::milliseconds runtimeWatchInterval{1000};
};

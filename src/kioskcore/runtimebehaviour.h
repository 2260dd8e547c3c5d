#pragma once

#include <functional>
#include <string>

// Test steering of the stand-in runtime, read from environment variables that the runtime
// inherits from the front-end.
struct RuntimeBehaviour
{
    int readyDelayMs = 0;         // QVKIOSKCORE_READY_DELAY_MS
    int acceptDelayMs = 0;        // QVKIOSKCORE_ACCEPT_DELAY_MS
    bool neverReady = false;      // QVKIOSKCORE_NEVER_READY=1
    bool neverAccept = false;     // QVKIOSKCORE_NEVER_ACCEPT=1
    bool crashAfterReady = false; // QVKIOSKCORE_CRASH_AFTER_READY=1
    bool noWindow = false;        // QVKIOSKCORE_NO_WINDOW=1
    std::string recordFile;       // QVKIOSKCORE_RECORD=<file>

    // `lookup` answers a variable's value, or null when it is not set. Delays that are not
    // non-negative decimal numbers count as 0.
    static RuntimeBehaviour fromLookup(const std::function<const char *(const char *)> &lookup);
    static RuntimeBehaviour fromEnvironment();
};

#include "runtimebehaviour.h"

#include <cstdlib>

namespace {

int milliseconds(const char *text)
{
    if (text == nullptr || *text == '\0')
        return 0;
    long long value = 0;
    for (const char *c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9')
            return 0;
        value = value * 10 + (*c - '0');
        if (value > 24LL * 3600 * 1000)
            return 0;
    }
    return static_cast<int>(value);
}

bool isOne(const char *text)
{
    return text != nullptr && std::string(text) == "1";
}

} // namespace

RuntimeBehaviour RuntimeBehaviour::fromLookup(const std::function<const char *(const char *)> &lookup)
{
    RuntimeBehaviour behaviour;
    behaviour.readyDelayMs = milliseconds(lookup("QVKIOSKCORE_READY_DELAY_MS"));
    behaviour.acceptDelayMs = milliseconds(lookup("QVKIOSKCORE_ACCEPT_DELAY_MS"));
    behaviour.neverReady = isOne(lookup("QVKIOSKCORE_NEVER_READY"));
    behaviour.neverAccept = isOne(lookup("QVKIOSKCORE_NEVER_ACCEPT"));
    behaviour.crashAfterReady = isOne(lookup("QVKIOSKCORE_CRASH_AFTER_READY"));
    behaviour.noWindow = isOne(lookup("QVKIOSKCORE_NO_WINDOW"));
    if (const char *file = lookup("QVKIOSKCORE_RECORD"))
        behaviour.recordFile = file;
    return behaviour;
}

RuntimeBehaviour RuntimeBehaviour::fromEnvironment()
{
    return fromLookup([](const char *name) { return std::getenv(name); });
}

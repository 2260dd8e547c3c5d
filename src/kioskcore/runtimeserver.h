#pragma once

#include "runtimearguments.h"
#include "runtimebehaviour.h"
#include "takenrequest.h"

#include "platform/sharedmemoryblock.h"
#include "platform/sharedmemoryview.h"

#include <chrono>
#include <optional>
#include <string>

// The runtime's side of the request block, without any window: sets ready once it serves
// the block, then takes each request (path block name set, accepted 0), reads its path
// block, records it and sets accepted, unless a newer request has replaced it meanwhile.
// Driven by calling step() periodically.
class RuntimeServer final
{
public:
    explicit RuntimeServer(RuntimeBehaviour behaviour);

    // Opens the existing request block; false when it is missing or smaller than 260 bytes.
    bool open(const RuntimeArguments &arguments);

    // One look at the block. Returns a request when this step has accepted it (the moment
    // to show it). With QVKIOSKCORE_CRASH_AFTER_READY the process aborts right after ready.
    std::optional<TakenRequest> step();

    bool isReady() const { return readySet; }

    // Someone cut the request block below its 260 bytes: the server has let go of it and
    // serves nothing more (the line on standard error says so). The runtime then ends.
    bool blockWasCut() const { return blockCut; }
    bool hasTakenRequest() const { return takenCount > 0; }

    // The front-end whose process id the block name carries no longer runs. False for a
    // name that carries no process id.
    bool frontEndEnded() const;

private:
    using Clock = std::chrono::steady_clock;

    bool readPath(const std::string &blockName, std::uint32_t sizeField, std::string &path) const;

    RuntimeBehaviour behaviour;
    platform::SharedMemoryBlock block;
    platform::SharedMemoryView view;
    std::string blockName;
    Clock::time_point openedAt;
    bool readySet = false;
    bool blockCut = false;
    int takenCount = 0;
    std::u16string lastTakenName;         // the request taken last, accepted or not yet
    unsigned char previousLook[252] = {}; // the request part of the block at the last step
    unsigned char takenLook[252] = {};    // the request part of the block when it was taken
    std::optional<TakenRequest> pending;
    Clock::time_point acceptAt;
};

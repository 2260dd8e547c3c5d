#include "runtimeserver.h"

#include "requestrecorder.h"

#include "platform/blockname.h"
#include "platform/currentprocess.h"
#include "platform/processlist.h"
#include "platform/runtimerequest.h"
#include "platform/text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using platform::RuntimeRequest;

RuntimeServer::RuntimeServer(RuntimeBehaviour behaviour)
    : behaviour(std::move(behaviour))
{}

bool RuntimeServer::open(const RuntimeArguments &arguments)
{
    if (arguments.blockSize < RuntimeRequest::blockSize)
        return false;
    block = platform::SharedMemoryBlock::openExisting(arguments.blockName);
    if (!block.isOpen())
        return false;
    view = platform::SharedMemoryView::map(block, RuntimeRequest::blockSize);
    if (!view.isMapped())
        return false;
    blockName = arguments.blockName;
    openedAt = Clock::now();
    return true;
}

std::optional<TakenRequest> RuntimeServer::step()
{
    if (!view.isMapped())
        return std::nullopt;
    // A page of the view past a cut object's end raises SIGBUS when touched.
    if (const long long size = block.currentSize();
        size >= 0 && size < static_cast<long long>(RuntimeRequest::blockSize)) {
        std::fprintf(stderr,
                     "qvkioskcore: the request block %s was cut to %lld bytes; ending\n",
                     blockName.c_str(),
                     size);
        view.unmap();
        blockCut = true;
        return std::nullopt;
    }
    const Clock::time_point now = Clock::now();
    unsigned char *data = view.data();

    if (!behaviour.neverReady
        && now - openedAt >= std::chrono::milliseconds(behaviour.readyDelayMs)) {
        // A handoff rewrites the whole block with ready 0; the runtime still serves it.
        if (RuntimeRequest::loadWord(data, RuntimeRequest::readyOffset) == 0)
            RuntimeRequest::storeWord(data, RuntimeRequest::readyOffset, 1);
        if (!readySet && behaviour.crashAfterReady)
            std::abort();
        readySet = true;
    }

    // A runtime that does not serve the block yet takes no request either.
    if (!readySet)
        return std::nullopt;

    unsigned char copy[RuntimeRequest::blockSize];
    for (std::size_t i = 0; i < sizeof copy; ++i)
        copy[i] = data[i];

    if (pending) {
        if (now < acceptAt)
            return std::nullopt;
        // The front-end may have written a newer request during the delay: accepted belongs
        // to the request taken, so the newer one is left to be taken in turn.
        const bool stillThere = std::equal(copy, copy + RuntimeRequest::readyOffset, takenLook);
        std::optional<TakenRequest> accepted = std::move(pending);
        pending.reset();
        if (!stillThere)
            return std::nullopt;
        RuntimeRequest::storeWord(data, RuntimeRequest::acceptedOffset, 1);
        return accepted;
    }

    // The front-end writes the block with plain copies: a request counts only once two
    // looks in a row have seen the same bytes, so a half-written one is never taken.
    const bool settled = std::equal(copy, copy + RuntimeRequest::readyOffset, previousLook);
    std::copy(copy, copy + RuntimeRequest::readyOffset, previousLook);
    if (!settled)
        return std::nullopt;
    const RuntimeRequest request = RuntimeRequest::decode(copy);
    if (request.pathBlockName.empty() || request.accepted != 0
        || request.pathBlockName == lastTakenName)
        return std::nullopt;
    lastTakenName = request.pathBlockName;

    std::optional<TakenRequest> fields = TakenRequest::fromRequest(request);
    if (!fields) {
        std::fprintf(stderr, "qvkioskcore: a request with invalid text is refused\n");
        return std::nullopt;
    }
    TakenRequest taken = std::move(*fields);
    taken.runtimeProcessId = platform::currentProcessId();
    if (!readPath(taken.pathBlockName, request.pathBlockSize, taken.path)) {
        std::fprintf(stderr,
                     "qvkioskcore: cannot read path block %s\n",
                     taken.pathBlockName.c_str());
        return std::nullopt;
    }
    ++takenCount;
    if (!RequestRecorder(behaviour.recordFile).record(taken))
        std::fprintf(stderr, "qvkioskcore: cannot record to %s\n", behaviour.recordFile.c_str());
    if (behaviour.neverAccept)
        return std::nullopt;
    pending = std::move(taken);
    std::copy(copy, copy + RuntimeRequest::readyOffset, takenLook);
    acceptAt = now + std::chrono::milliseconds(behaviour.acceptDelayMs);
    return step();
}

bool RuntimeServer::readPath(const std::string &name,
                             std::uint32_t sizeField,
                             std::string &path) const
{
    // The size field is four times the path's UTF-16 units.
    const std::size_t units = sizeField / 4;
    if (units == 0) {
        path.clear();
        return true;
    }
    const platform::SharedMemoryBlock pathBlock = platform::SharedMemoryBlock::openExisting(name);
    if (!pathBlock.isOpen())
        return false;
    const platform::SharedMemoryView pathView = platform::SharedMemoryView::map(pathBlock,
                                                                                units * 2);
    if (!pathView.isMapped())
        return false;
    std::u16string text(units, u'\0');
    for (std::size_t i = 0; i < units; ++i)
        text[i] = char16_t(pathView.data()[2 * i] | (pathView.data()[2 * i + 1] << 8));
    return platform::utf16ToUtf8(text, path);
}

bool RuntimeServer::frontEndEnded() const
{
    std::uint32_t pid = 0;
    return platform::blockNameProcessId(blockName, pid) && !platform::isProcessRunning(pid);
}

// libFuzzer target for the request block as the runtime reads and takes it: a decoded request
// that can be written again reads back the same.

#include "takenrequest.h"

#include "platform/runtimerequest.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <tuple>

using platform::RuntimeRequest;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto fields = [](const RuntimeRequest &r) {
        return std::tie(r.code, r.accessLevel, r.pathBlockName, r.pathBlockSize, r.ready, r.accepted);
    };
    // The runtime always reads a whole block; a short input is the start of one, zero after.
    unsigned char block[RuntimeRequest::blockSize] = {};
    if (size > 0) // an empty input may come with no buffer at all
        std::memcpy(block, data, std::min(size, sizeof block));

    const RuntimeRequest request = RuntimeRequest::decode(block);
    unsigned char written[RuntimeRequest::blockSize];
    if (request.encode(written) && fields(RuntimeRequest::decode(written)) != fields(request))
        __builtin_trap();
    TakenRequest::fromRequest(request);
    return 0;
}

// libFuzzer target for the request block as the runtime reads it: the 260 bytes decoded, then
// the text fields converted as the runtime takes them. Besides "no crash, no hang, no leak", it
// checks that a decoded request written again reads back the same, and that a taken request's
// UTF-8 fields give back the block's UTF-16 units.

#include "takenrequest.h"

#include "platform/runtimerequest.h"
#include "platform/text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

using platform::RuntimeRequest;

namespace {

bool fieldOk(const std::u16string &text, std::size_t fieldBytes)
{
    return text.size() <= fieldBytes / 2 && text.find(u'\0') == std::u16string::npos;
}

bool sameRequest(const RuntimeRequest &a, const RuntimeRequest &b)
{
    return a.code == b.code && a.accessLevel == b.accessLevel && a.pathBlockName == b.pathBlockName
           && a.pathBlockSize == b.pathBlockSize && a.ready == b.ready && a.accepted == b.accepted;
}

bool backToUtf16(const std::string &utf8, const std::u16string &units)
{
    std::u16string again;
    return platform::utf8ToUtf16(utf8, again) && again == units;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The runtime always reads a whole block; a short input is the start of one, zero after.
    unsigned char block[RuntimeRequest::blockSize] = {};
    if (size > 0) // an empty input may come with no buffer at all
        std::memcpy(block, data, std::min(size, sizeof block));

    const RuntimeRequest request = RuntimeRequest::decode(block);
    if (!fieldOk(request.code, RuntimeRequest::codeBytes)
        || !fieldOk(request.accessLevel, RuntimeRequest::accessLevelBytes)
        || !fieldOk(request.pathBlockName, RuntimeRequest::pathBlockNameBytes))
        __builtin_trap();

    unsigned char written[RuntimeRequest::blockSize];
    if (request.encode(written)) {
        if (!sameRequest(RuntimeRequest::decode(written), request))
            __builtin_trap();
        // The status words and the size field are copied as they stand.
        if (std::memcmp(written + RuntimeRequest::pathBlockSizeOffset,
                        block + RuntimeRequest::pathBlockSizeOffset,
                        RuntimeRequest::blockSize - RuntimeRequest::pathBlockSizeOffset)
            != 0)
            __builtin_trap();
    }

    const std::optional<TakenRequest> taken = TakenRequest::fromRequest(request);
    if (!taken)
        return 0;
    if (!backToUtf16(taken->code, request.code)
        || !backToUtf16(taken->accessLevel, request.accessLevel)
        || !backToUtf16(taken->pathBlockName, request.pathBlockName))
        __builtin_trap();
    return 0;
}

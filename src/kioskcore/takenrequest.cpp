#include "takenrequest.h"

#include "platform/runtimerequest.h"
#include "platform/text.h"

std::optional<TakenRequest> TakenRequest::fromRequest(const platform::RuntimeRequest &request)
{
    TakenRequest taken;
    if (!platform::utf16ToUtf8(request.code, taken.code)
        || !platform::utf16ToUtf8(request.accessLevel, taken.accessLevel)
        || !platform::utf16ToUtf8(request.pathBlockName, taken.pathBlockName))
        return std::nullopt;
    return taken;
}

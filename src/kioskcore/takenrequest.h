#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {
struct RuntimeRequest;
}

// A request as the runtime took it from the request block, with the path from its path block.
struct TakenRequest
{
    std::string code;
    std::string accessLevel;
    std::string pathBlockName;
    std::string path;
    std::uint32_t runtimeProcessId = 0;

    // The text fields of a decoded request in UTF-8 (path and process id not yet set).
    // Nothing when a field is not valid UTF-16: no front-end writes such a request, and an
    // empty code or name in its place would be taken for another.
    static std::optional<TakenRequest> fromRequest(const platform::RuntimeRequest &request);
};

#pragma once

#include <cstdint>
#include <string>

// A request as the runtime took it from the request block, with the path from its path block.
struct TakenRequest
{
    std::string code;
    std::string accessLevel;
    std::string pathBlockName;
    std::string path;
    std::uint32_t runtimeProcessId = 0;
};

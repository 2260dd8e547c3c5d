#pragma once

#include <cstdint>

// The level at which a controller file is opened; the values are those the core library takes.
enum class AccessLevel : std::int32_t {
    None = 0,
    Administrator = 1,
    PowerUser = 2,
};

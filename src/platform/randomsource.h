#pragma once

#include <cstddef>

namespace platform {

// Fills `size` bytes at `data` from the operating system's random source (getrandom, else
// /dev/urandom; Windows: BCryptGenRandom), for what others must not foresee. False on
// failure; see lastError().
bool fillRandom(unsigned char *data, std::size_t size);

} // namespace platform

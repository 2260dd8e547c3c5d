#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// A relay block size argument: optional leading blanks and '+', then decimal digits only,
// 1 to 2^31 - 1. Anything else ("", "abc", "12abc", "-1", "0", "0x10", too large) is false.
bool parseRelayBlockSize(const std::string &text, std::size_t &size);

// Writes processId as a 32-bit little-endian number at byte 0 of the caller's existing block
// `blockName`, mapped with the size that `sizeText` gives, and touches nothing else. False,
// with nothing mapped, for a bad name or size, a size below 4, a missing block or one
// smaller than the size.
bool reportRelayedProcessId(const std::string &blockName,
                            const std::string &sizeText,
                            std::uint32_t processId);

} // namespace platform

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The request block shared with the kiosk runtime: 260 bytes, little-endian; strings are
// UTF-16 units ended by a zero unit, the rest of each field zero.
struct RuntimeRequest
{
    static constexpr std::size_t blockSize = 260;
    static constexpr std::size_t codeOffset = 0;
    static constexpr std::size_t codeBytes = 16;
    static constexpr std::size_t accessLevelOffset = 16;
    static constexpr std::size_t accessLevelBytes = 32;
    static constexpr std::size_t pathBlockNameOffset = 48;
    static constexpr std::size_t pathBlockNameBytes = 200;
    static constexpr std::size_t pathBlockSizeOffset = 248;
    static constexpr std::size_t readyOffset = 252;
    static constexpr std::size_t acceptedOffset = 256;

    std::u16string code;
    std::u16string accessLevel;
    std::u16string pathBlockName;
    std::uint32_t pathBlockSize = 0; // 4 x the path's UTF-16 units (twice the block's bytes)
    std::uint32_t ready = 0;
    std::uint32_t accepted = 0;

    // Writes all blockSize bytes. False, and nothing written, when a string does not fit
    // its field with its terminating zero unit.
    bool encode(unsigned char *block) const;

    // Reads blockSize bytes; a string without its zero unit ends with its field.
    static RuntimeRequest decode(const unsigned char *block);

    // "Power User" for level 2, "Administrator" for any other level.
    static std::u16string accessLevelText(int level);

    // The path block's size in bytes for a path of `units` UTF-16 units: 2 x units, or 0 when
    // that exceeds 2^31 - 1.
    static std::uint32_t pathBlockBytes(std::size_t units);

    // One aligned 32-bit status word (ready, accepted) of a mapped block, read or written as
    // a whole, since the other process changes it concurrently.
    static std::uint32_t loadWord(const unsigned char *block, std::size_t offset);
    static void storeWord(unsigned char *block, std::size_t offset, std::uint32_t value);
};

} // namespace platform

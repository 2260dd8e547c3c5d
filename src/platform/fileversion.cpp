#include "fileversion.h"

namespace platform {

std::string formatFileVersion(std::uint32_t mostSignificant, std::uint32_t leastSignificant)
{
    return std::to_string(mostSignificant >> 16) + "." + std::to_string(mostSignificant & 0xFFFF)
           + "." + std::to_string(leastSignificant >> 16) + "."
           + std::to_string(leastSignificant & 0xFFFF);
}

std::string fileVersionFromResource(const unsigned char *data, std::size_t size)
{
    // VS_VERSIONINFO: a 6-byte header, the key "VS_VERSION_INFO" with padding, then
    // VS_FIXEDFILEINFO at byte 40: signature, structure version, file version MS and LS.
    constexpr std::size_t signatureOffset = 40;
    constexpr std::uint32_t signature = 0xFEEF04BD;
    if (data == nullptr || size < 56)
        return {};
    const auto word = [data](std::size_t offset) {
        return std::uint32_t(data[offset]) | std::uint32_t(data[offset + 1]) << 8
               | std::uint32_t(data[offset + 2]) << 16 | std::uint32_t(data[offset + 3]) << 24;
    };
    if (word(signatureOffset) != signature)
        return {};
    return formatFileVersion(word(48), word(52));
}

} // namespace platform

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// This program's four-part file version, e.g. "2.0.0.11". Windows: read from the program's
// own VERSIONINFO resource (empty when it has none); elsewhere the version compiled in.
std::string fileVersion();

// "a.b.c.d" from the fixed file information's two words: a and b are the high and low 16 bits
// of mostSignificant, c and d those of leastSignificant.
std::string formatFileVersion(std::uint32_t mostSignificant, std::uint32_t leastSignificant);

// The version of a raw version resource: the words at bytes 48 and 52, where a standard
// resource keeps them. Empty when the data is shorter or lacks the fixed-information signature.
std::string fileVersionFromResource(const unsigned char *data, std::size_t size);

} // namespace platform

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qvcore {

// Reads the whole regular file at path into contents, refusing files larger than limit before
// reading them. Returns QVCORE_STATUS_OK or the not-found, unreadable or too-large status.
// Never blocks on FIFOs or devices: only regular files are read.
std::int32_t readBoundedFile(const char *path, std::size_t limit, std::string &contents);

} // namespace qvcore

#pragma once

#include "controllerfile.h"

#include <cstdint>
#include <string_view>

namespace qvcore {

// The outcome of reading a file: status QVCORE_STATUS_OK with isKioskFile telling whether it is a
// kiosk controller file (then file holds what it says), or an error status.
struct ControllerFileReading
{
    std::int32_t status = -1;
    bool isKioskFile = false;
    ControllerFile file;
};

// Reads the file's contents. Memory and time stay linear in the input, whatever its nesting.
ControllerFileReading parseControllerFile(std::string_view bytes);

// Reads and parses the file at path (at most QVCORE_MAX_FILE_SIZE bytes).
ControllerFileReading readControllerFile(const char *path);

} // namespace qvcore

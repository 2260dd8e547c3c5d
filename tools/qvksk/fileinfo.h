#pragma once

#include <iosfwd>
#include <string>

namespace qvcore {
struct ControllerFile;
}

// What "qvksk info" prints about the file read from path: never a code's hash. As lines of
// "name: value", with control characters escaped, or as one JSON object (pure ASCII).
void printFileInfo(std::ostream &out, const std::string &path, const qvcore::ControllerFile &file);
void printFileInfoJson(std::ostream &out,
                       const std::string &path,
                       const qvcore::ControllerFile &file);

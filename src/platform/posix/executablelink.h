#pragma once

#include <string>

namespace platform {

// The program file that a /proc/<pid>/exe link (`link`) names, without the " (deleted)" that
// Linux appends once that file was replaced or removed, as a package upgrade does. This
// process's own name and the others' are read through here alike, so that they still match.
// Empty when the link cannot be read.
std::string readExecutableLink(const std::string &link);

} // namespace platform

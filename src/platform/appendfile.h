#pragma once

#include <string>

namespace platform {

// Appends `data` to the file (UTF-8 path; made, readable by this user alone, when missing) in
// one write, so that a line is never split by another writer's. False with lastError() set
// when the file cannot be opened or not all of it was written.
bool appendWhole(const std::string &fileName, const std::string &data);

// The user's folder for state that outlives a run, in UTF-8: $XDG_STATE_HOME when it is an
// absolute path, else ~/.local/state on POSIX; the local application-data folder
// (%LOCALAPPDATA%) on Windows. Empty when the system names none.
std::string userStateFolder();

} // namespace platform

#pragma once

#include <cstdint>
#include <string>

namespace platform {

// This process's id (GetCurrentProcessId / getpid).
std::uint32_t currentProcessId();

// The full path of this program's executable in UTF-8; empty when it cannot be read.
std::string executablePath();

// The folder part of a path: everything before its last '/' or '\'; empty when it has none.
std::string folderOf(const std::string &path);

// The file name part of a path: everything after its last '/' or '\'.
std::string fileNameOf(const std::string &path);

// The platform's folder separator: '\' on Windows, '/' elsewhere.
char folderSeparator();

// Makes `folder` (UTF-8) the current folder of the process.
bool setCurrentFolder(const std::string &folder);

// Whether `path` (UTF-8, relative to the current folder or absolute) names an existing file.
bool fileExists(const std::string &path);

} // namespace platform

#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The operating system's error code of the last failed call on this thread
// (Windows: GetLastError, elsewhere errno). Refusals of bad input set it to the
// platform's "invalid argument" code.
std::uint32_t lastError();

// Whether the last error says that access was denied (ERROR_ACCESS_DENIED / EACCES), as for
// a block that belongs to another user or is open to others.
bool lastErrorIsAccessDenied();

// Sets the last error to "invalid argument" (ERROR_INVALID_PARAMETER / EINVAL).
void setInvalidArgumentError();

// Sets the last error to "already exists" (ERROR_ALREADY_EXISTS / EEXIST).
void setAlreadyExistsError();

// The system's description of an error code of lastError(), in UTF-8 (strerror /
// FormatMessageW); empty when the system has none.
std::string errorText(std::uint32_t code);

} // namespace platform

#pragma once

#include <ctime>

namespace platform {

// The current local date and time; false when the clock or the time zone cannot be read.
bool localTimeNow(std::tm &out);

} // namespace platform

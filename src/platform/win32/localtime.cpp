#include "../localtime.h"

namespace platform {

bool localTimeNow(std::tm &out)
{
    const std::time_t now = std::time(nullptr);
    return now != std::time_t(-1) && localtime_s(&out, &now) == 0;
}

} // namespace platform

#include "../windowmessages.h"

namespace platform {

bool readWindowMessage(const void *, WindowMessage &)
{
    return false;
}

} // namespace platform

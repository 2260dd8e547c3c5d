#include "../fileversion.h"

#include "qvkioskversion.h"

namespace platform {

std::string fileVersion()
{
    return QVKIOSK_VERSION;
}

} // namespace platform

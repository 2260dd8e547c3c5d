#include "nativewindow.h"

namespace platform {

std::intptr_t systemMenuParameter(int x, int y)
{
    return std::intptr_t(y & 0xFFFF) * 65536 + std::intptr_t(x & 0xFFFF);
}

} // namespace platform

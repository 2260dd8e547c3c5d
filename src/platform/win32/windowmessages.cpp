#include "../windowmessages.h"

#include <windows.h>

namespace platform {

bool readWindowMessage(const void *nativeMessage, WindowMessage &out)
{
    if (nativeMessage == nullptr)
        return false;
    const auto *msg = static_cast<const MSG *>(nativeMessage);
    out.window = reinterpret_cast<std::uintptr_t>(msg->hwnd);
    out.message = msg->message;
    out.wParam = msg->wParam;
    out.lParam = msg->lParam;
    return true;
}

} // namespace platform

#include "../nativewindow.h"

#include <windows.h>

namespace platform {

bool openSystemMenu(std::uintptr_t window, int x, int y)
{
    // 0x0313 is the undocumented message with which the shell opens a window's system menu.
    return PostMessageW(reinterpret_cast<HWND>(window), 0x0313, 0, systemMenuParameter(x, y)) != 0;
}

bool bringWindowToFront(std::uintptr_t window)
{
    const HWND handle = reinterpret_cast<HWND>(window);
    const UINT flags = SWP_NOSIZE | SWP_NOMOVE;
    const bool top = SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, flags) != 0;
    const bool back = SetWindowPos(handle, HWND_NOTOPMOST, 0, 0, 0, 0, flags) != 0;
    return top && back;
}

} // namespace platform

#pragma once

#include <cstdint>

namespace platform {

// The lParam that carries a screen point to the system menu: (y & 0xFFFF) * 65536 + (x & 0xFFFF).
std::intptr_t systemMenuParameter(int x, int y);

// Windows: posts message 0x0313 to the native window so that it opens its system menu at
// (x, y). Elsewhere there is no such menu: false.
bool openSystemMenu(std::uintptr_t window, int x, int y);

// Windows: brings the native window to the front without leaving it topmost (SetWindowPos
// HWND_TOPMOST then HWND_NOTOPMOST). Elsewhere false; the Qt code raises the window itself.
bool bringWindowToFront(std::uintptr_t window);

} // namespace platform

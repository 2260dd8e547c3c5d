#pragma once

#include <cstdint>

namespace platform {

// The fields of a Windows MSG that the frameless main window looks at.
struct WindowMessage
{
    std::uintptr_t window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

enum class WindowMessageAction {
    None,            // not ours
    HitTest,         // ask whether (x, y) is caption; answer with hitTestResult()
    ToggleMaximized, // double click on the caption
    SystemMenu,      // open the system menu at (x, y): openSystemMenu()
    Restore,
    Maximize,
    Minimize,
};

// What MainWindowBase::nativeEvent does with a message.
struct WindowMessageResponse
{
    WindowMessageAction action = WindowMessageAction::None;
    bool handled = false;            // nativeEvent's return value
    int x = 0;                       // screen point: signed 16-bit for HitTest,
    int y = 0;                       // unsigned 16-bit for SystemMenu
    bool restoreArrowCursor = false; // every WM_SYSCOMMAND replaces the override cursor
};

WindowMessageResponse translateWindowMessage(const WindowMessage &message);

// The hit-test answer: HTCAPTION (2) for caption, else HTCLIENT (1).
long hitTestResult(bool caption);

// Reads a native message (Windows: a MSG*); false on platforms without window messages.
bool readWindowMessage(const void *nativeMessage, WindowMessage &out);

} // namespace platform

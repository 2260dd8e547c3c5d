#include "windowmessages.h"

namespace platform {

namespace {

constexpr std::uint32_t wmNcHitTest = 0x0084;
constexpr std::uint32_t wmNcLButtonDblClk = 0x00A3;
constexpr std::uint32_t wmNcRButtonDown = 0x00A4;
constexpr std::uint32_t wmSysCommand = 0x0112;
constexpr std::uintptr_t scRestore = 0xF120;
constexpr std::uintptr_t scMaximize = 0xF030;
constexpr std::uintptr_t scMinimize = 0xF020;

} // namespace

WindowMessageResponse translateWindowMessage(const WindowMessage &message)
{
    WindowMessageResponse response;
    const auto low = static_cast<std::uint16_t>(message.lParam & 0xFFFF);
    const auto high = static_cast<std::uint16_t>((message.lParam >> 16) & 0xFFFF);
    switch (message.message) {
    case wmNcHitTest:
        response.action = WindowMessageAction::HitTest;
        response.handled = true;
        response.x = static_cast<std::int16_t>(low);
        response.y = static_cast<std::int16_t>(high);
        break;
    case wmNcLButtonDblClk:
        response.action = WindowMessageAction::ToggleMaximized;
        response.handled = true;
        break;
    case wmNcRButtonDown:
        response.action = WindowMessageAction::SystemMenu;
        response.handled = true;
        response.x = low;
        response.y = high;
        break;
    case wmSysCommand:
        response.restoreArrowCursor = true;
        // The system keeps its own bits in the low four (a caption double click sends
        // SC_MAXIMIZE | HTCAPTION), so only the rest names the command.
        switch (message.wParam & 0xFFF0) {
        case scRestore:
            response.action = WindowMessageAction::Restore;
            break;
        case scMaximize:
            response.action = WindowMessageAction::Maximize;
            break;
        case scMinimize:
            response.action = WindowMessageAction::Minimize;
            break;
        default:
            break;
        }
        response.handled = response.action != WindowMessageAction::None;
        break;
    default:
        break;
    }
    return response;
}

long hitTestResult(bool caption)
{
    return caption ? 2 : 1;
}

} // namespace platform

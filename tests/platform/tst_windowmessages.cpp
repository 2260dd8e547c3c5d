#include "platform/nativewindow.h"
#include "platform/windowmessages.h"

#include <gtest/gtest.h>

using platform::WindowMessageAction;

TEST(WindowMessages, TranslationTable)
{
    struct Row
    {
        const char *what;
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        WindowMessageAction action;
        bool handled;
        int x;
        int y;
        bool arrowCursor;
    };
    const Row rows[] = {
        {"hit test", 0x0084, 0, 0x00C80064, WindowMessageAction::HitTest, true, 100, 200, false},
        {"hit test left of the primary screen",
         0x0084,
         0,
         0x0032FFF6,
         WindowMessageAction::HitTest,
         true,
         -10,
         50,
         false},
        {"hit test above it",
         0x0084,
         0,
         (std::intptr_t) 0xFFEC0005,
         WindowMessageAction::HitTest,
         true,
         5,
         -20,
         false},
        {"caption double click",
         0x00A3,
         2,
         0x00C80064,
         WindowMessageAction::ToggleMaximized,
         true,
         0,
         0,
         false},
        {"caption right press",
         0x00A4,
         2,
         0x00C80064,
         WindowMessageAction::SystemMenu,
         true,
         100,
         200,
         false},
        {"right press left of the screen",
         0x00A4,
         2,
         0x0032FFF6,
         WindowMessageAction::SystemMenu,
         true,
         0xFFF6,
         50,
         false},
        {"restore", 0x0112, 0xF120, 0, WindowMessageAction::Restore, true, 0, 0, true},
        {"maximize", 0x0112, 0xF030, 0, WindowMessageAction::Maximize, true, 0, 0, true},
        {"minimize", 0x0112, 0xF020, 0, WindowMessageAction::Minimize, true, 0, 0, true},
        {"command in the low word only",
         0x0112,
         0x1F020,
         0,
         WindowMessageAction::Minimize,
         true,
         0,
         0,
         true},
        {"maximize from a caption double click",
         0x0112,
         0xF032,
         0,
         WindowMessageAction::Maximize,
         true,
         0,
         0,
         true},
        {"close command", 0x0112, 0xF060, 0, WindowMessageAction::None, false, 0, 0, true},
        {"move command", 0x0112, 0xF010, 0, WindowMessageAction::None, false, 0, 0, true},
        {"paint", 0x000F, 0, 0, WindowMessageAction::None, false, 0, 0, false},
        {"client left press", 0x0201, 0, 0x00C80064, WindowMessageAction::None, false, 0, 0, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        platform::WindowMessage message;
        message.message = row.message;
        message.wParam = row.wParam;
        message.lParam = row.lParam;
        const platform::WindowMessageResponse response = platform::translateWindowMessage(message);
        EXPECT_EQ(response.action, row.action);
        EXPECT_EQ(response.handled, row.handled);
        EXPECT_EQ(response.x, row.x);
        EXPECT_EQ(response.y, row.y);
        EXPECT_EQ(response.restoreArrowCursor, row.arrowCursor);
    }
}

TEST(WindowMessages, SystemMenuPointTravelsAsUnsignedWords)
{
    EXPECT_EQ(platform::systemMenuParameter(100, 200), 200 * 65536 + 100);
    EXPECT_EQ(platform::systemMenuParameter(-10, 50), 50 * 65536 + 0xFFF6);
    EXPECT_EQ(platform::systemMenuParameter(0x12345, 0x10002), 2 * 65536 + 0x2345);
}

#include "platform/nativewindow.h"
#include "platform/windowmessages.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(WindowMessages, TranslationTable)
{
    using A = platform::WindowMessageAction;
    struct Row
    {
        const char *what;
        platform::WindowMessage in;
        A action;
        bool handled;
        int x, y;
        bool arrowCursor;
    };
    // clang-format off
    const Row rows[] = {
        {"hit test", {0, 0x0084, 0, 0x00C80064}, A::HitTest, true, 100, 200, false},
        {"hit test left of the primary screen", {0, 0x0084, 0, 0x0032FFF6}, A::HitTest, true, -10, 50, false},
        {"hit test above it", {0, 0x0084, 0, (std::intptr_t) 0xFFEC0005}, A::HitTest, true, 5, -20, false},
        {"caption double click", {0, 0x00A3, 2, 0x00C80064}, A::ToggleMaximized, true, 0, 0, false},
        {"caption right press", {0, 0x00A4, 2, 0x00C80064}, A::SystemMenu, true, 100, 200, false},
        {"right press left of the screen", {0, 0x00A4, 2, 0x0032FFF6}, A::SystemMenu, true, 0xFFF6, 50, false},
        {"restore", {0, 0x0112, 0xF120, 0}, A::Restore, true, 0, 0, true},
        {"maximize", {0, 0x0112, 0xF030, 0}, A::Maximize, true, 0, 0, true},
        {"minimize", {0, 0x0112, 0xF020, 0}, A::Minimize, true, 0, 0, true},
        {"command in the low word only", {0, 0x0112, 0x1F020, 0}, A::Minimize, true, 0, 0, true},
        {"maximize from a caption double click", {0, 0x0112, 0xF032, 0}, A::Maximize, true, 0, 0, true},
        {"close command", {0, 0x0112, 0xF060, 0}, A::None, false, 0, 0, true},
        {"client left press", {0, 0x0201, 0, 0x00C80064}, A::None, false, 0, 0, false},
    };
    // clang-format on
    for (const Row &row : rows) {
        const platform::WindowMessageResponse response = platform::translateWindowMessage(row.in);
        EXPECT_EQ(std::tie(response.action, response.handled, response.x, response.y),
                  std::tie(row.action, row.handled, row.x, row.y))
            << row.what;
        EXPECT_EQ(response.restoreArrowCursor, row.arrowCursor) << row.what;
    }
}

TEST(WindowMessages, SystemMenuPointTravelsAsUnsignedWords)
{
    EXPECT_EQ(platform::systemMenuParameter(100, 200), 200 * 65536 + 100);
    EXPECT_EQ(platform::systemMenuParameter(-10, 50), 50 * 65536 + 0xFFF6);
    EXPECT_EQ(platform::systemMenuParameter(0x12345, 0x10002), 2 * 65536 + 0x2345);
}

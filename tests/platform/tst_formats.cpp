// What the platform layer computes without a process or block: names, command lines, the
// request block's layout, text conversion, window messages and the version.
#include "platform/blockname.h"
#include "platform/fileversion.h"
#include "platform/nativewindow.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"
#include "platform/text.h"
#include "platform/windowmessages.h"

#include "qvkioskversion.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using platform::RuntimeRequest;

namespace {

// 14:30:00 on 5 January 2026, plus `seconds`.
std::tm exampleTime(int seconds = 0)
{
    std::tm time = {};
    time.tm_year = 2026 - 1900;
    time.tm_mday = 5;
    time.tm_hour = 14;
    time.tm_min = 30;
    time.tm_sec = seconds;
    return time;
}

} // namespace

TEST(BlockName, CommandLinesAndNamesThatNeverRepeat)
{
    EXPECT_EQ(platform::standbyCommandLine(platform::makeBlockName(exampleTime(), 4242), 260),
              u" quorvaneKiosk_20260105143000_4242 260 --standby ");
    EXPECT_EQ(platform::relayCommandLine("a\xC3\xA9", "b"), u"\"qvkioskcore.exe\" a\u00E9 b");
    EXPECT_EQ(platform::relayCommandLine("\xFF", "b"), u"");

    platform::BlockNameGenerator generator;
    const std::string first = generator.next(exampleTime(), 4242);
    EXPECT_EQ(first, "quorvaneKiosk_20260105143000_4242");
    const std::string second = generator.next(exampleTime(), 4242);
    EXPECT_EQ(generator.next(exampleTime(1), 4242), "quorvaneKiosk_20260105143001_4242");
    // A clock set back to an earlier second still gets a fresh name.
    const std::string third = generator.next(exampleTime(), 4242);
    EXPECT_EQ(std::set<std::string>({first, second, third}).size(), 3u);
}

TEST(BlockName, ProcessIdIsReadBackOnlyFromBlockNames)
{
    // clang-format off
    const std::tuple<const char *, bool, std::uint32_t> rows[] = {
        {"quorvaneKiosk_20260105143000_4242_3", true, 4242},
        {"quorvaneKiosk_20260105143000_4242_0123456789abcdef", true, 4242},
        {"quorvaneKiosk_20260105143000_4242_0123456789abcdeF", false, 0},
        {"quorvaneKiosk_20260105143000_4242_0123456789abcde", false, 0},
        {"quorvaneKiosk_20260105143000_4294967295", true, 4294967295u},
        {"quorvaneKiosk_20260105143000_4294967296", false, 0},
        {"quorvaneKiosk_2026010514300_4242", false, 0},
        {"quorvaneKiosk_20260105143000_42x", false, 0},
        {"quorvaneKiosk_20260105143000_4242_", false, 0},
        {"otherKiosk_20260105143000_4242", false, 0},
    };
    // clang-format on
    for (const auto &[name, ok, expected] : rows) {
        std::uint32_t pid = 0;
        EXPECT_EQ(platform::blockNameProcessId(name, pid), ok) << name;
        EXPECT_EQ(pid, expected) << name;
    }
}

TEST(RuntimeRequest, EncodesEveryFieldAtItsOffsetAndReadsNoFieldPastItsEnd)
{
    RuntimeRequest request;
    request.code = u"1234";
    request.accessLevel = RuntimeRequest::accessLevelText(2);
    request.pathBlockName = u"quorvaneKiosk_20260105143000_4242_2";
    request.pathBlockSize = 40;
    request.ready = 7;
    request.accepted = 0x01020304;
    unsigned char block[RuntimeRequest::blockSize];
    std::fill(std::begin(block), std::end(block), 0xEE);
    ASSERT_TRUE(request.encode(block));
    // clang-format off
    const std::pair<std::size_t, unsigned char> bytes[] = {
        {0, '1'}, {1, 0}, {6, '4'}, {8, 0}, {15, 0}, {16, 'P'}, {34, 'r'}, {48, 'q'}, {247, 0},
        {248, 40}, {249, 0}, {252, 7}, {256, 4}, {259, 1},
    };
    // clang-format on
    for (const auto &[offset, value] : bytes)
        EXPECT_EQ(block[offset], value) << "at " << offset;
    const RuntimeRequest back = RuntimeRequest::decode(block);
    EXPECT_EQ(std::tie(back.code, back.accessLevel, back.pathBlockName, back.accepted),
              std::tie(request.code, request.accessLevel, request.pathBlockName, request.accepted));
    EXPECT_EQ(RuntimeRequest::accessLevelText(0) + RuntimeRequest::accessLevelText(1),
              u"AdministratorAdministrator");

    for (std::size_t i = 0; i < 16; i += 2)
        block[i] = '5';
    block[16] = 'X'; // a code without terminator must not run into the next field
    EXPECT_EQ(RuntimeRequest::decode(block).code, u"55555555");
    // Two bytes a UTF-16 unit; a path too long for an int size has none.
    EXPECT_EQ(RuntimeRequest::pathBlockBytes(0x3FFFFFFF), 0x7FFFFFFEu);
    EXPECT_EQ(RuntimeRequest::pathBlockBytes(0x40000000), 0u);
}

TEST(RuntimeRequest, RefusesStringsThatDoNotFitTheirFieldAndWritesNothing)
{
    // Lengths in UTF-16 units of code, level and path block name; whether they fit.
    // clang-format off
    const std::tuple<std::size_t, std::size_t, std::size_t, bool> rows[] = {
        {7, 0, 0, true}, {8, 0, 0, false}, {0, 15, 0, true}, {0, 16, 0, false},
        {0, 0, 99, true}, {0, 0, 100, false},
    };
    // clang-format on
    for (const auto &[code, level, name, fits] : rows) {
        RuntimeRequest request;
        request.code.assign(code, u'9');
        request.accessLevel.assign(level, u'L');
        request.pathBlockName.assign(name, u'n');
        unsigned char block[RuntimeRequest::blockSize];
        block[0] = 0xEE;
        EXPECT_EQ(request.encode(block), fits) << code << ' ' << level << ' ' << name;
        EXPECT_EQ(block[0] == 0xEE, !fits) << code << ' ' << level << ' ' << name;
    }
}

TEST(Text, RoundTripsExactlyAndRefusesBrokenTextLeavingNothing)
{
    // clang-format off
    const std::pair<std::string, std::u16string> valid[] = {
        {"/home/j\xC3\xBCrgen/\xC3\xA9t\xC3\xA9", u"/home/j\u00FCrgen/\u00E9t\u00E9"},
        {"a\xF0\x9F\x98\x80z", u"a\xD83D\xDE00z"}, {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
    };
    // clang-format on
    for (const auto &[utf8, utf16] : valid) {
        std::u16string wide;
        std::string back;
        EXPECT_TRUE(platform::utf8ToUtf16(utf8, wide) && platform::utf16ToUtf8(wide, back));
        EXPECT_EQ(std::tie(wide, back), std::tie(utf16, utf8)) << utf8;
    }
    // Bad byte, truncated two- and three-byte sequences, lone continuation, beyond U+10FFFF,
    // an overlong '/', an encoded surrogate.
    for (const char *row :
         {"\xFF", "abc\xC3", "\xE6\x97", "\x80", "\xF4\x90\x80\x80", "\xC0\xAF", "\xED\xA0\x80"}) {
        std::u16string wide = u"left over";
        EXPECT_FALSE(platform::utf8ToUtf16(row, wide) || !wide.empty())
            << testing::PrintToString(std::string(row));
    }
    for (const std::u16string row : {u"\xD83D", u"a\xDE00", u"\xD83Dz"}) {
        std::string narrow = "left over";
        EXPECT_FALSE(platform::utf16ToUtf8(row, narrow) || !narrow.empty());
    }
}

TEST(WindowMessages, TranslationTable)
{
    using A = platform::WindowMessageAction;
    // The message, then the action, whether handled, the point and whether the cursor resets.
    // clang-format off
    const std::tuple<platform::WindowMessage, A, bool, int, int, bool> rows[] = {
        {{0, 0x0084, 0, 0x0032FFF6}, A::HitTest, true, -10, 50, false}, // left of the screen
        {{0, 0x0084, 0, (std::intptr_t) 0xFFEC0005}, A::HitTest, true, 5, -20, false},
        {{0, 0x00A3, 2, 0x00C80064}, A::ToggleMaximized, true, 0, 0, false}, // caption double click
        {{0, 0x00A4, 2, 0x00C80064}, A::SystemMenu, true, 100, 200, false}, // caption right press
        {{0, 0x00A4, 2, 0x0032FFF6}, A::SystemMenu, true, 0xFFF6, 50, false},
        {{0, 0x0112, 0xF120, 0}, A::Restore, true, 0, 0, true},
        {{0, 0x0112, 0x1F020, 0}, A::Minimize, true, 0, 0, true}, // the command is the low word
        {{0, 0x0112, 0xF032, 0}, A::Maximize, true, 0, 0, true}, // from a caption double click
        {{0, 0x0112, 0xF060, 0}, A::None, false, 0, 0, true}, // close
        {{0, 0x0201, 0, 0x00C80064}, A::None, false, 0, 0, false}, // client left press
    };
    // clang-format on
    for (const auto &[in, action, handled, x, y, arrowCursor] : rows) {
        const platform::WindowMessageResponse out = platform::translateWindowMessage(in);
        EXPECT_EQ(std::tie(out.action, out.handled, out.x, out.y, out.restoreArrowCursor),
                  std::tie(action, handled, x, y, arrowCursor))
            << std::hex << in.message << ' ' << in.wParam << ' ' << in.lParam;
    }
    // The system menu's point travels as two unsigned 16-bit words.
    EXPECT_EQ(platform::systemMenuParameter(-10, 50), 50 * 65536 + 0xFFF6);
    EXPECT_EQ(platform::systemMenuParameter(0x12345, 0x10002), 2 * 65536 + 0x2345);
}

TEST(FileVersion, ProgramVersionIsTheProjectVersionInFourNumbers)
{
    // Windows reads the VERSIONINFO resource linked into this test; elsewhere it is compiled in.
    EXPECT_EQ(platform::fileVersion(), QVKIOSK_VERSION);
    EXPECT_EQ(platform::formatFileVersion(0xFFFF000A, 0x00640001), "65535.10.100.1");
}

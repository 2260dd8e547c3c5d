#include "platform/text.h"

#include <gtest/gtest.h>

TEST(Text, RoundTripsThroughUtf16Exactly)
{
    struct Row
    {
        const char *what;
        std::string utf8;
        std::u16string utf16;
    };
    const Row rows[] = {
        {"empty", "", u""},
        {"ASCII path", "C:\\kiosk\\Lobby.qvksk", u"C:\\kiosk\\Lobby.qvksk"},
        {"Latin-1",
         "/home/j\xC3\xBCrgen/\xC3\xA9t\xC3\xA9.qvksk",
         u"/home/j\u00FCrgen/\u00E9t\u00E9.qvksk"},
        {"CJK", "\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
        {"surrogate pair", "a\xF0\x9F\x98\x80z", u"a\xD83D\xDE00z"},
        {"highest code point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        std::u16string wide;
        ASSERT_TRUE(platform::utf8ToUtf16(row.utf8, wide));
        EXPECT_EQ(wide, row.utf16);
        std::string back;
        ASSERT_TRUE(platform::utf16ToUtf8(wide, back));
        EXPECT_EQ(back, row.utf8);
    }
}

TEST(Text, RefusesInvalidUtf8)
{
    const char *rows[] = {
        "\xFF",
        "abc\xC3",          // truncated sequence
        "\xE6\x97",         // truncated three-byte sequence
        "\x80",             // lone continuation byte
        "\xF4\x90\x80\x80", // beyond U+10FFFF
    };
    for (const char *row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::string(row)));
        std::u16string wide = u"left over";
        EXPECT_FALSE(platform::utf8ToUtf16(row, wide));
        EXPECT_TRUE(wide.empty());
    }
}

TEST(Text, RefusesUnpairedSurrogates)
{
    const std::u16string rows[] = {u"\xD83D", u"a\xDE00", u"\xD83Dz"};
    for (const std::u16string &row : rows) {
        std::string narrow = "left over";
        EXPECT_FALSE(platform::utf16ToUtf8(row, narrow));
        EXPECT_TRUE(narrow.empty());
    }
}

#include "platform/text.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(Text, RoundTripsThroughUtf16Exactly)
{
    // clang-format off
    const std::tuple<const char *, std::string, std::u16string> rows[] = {
        {"empty", "", u""},
        {"ASCII path", "C:\\kiosk\\Lobby.qvksk", u"C:\\kiosk\\Lobby.qvksk"},
        {"Latin-1", "/home/j\xC3\xBCrgen/\xC3\xA9t\xC3\xA9", u"/home/j\u00FCrgen/\u00E9t\u00E9"},
        {"CJK", "\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
        {"surrogate pair", "a\xF0\x9F\x98\x80z", u"a\xD83D\xDE00z"},
        {"highest code point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
    };
    // clang-format on
    for (const auto &[what, utf8, utf16] : rows) {
        std::u16string wide;
        std::string back;
        EXPECT_TRUE(platform::utf8ToUtf16(utf8, wide) && platform::utf16ToUtf8(wide, back)) << what;
        EXPECT_EQ(wide, utf16) << what;
        EXPECT_EQ(back, utf8) << what;
    }
}

TEST(Text, RefusesInvalidUtf8)
{
    // Bad byte, truncated two- and three-byte sequences, lone continuation, beyond U+10FFFF,
    // an overlong '/', an encoded surrogate.
    for (const char *row :
         {"\xFF", "abc\xC3", "\xE6\x97", "\x80", "\xF4\x90\x80\x80", "\xC0\xAF", "\xED\xA0\x80"}) {
        std::u16string wide = u"left over";
        EXPECT_FALSE(platform::utf8ToUtf16(row, wide)) << testing::PrintToString(std::string(row));
        EXPECT_TRUE(wide.empty());
    }
}

TEST(Text, RefusesUnpairedSurrogates)
{
    for (const std::u16string row : {u"\xD83D", u"a\xDE00", u"\xD83Dz"}) {
        std::string narrow = "left over";
        EXPECT_FALSE(platform::utf16ToUtf8(row, narrow));
        EXPECT_TRUE(narrow.empty());
    }
}

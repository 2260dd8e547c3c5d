#include "platform/blockname.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"

#include <gtest/gtest.h>

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

TEST(BlockName, StandbyCommandLineOfTheExample)
{
    EXPECT_EQ(platform::standbyCommandLine(platform::makeBlockName(exampleTime(), 4242), 260),
              u" quorvaneKiosk_20260105143000_4242 260 --standby ");
}

TEST(BlockName, RelayCommandLineQuotesTheProgramAndKeepsNonAscii)
{
    EXPECT_EQ(platform::relayCommandLine("a\xC3\xA9", "b"), u"\"qvkioskcore.exe\" a\u00E9 b");
    EXPECT_EQ(platform::relayCommandLine("\xFF", "b"), u"");
}

TEST(BlockName, GeneratorNeverRepeatsANameWithinOneSecond)
{
    platform::BlockNameGenerator generator;
    const std::string base = "quorvaneKiosk_20260105143000_4242";
    EXPECT_EQ(generator.next(exampleTime(), 4242), base);
    EXPECT_EQ(generator.next(exampleTime(), 4242), base + "_2");
    EXPECT_EQ(generator.next(exampleTime(1), 4242), "quorvaneKiosk_20260105143001_4242");
    // A clock set back to an earlier second still gets a fresh name.
    EXPECT_EQ(generator.next(exampleTime(), 4242), base + "_3");
}

TEST(BlockName, ProcessIdIsReadBackOnlyFromBlockNames)
{
    // clang-format off
    const std::tuple<const char *, bool, std::uint32_t> rows[] = {
        {"quorvaneKiosk_20260105143000_4242", true, 4242},
        {"quorvaneKiosk_20260105143000_4242_3", true, 4242},
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

TEST(RuntimeRequest, EncodesEveryFieldAtItsOffset)
{
    RuntimeRequest request;
    request.code = u"1234";
    request.accessLevel = u"Power User";
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
    EXPECT_EQ(back.code + back.accessLevel + back.pathBlockName,
              request.code + request.accessLevel + request.pathBlockName);
    EXPECT_EQ(std::make_tuple(back.pathBlockSize, back.ready, back.accepted),
              std::make_tuple(40u, 7u, 0x01020304u));
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
        SCOPED_TRACE(testing::PrintToString(std::make_tuple(code, level, name)));
        RuntimeRequest request;
        request.code.assign(code, u'9');
        request.accessLevel.assign(level, u'L');
        request.pathBlockName.assign(name, u'n');
        unsigned char block[RuntimeRequest::blockSize];
        std::fill(std::begin(block), std::end(block), 0xEE);
        EXPECT_EQ(request.encode(block), fits);
        EXPECT_EQ(block[0] == 0xEE, !fits);
    }
}

TEST(RuntimeRequest, DecodesAFieldWithoutTerminatorUpToItsEnd)
{
    unsigned char block[RuntimeRequest::blockSize] = {};
    for (std::size_t i = 0; i < 16; i += 2)
        block[i] = '5';
    block[16] = 'X'; // the next field must not run into the code
    EXPECT_EQ(RuntimeRequest::decode(block).code, u"55555555");
}

TEST(RuntimeRequest, AccessLevelTextIsAdministratorUnlessPowerUser)
{
    EXPECT_EQ(RuntimeRequest::accessLevelText(0), u"Administrator");
    EXPECT_EQ(RuntimeRequest::accessLevelText(1), u"Administrator");
    EXPECT_EQ(RuntimeRequest::accessLevelText(2), u"Power User");
}

TEST(RuntimeRequest, PathBlockIsTwoBytesAUnitUpToTheIntLimit)
{
    // A 10-unit path: 20 bytes, and a size field of 40 (tst_runtimeprotocol reads it back).
    EXPECT_EQ(RuntimeRequest::pathBlockBytes(10), 20u);
    EXPECT_EQ(RuntimeRequest::pathBlockBytes(0x3FFFFFFF), 0x7FFFFFFEu);
    EXPECT_EQ(RuntimeRequest::pathBlockBytes(0x40000000), 0u);
}

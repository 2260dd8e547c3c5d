#include "platform/blockname.h"
#include "platform/runtimelauncher.h"
#include "platform/runtimerequest.h"

#include <gtest/gtest.h>

#include <vector>

using platform::RuntimeRequest;

namespace {

std::tm at(int year, int month, int day, int hour, int minute, int second)
{
    std::tm time = {};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

} // namespace

TEST(BlockName, IsPrefixLocalTimeAndProcessId)
{
    EXPECT_EQ(platform::makeBlockName(at(2026, 1, 5, 14, 30, 0), 4242),
              "quorvaneKiosk_20260105143000_4242");
}

TEST(BlockName, IsEmptyWhenTheYearDoesNotFitFourDigits)
{
    EXPECT_EQ(platform::makeBlockName(at(10000, 1, 1, 0, 0, 0), 1), "");
}

TEST(BlockName, StandbyCommandLineOfTheExample)
{
    const std::string name = platform::makeBlockName(at(2026, 1, 5, 14, 30, 0), 4242);
    EXPECT_EQ(platform::standbyCommandLine(name, 260),
              u" quorvaneKiosk_20260105143000_4242 260 --standby ");
    EXPECT_EQ(platform::standbyArguments(name, 260),
              (std::vector<std::string>{"quorvaneKiosk_20260105143000_4242", "260", "--standby"}));
}

TEST(BlockName, RelayCommandLineQuotesTheProgramAndKeepsNonAscii)
{
    EXPECT_EQ(platform::relayCommandLine("a\xC3\xA9", "b"), u"\"qvkioskcore.exe\" a\u00E9 b");
    EXPECT_EQ(platform::relayCommandLine("\xFF", "b"), u"");
}

TEST(BlockName, GeneratorNeverRepeatsANameWithinOneSecond)
{
    platform::BlockNameGenerator generator;
    const std::tm second = at(2026, 1, 5, 14, 30, 0);
    const std::string request = generator.next(second, 4242);
    const std::string path1 = generator.next(second, 4242);
    const std::string path2 = generator.next(second, 4242);
    EXPECT_EQ(request, "quorvaneKiosk_20260105143000_4242");
    EXPECT_EQ(path1, "quorvaneKiosk_20260105143000_4242_2");
    EXPECT_EQ(path2, "quorvaneKiosk_20260105143000_4242_3");
    // A clock set back to an earlier second still gets a fresh name.
    EXPECT_EQ(generator.next(at(2026, 1, 5, 14, 30, 1), 4242), "quorvaneKiosk_20260105143001_4242");
    EXPECT_EQ(generator.next(second, 4242), "quorvaneKiosk_20260105143000_4242_4");
}

TEST(BlockName, ProcessIdIsReadBackOnlyFromBlockNames)
{
    struct Row
    {
        const char *name;
        bool ok;
        std::uint32_t pid;
    };
    const Row rows[] = {
        {"quorvaneKiosk_20260105143000_4242", true, 4242},
        {"quorvaneKiosk_20260105143000_4242_3", true, 4242},
        {"quorvaneKiosk_20260105143000_4294967295", true, 4294967295u},
        {"quorvaneKiosk_20260105143000_4294967296", false, 0},
        {"quorvaneKiosk_2026010514300_4242", false, 0},
        {"quorvaneKiosk_20260105143000_", false, 0},
        {"quorvaneKiosk_20260105143000_42x", false, 0},
        {"quorvaneKiosk_20260105143000_4242_", false, 0},
        {"otherKiosk_20260105143000_4242", false, 0},
        {"", false, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        std::uint32_t pid = 0;
        EXPECT_EQ(platform::blockNameProcessId(row.name, pid), row.ok);
        if (row.ok) {
            EXPECT_EQ(pid, row.pid);
        }
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

    EXPECT_EQ(block[0], '1');
    EXPECT_EQ(block[1], 0);
    EXPECT_EQ(block[6], '4');
    EXPECT_EQ(block[8], 0); // terminator, then zeros to the end of the field
    EXPECT_EQ(block[15], 0);
    EXPECT_EQ(block[16], 'P');
    EXPECT_EQ(block[16 + 2 * 9], 'r');
    EXPECT_EQ(block[48], 'q');
    EXPECT_EQ(block[247], 0);
    EXPECT_EQ(block[248], 40);
    EXPECT_EQ(block[249], 0);
    EXPECT_EQ(block[252], 7);
    EXPECT_EQ(block[256], 4);
    EXPECT_EQ(block[259], 1);

    const RuntimeRequest back = RuntimeRequest::decode(block);
    EXPECT_EQ(back.code, request.code);
    EXPECT_EQ(back.accessLevel, request.accessLevel);
    EXPECT_EQ(back.pathBlockName, request.pathBlockName);
    EXPECT_EQ(back.pathBlockSize, 40u);
    EXPECT_EQ(back.ready, 7u);
    EXPECT_EQ(back.accepted, 0x01020304u);
}

TEST(RuntimeRequest, RefusesStringsThatDoNotFitTheirFieldAndWritesNothing)
{
    struct Row
    {
        const char *what;
        RuntimeRequest request;
        bool fits;
    };
    const auto with = [](std::u16string code, std::u16string level, std::u16string name) {
        RuntimeRequest request;
        request.code = std::move(code);
        request.accessLevel = std::move(level);
        request.pathBlockName = std::move(name);
        return request;
    };
    const Row rows[] = {
        {"7-unit code", with(std::u16string(7, u'9'), u"", u""), true},
        {"8-unit code", with(std::u16string(8, u'9'), u"", u""), false},
        {"15-unit level", with(u"", std::u16string(15, u'L'), u""), true},
        {"16-unit level", with(u"", std::u16string(16, u'L'), u""), false},
        {"99-unit name", with(u"", u"", std::u16string(99, u'n')), true},
        {"100-unit name", with(u"", u"", std::u16string(100, u'n')), false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        unsigned char block[RuntimeRequest::blockSize];
        std::fill(std::begin(block), std::end(block), 0xEE);
        EXPECT_EQ(row.request.encode(block), row.fits);
        if (!row.fits) {
            EXPECT_EQ(block[0], 0xEE);
        } else
            EXPECT_EQ(RuntimeRequest::decode(block).pathBlockName, row.request.pathBlockName);
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

TEST(RuntimeRequest, PathBlockSizes)
{
    // A 10-unit path: a 20-byte block and a size field of 40.
    EXPECT_EQ(RuntimeRequest::pathBlockBytes(10), 20u);
    EXPECT_EQ(2 * RuntimeRequest::pathBlockBytes(10), 40u);
    EXPECT_EQ(RuntimeRequest::pathBlockBytes(0x3FFFFFFF), 0x7FFFFFFEu);
    EXPECT_EQ(RuntimeRequest::pathBlockBytes(0x40000000), 0u);
}

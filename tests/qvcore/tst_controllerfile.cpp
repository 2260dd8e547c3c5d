// The reader and writer of the file format, below the exported calls.

#include "accesscode.h"
#include "controllerfile.h"
#include "controllerfilereader.h"
#include "scratchdir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qvcore::ControllerFile;
using qvcore::parseControllerFile;

TEST(ControllerFile, WrittenFileReadsBackTheSame)
{
    ControllerFile file;
    file.version = 2;
    file.title = "Lobby \xE2\x80\x93 north \"wing\"";
    file.powerUserPermitted = true;
    file.fileOperation = -3;
    file.administratorCode = cheapHash("1234");
    const auto text = file.serialize();
    ASSERT_TRUE(text.has_value());

    const auto reading = parseControllerFile(*text);
    ASSERT_EQ(reading.status, -1);
    ASSERT_TRUE(reading.isKioskFile);
    EXPECT_EQ(reading.file.version, 2);
    EXPECT_EQ(reading.file.title, file.title);
    EXPECT_TRUE(reading.file.powerUserPermitted);
    EXPECT_EQ(reading.file.fileOperation, -3);
    EXPECT_EQ(reading.file.administratorCode, file.administratorCode);
    EXPECT_FALSE(reading.file.powerUserCode.has_value());
    EXPECT_TRUE(reading.file.opens(1, "1234"));
}

TEST(ControllerFile, TitleThatIsNotUtf8IsNotWritten)
{
    ControllerFile file;
    file.version = 3;
    file.title = "bad \xFF byte";
    EXPECT_FALSE(file.serialize().has_value());
}

TEST(ControllerFile, CountsControllerMembersWithoutInterpretingThem)
{
    const auto reading = parseControllerFile(
        R"({"format":"qvksk","version":3,"title":"","powerUserPermitted":false,"fileOperation":0,
            "controller":{"pages":[1,2,{"x":[]}],"theme":"dark","size":{"w":1,"h":2}}})");
    ASSERT_EQ(reading.status, -1);
    EXPECT_EQ(reading.file.controllerEntries, 3u);
}

// Nesting deep enough to overflow any recursive parser's stack must cost only time.
TEST(ControllerFile, DeepNestingNeitherCrashesNorCountsAsValidStructure)
{
    const std::size_t depth = 2'000'000;
    std::string nested = std::string(depth, '[') + std::string(depth, ']');
    const auto inController = parseControllerFile(
        R"({"format":"qvksk","version":3,"title":"","powerUserPermitted":false,"fileOperation":0,"controller":{"deep":)"
        + nested + "}}");
    EXPECT_EQ(inController.status, -1);
    EXPECT_TRUE(inController.isKioskFile);

    const auto unbalanced = parseControllerFile(std::string(depth, '{'));
    EXPECT_EQ(unbalanced.status, -1);
    EXPECT_FALSE(unbalanced.isKioskFile);
}

TEST(ControllerFile, FieldsOfNestedObjectsDoNotCountAsTopLevel)
{
    const auto reading = parseControllerFile(R"({"inner":{"format":"qvksk","version":3}})");
    EXPECT_EQ(reading.status, -1);
    EXPECT_FALSE(reading.isKioskFile);
}

struct HashCase
{
    const char *name;
    std::string text;
    bool valid;
};

// Cost parameters decide how long one check takes; a file must not choose hours or gigabytes.
std::vector<HashCase> hashCases()
{
    const std::string made = cheapHash("1234");
    const std::string tail = made.substr(made.find("$", std::string("$argon2id$v=19$").size()));
    return {
        {"MadeByUs", made, true},
        {"InteractiveCost", "$argon2id$v=19$m=65536,t=2,p=1" + tail, true},
        {"SensitiveCost", "$argon2id$v=19$m=1048576,t=4,p=1" + tail, true},
        {"TooManyPasses", "$argon2id$v=19$m=65536,t=5,p=1" + tail, false},
        {"HugePasses", "$argon2id$v=19$m=65536,t=4294967295,p=1" + tail, false},
        {"TooMuchMemory", "$argon2id$v=19$m=1048577,t=2,p=1" + tail, false},
        {"MemoryOverflowing", "$argon2id$v=19$m=18014398509481984,t=2,p=1" + tail, false},
        {"TwoLanes", "$argon2id$v=19$m=65536,t=2,p=2" + tail, false},
        {"OtherVariant", "$argon2i$v=19$m=65536,t=2,p=1" + tail, false},
        {"OldVersion", "$argon2id$v=16$m=65536,t=2,p=1" + tail, false},
        {"SignedNumber", "$argon2id$v=19$m=+65536,t=2,p=1" + tail, false},
        {"BrokenSalt", "$argon2id$v=19$m=65536,t=2,p=1$!!!!$" + std::string(43, 'A'), false},
        {"Truncated", made.substr(0, made.size() - 10), false},
        {"Empty", "", false},
        {"ClearText", "1234", false},
        {"TooLong", made + std::string(200, 'A'), false},
        {"EmbeddedNull", made + std::string(1, '\0'), false},
    };
}

void PrintTo(const HashCase &row, std::ostream *out)
{
    *out << row.name;
}

class AccessCodeHash : public testing::TestWithParam<HashCase>
{};

TEST_P(AccessCodeHash, IsAcceptedOnlyWithinBounds)
{
    EXPECT_EQ(qvcore::accesscode::isValidHash(GetParam().text), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Strings,
                         AccessCodeHash,
                         testing::ValuesIn(hashCases()),
                         [](const testing::TestParamInfo<HashCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(AccessCode, HashesAreSaltedAndMatchOnlyTheirCode)
{
    const std::string first = cheapHash("1234");
    const std::string second = cheapHash("1234");
    EXPECT_NE(first, second);
    EXPECT_TRUE(qvcore::accesscode::matches(first, "1234"));
    EXPECT_TRUE(qvcore::accesscode::matches(second, "1234"));
    EXPECT_FALSE(qvcore::accesscode::matches(first, "12345"));
    EXPECT_FALSE(qvcore::accesscode::matches(first, ""));
    EXPECT_FALSE(qvcore::accesscode::matches("not a hash", "1234"));
}

} // namespace

// The seven exported calls, driven with real files.

#include "qvcore.h"
#include "scratchdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace {

using Json = nlohmann::json;

// A case of the kiosk-file test: makes a file in dir and returns the path to ask about.
struct StatusCase
{
    const char *name;
    std::function<std::string(const ScratchDir &)> make;
    int32_t status;
    bool isKioskFile;
};

std::string writeJson(const ScratchDir &dir, const Json &json)
{
    return dir.write("file.qvksk", json.dump());
}

std::string kioskWith(const ScratchDir &dir, const char *key, const Json &value)
{
    Json json = kioskFileJson();
    json[key] = value;
    return writeJson(dir, json);
}

std::string kioskWithout(const ScratchDir &dir, const char *key)
{
    Json json = kioskFileJson();
    json.erase(key);
    return writeJson(dir, json);
}

std::string sparseFile(const ScratchDir &dir, off_t size)
{
    const std::string path = dir.write("big.qvksk", "");
    if (::truncate(path.c_str(), size) != 0)
        throw std::runtime_error("truncate failed");
    return path;
}

const StatusCase statusCases[] = {
    {"Missing", [](const ScratchDir &d) { return d.pathOf("none.qvksk"); }, 2, false},
    {"MissingFolder", [](const ScratchDir &d) { return d.pathOf("none/file.qvksk"); }, 2, false},
    {"EmptyPath", [](const ScratchDir &) { return std::string(); }, 2, false},
    {"Folder", [](const ScratchDir &d) { return d.path(); }, 5, false},
    {"Fifo",
     [](const ScratchDir &d) {
         const std::string path = d.pathOf("fifo.qvksk");
         if (::mkfifo(path.c_str(), 0600) != 0)
             throw std::runtime_error("mkfifo failed");
         return path;
     },
     5,
     false},
    {"OneByteOverLimit",
     [](const ScratchDir &d) { return sparseFile(d, QVCORE_MAX_FILE_SIZE + 1); },
     8,
     false},
    {"AtLimitIsRead",
     [](const ScratchDir &d) { return sparseFile(d, QVCORE_MAX_FILE_SIZE); },
     -1,
     false},
    {"Empty", [](const ScratchDir &d) { return d.write("f.qvksk", ""); }, -1, false},
    {"NotJson", [](const ScratchDir &d) { return d.write("f.qvksk", "PK\x03\x04 zip"); }, -1, false},
    {"TrailingGarbage",
     [](const ScratchDir &d) { return d.write("f.qvksk", kioskFileJson().dump() + " x"); },
     -1,
     false},
    {"JsonArray", [](const ScratchDir &d) { return d.write("f.qvksk", "[1,2]"); }, -1, false},
    {"OtherFormat", [](const ScratchDir &d) { return kioskWith(d, "format", "qvpanel"); }, -1, false},
    {"FormatNotString", [](const ScratchDir &d) { return kioskWith(d, "format", 1); }, -1, false},
    {"NoFormat", [](const ScratchDir &d) { return kioskWithout(d, "format"); }, -1, false},
    {"Kiosk", [](const ScratchDir &d) { return writeJson(d, kioskFileJson()); }, -1, true},
    {"KioskWithByteOrderMark",
     [](const ScratchDir &d) { return d.write("f.qvksk", "\xEF\xBB\xBF" + kioskFileJson().dump()); },
     -1,
     true},
    {"KioskWithCodes",
     [](const ScratchDir &d) {
         Json json = kioskFileJson();
         json["administratorCode"] = cheapHash("1234");
         json["powerUserCode"] = cheapHash("0000");
         return writeJson(d, json);
     },
     -1,
     true},
    {"NoVersion", [](const ScratchDir &d) { return kioskWithout(d, "version"); }, 13, false},
    {"VersionText", [](const ScratchDir &d) { return kioskWith(d, "version", "3"); }, 13, false},
    {"VersionFraction", [](const ScratchDir &d) { return kioskWith(d, "version", 3.5); }, 13, false},
    {"VersionOver32Bits",
     [](const ScratchDir &d) { return kioskWith(d, "version", 2147483648LL); },
     13,
     false},
    {"NoTitle", [](const ScratchDir &d) { return kioskWithout(d, "title"); }, 13, false},
    {"PermittedText",
     [](const ScratchDir &d) { return kioskWith(d, "powerUserPermitted", "yes"); },
     13,
     false},
    {"NoFileOperation",
     [](const ScratchDir &d) { return kioskWithout(d, "fileOperation"); },
     13,
     false},
    {"NoController", [](const ScratchDir &d) { return kioskWithout(d, "controller"); }, 13, false},
    {"ControllerArray",
     [](const ScratchDir &d) { return kioskWith(d, "controller", Json::array()); },
     13,
     false},
    {"CodeInClear",
     [](const ScratchDir &d) { return kioskWith(d, "administratorCode", "1234"); },
     13,
     false},
    {"CodeNull",
     [](const ScratchDir &d) { return kioskWith(d, "powerUserCode", nullptr); },
     13,
     false},
    {"DuplicateField",
     [](const ScratchDir &d) {
         std::string text = kioskFileJson().dump();
         text.insert(1, "\"title\":\"Other\",");
         return d.write("f.qvksk", text);
     },
     13,
     false},
    // Fields of versions this library cannot open are not its business: the version is enough.
    {"NewerVersionOtherLayout",
     [](const ScratchDir &d) {
         return writeJson(d, {{"format", "qvksk"}, {"version", 4}});
     },
     -1,
     true},
    {"VersionZero",
     [](const ScratchDir &d) {
         return writeJson(d, {{"format", "qvksk"}, {"version", 0}});
     },
     -1,
     true},
};

void PrintTo(const StatusCase &row, std::ostream *out)
{
    *out << row.name;
}

class KioskFileStatus : public testing::TestWithParam<StatusCase>
{};

TEST_P(KioskFileStatus, AnswersStatusAndKind)
{
    const ScratchDir dir;
    const std::string path = GetParam().make(dir);
    // On success the flag is preset to the wrong answer so that a missing write shows; on error
    // it keeps the caller's false.
    bool isKioskFile = GetParam().status == -1 && !GetParam().isKioskFile;
    EXPECT_EQ(QVCoreIsQVKIOSKControllerFile(path.c_str(), &isKioskFile), GetParam().status);
    EXPECT_EQ(isKioskFile, GetParam().isKioskFile);
}

INSTANTIATE_TEST_SUITE_P(Files,
                         KioskFileStatus,
                         testing::ValuesIn(statusCases),
                         [](const testing::TestParamInfo<StatusCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(KioskFileStatus, UnreadableFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their mode";
    const ScratchDir dir;
    const std::string path = writeJson(dir, kioskFileJson());
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    bool isKioskFile = false;
    EXPECT_EQ(QVCoreIsQVKIOSKControllerFile(path.c_str(), &isKioskFile), 5);
}

TEST(KioskFileStatus, NullArgumentsAreRefused)
{
    const ScratchDir dir;
    const std::string path = writeJson(dir, kioskFileJson());
    bool isKioskFile = false;
    EXPECT_EQ(QVCoreIsQVKIOSKControllerFile(nullptr, &isKioskFile), QVCORE_STATUS_INVALID_ARGUMENT);
    EXPECT_EQ(QVCoreIsQVKIOSKControllerFile(path.c_str(), nullptr), QVCORE_STATUS_INVALID_ARGUMENT);
}

class Instance : public testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(instance, nullptr); }
    void TearDown() override { QVCoreReleaseInstance(&instance); }

    QVCoreInstance *instance = QVCoreCreateInstance("ANY", "ANY", "ANY");
    ScratchDir dir;
};

TEST_F(Instance, SupportsVersionThree)
{
    EXPECT_EQ(QVCoreGetConstantskQVCKioskFileVersion(instance), 3);
}

TEST_F(Instance, ReleaseClearsThePointerAndForgetsTheInstance)
{
    const QVCoreInstance *released = instance;
    QVCoreReleaseInstance(&instance);
    EXPECT_EQ(instance, nullptr);
    EXPECT_EQ(QVCoreGetConstantskQVCKioskFileVersion(released), 0);
    int32_t version = 0;
    const std::string path = writeJson(dir, kioskFileJson());
    EXPECT_EQ(QVCoreGetBqvcFileVersion(released, path.c_str(), &version),
              QVCORE_STATUS_INVALID_ARGUMENT);
    QVCoreReleaseInstance(&instance); // a second release of the cleared pointer does nothing
    QVCoreReleaseInstance(nullptr);
}

TEST(CreateInstance, RefusesNullIdentification)
{
    EXPECT_EQ(QVCoreCreateInstance(nullptr, "ANY", "ANY"), nullptr);
    EXPECT_EQ(QVCoreCreateInstance("ANY", nullptr, "ANY"), nullptr);
    EXPECT_EQ(QVCoreCreateInstance("ANY", "ANY", nullptr), nullptr);
    EXPECT_EQ(QVCoreGetConstantskQVCKioskFileVersion(nullptr), 0);
}

TEST_F(Instance, ReadsVersionsOfEveryKioskFile)
{
    for (const int32_t expected : {1, 3, 4, 0, -7, 2147483647}) {
        SCOPED_TRACE(expected);
        Json json = kioskFileJson();
        json["version"] = expected;
        const std::string path = writeJson(dir, json);
        int32_t version = 12345;
        EXPECT_EQ(QVCoreGetBqvcFileVersion(instance, path.c_str(), &version), -1);
        EXPECT_EQ(version, expected);
    }
}

TEST_F(Instance, VersionErrorsLeaveTheVersionAlone)
{
    const std::string other = dir.write("other.qvksk", "plain text");
    const std::string invalid = dir.write("invalid.qvksk", R"({"format":"qvksk","version":"x"})");
    const std::string missing = dir.pathOf("missing.qvksk");
    int32_t version = 0;
    EXPECT_EQ(QVCoreGetBqvcFileVersion(instance, other.c_str(), &version), 13);
    EXPECT_EQ(QVCoreGetBqvcFileVersion(instance, invalid.c_str(), &version), 13);
    EXPECT_EQ(QVCoreGetBqvcFileVersion(instance, missing.c_str(), &version), 2);
    EXPECT_EQ(QVCoreGetBqvcFileVersion(instance, nullptr, &version), QVCORE_STATUS_INVALID_ARGUMENT);
    EXPECT_EQ(QVCoreGetBqvcFileVersion(instance, other.c_str(), nullptr),
              QVCORE_STATUS_INVALID_ARGUMENT);
    EXPECT_EQ(version, 0);
}

TEST(FileOperation, ReportsFlagAndValueOfTheFile)
{
    const ScratchDir dir;
    for (const bool permitted : {false, true}) {
        Json json = kioskFileJson();
        json["powerUserPermitted"] = permitted;
        json["fileOperation"] = -42;
        const std::string path = writeJson(dir, json);
        bool powerUserPermitted = !permitted;
        int32_t fileOperation = -1;
        EXPECT_TRUE(QVCoreGetBqvcFileOperation(path.c_str(), &powerUserPermitted, &fileOperation));
        EXPECT_EQ(powerUserPermitted, permitted);
        EXPECT_EQ(fileOperation, -42);
    }
}

TEST(FileOperation, FailsWithoutTouchingOutValuesForFilesItCannotOpen)
{
    const ScratchDir dir;
    const std::string paths[] = {
        dir.pathOf("missing.qvksk"),
        dir.write("other.qvksk", "{}"),
        dir.write("newer.qvksk", R"({"format":"qvksk","version":4})"),
        dir.write("zero.qvksk", R"({"format":"qvksk","version":0})"),
        kioskWithout(dir, "title"),
    };
    for (const std::string &path : paths) {
        SCOPED_TRACE(path);
        bool powerUserPermitted = false;
        int32_t fileOperation = -1;
        EXPECT_FALSE(QVCoreGetBqvcFileOperation(path.c_str(), &powerUserPermitted, &fileOperation));
        EXPECT_FALSE(powerUserPermitted);
        EXPECT_EQ(fileOperation, -1);
    }
    bool flag = false;
    int32_t value = -1;
    const std::string valid = writeJson(dir, kioskFileJson());
    EXPECT_FALSE(QVCoreGetBqvcFileOperation(nullptr, &flag, &value));
    EXPECT_FALSE(QVCoreGetBqvcFileOperation(valid.c_str(), nullptr, &value));
    EXPECT_FALSE(QVCoreGetBqvcFileOperation(valid.c_str(), &flag, nullptr));
}

// One row of the authentication table.
struct AuthenticationCase
{
    const char *name;
    const char *administratorCode; // null: not set
    const char *powerUserCode;
    bool powerUserPermitted;
    int32_t level;
    const char *code;
    bool authenticated;
};

const AuthenticationCase authenticationCases[] = {
    {"BothCodes_Admin_Right", "1234", "0000", true, 1, "1234", true},
    {"BothCodes_Admin_Wrong", "1234", "0000", true, 1, "9999", false},
    {"BothCodes_Admin_Empty", "1234", "0000", true, 1, "", false},
    {"BothCodes_Admin_PowerUserCodeIsNotEnough", "1234", "0000", true, 1, "0000", false},
    {"BothCodes_PowerUser_Right", "1234", "0000", true, 2, "0000", true},
    {"BothCodes_PowerUser_AdminCodeAlsoOpens", "1234", "0000", true, 2, "1234", true},
    {"BothCodes_PowerUser_Wrong", "1234", "0000", true, 2, "1235", false},
    {"BothCodes_PowerUser_Empty", "1234", "0000", true, 2, "", false},
    {"BothCodes_None_NeverOpens", "1234", "0000", true, 0, "1234", false},
    {"BothCodes_UnknownLevel_NeverOpens", "1234", "0000", true, 3, "1234", false},
    {"BothCodes_NegativeLevel_NeverOpens", "1234", "0000", true, -1, "1234", false},
    {"NoCodes_Admin_Empty", nullptr, nullptr, true, 1, "", true},
    {"NoCodes_Admin_AnyText", nullptr, nullptr, true, 1, "whatever", true},
    {"NoCodes_PowerUser_Empty", nullptr, nullptr, true, 2, "", true},
    {"NoCodes_None_NeverOpens", nullptr, nullptr, true, 0, "", false},
    {"NotPermitted_Admin_Right", "1234", "0000", false, 1, "1234", true},
    {"NotPermitted_PowerUser_RightCode", "1234", "0000", false, 2, "0000", false},
    {"NotPermitted_PowerUser_AdminCode", "1234", "0000", false, 2, "1234", false},
    {"NotPermittedNoCodes_PowerUser_Empty", nullptr, nullptr, false, 2, "", false},
    {"NotPermittedNoCodes_Admin_Empty", nullptr, nullptr, false, 1, "", true},
    {"OnlyPowerUserCode_Admin_Empty", nullptr, "0000", true, 1, "", true},
    {"OnlyPowerUserCode_PowerUser_Right", nullptr, "0000", true, 2, "0000", true},
    {"OnlyPowerUserCode_PowerUser_Wrong", nullptr, "0000", true, 2, "1234", false},
    {"OnlyAdminCode_PowerUser_NeedsNoCode", "1234", nullptr, true, 2, "", true},
    {"OnlyAdminCode_Admin_Empty", "1234", nullptr, true, 1, "", false},
    {"LongUnicodeCode_Right",
     "Zugangscode \xC3\xA4\xC3\xB6\xC3\xBC 2024!",
     nullptr,
     true,
     1,
     "Zugangscode \xC3\xA4\xC3\xB6\xC3\xBC 2024!",
     true},
    {"CodeIsCompareExactly_TrailingSpace", "1234", nullptr, true, 1, "1234 ", false},
};

void PrintTo(const AuthenticationCase &row, std::ostream *out)
{
    *out << row.name;
}

class Authentication : public testing::TestWithParam<AuthenticationCase>
{};

TEST_P(Authentication, DecidesByLevelAndCode)
{
    const AuthenticationCase &row = GetParam();
    const ScratchDir dir;
    Json json = kioskFileJson();
    json["powerUserPermitted"] = row.powerUserPermitted;
    json["fileOperation"] = 5;
    if (row.administratorCode != nullptr)
        json["administratorCode"] = cheapHash(row.administratorCode);
    if (row.powerUserCode != nullptr)
        json["powerUserCode"] = cheapHash(row.powerUserCode);
    const std::string path = writeJson(dir, json);

    bool authenticated = !row.authenticated;
    bool powerUserPermitted = !row.powerUserPermitted;
    int32_t fileOperation = -1;
    ASSERT_TRUE(QVCoreCheckBqvcFilePassCodeAndFileOperation(path.c_str(),
                                                            row.code,
                                                            row.level,
                                                            &authenticated,
                                                            &powerUserPermitted,
                                                            &fileOperation));
    EXPECT_EQ(authenticated, row.authenticated);
    // The in/out values come back as the file has them.
    EXPECT_EQ(powerUserPermitted, row.powerUserPermitted);
    EXPECT_EQ(fileOperation, 5);
}

INSTANTIATE_TEST_SUITE_P(Table,
                         Authentication,
                         testing::ValuesIn(authenticationCases),
                         [](const testing::TestParamInfo<AuthenticationCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(Check, FailsWithoutTouchingItsArgumentsWhenItCannotRun)
{
    const ScratchDir dir;
    const std::string valid = writeJson(dir, kioskFileJson());
    const std::string newer = dir.write("newer.qvksk", R"({"format":"qvksk","version":4})");
    const std::string missing = dir.pathOf("missing.qvksk");
    const std::string other = dir.write("other.txt", "text");

    struct Row
    {
        const char *path;
        const char *code;
    };
    const Row rows[] = {{missing.c_str(), ""},
                        {other.c_str(), ""},
                        {newer.c_str(), ""},
                        {nullptr, ""},
                        {valid.c_str(), nullptr}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.path != nullptr ? row.path : "(null path)");
        bool authenticated = false;
        bool powerUserPermitted = false;
        int32_t fileOperation = 77;
        EXPECT_FALSE(QVCoreCheckBqvcFilePassCodeAndFileOperation(row.path,
                                                                 row.code,
                                                                 1,
                                                                 &authenticated,
                                                                 &powerUserPermitted,
                                                                 &fileOperation));
        EXPECT_FALSE(authenticated);
        EXPECT_FALSE(powerUserPermitted);
        EXPECT_EQ(fileOperation, 77);
    }
    bool flag = false;
    int32_t value = 0;
    EXPECT_FALSE(
        QVCoreCheckBqvcFilePassCodeAndFileOperation(valid.c_str(), "", 1, nullptr, &flag, &value));
    EXPECT_FALSE(
        QVCoreCheckBqvcFilePassCodeAndFileOperation(valid.c_str(), "", 1, &flag, nullptr, &value));
    EXPECT_FALSE(
        QVCoreCheckBqvcFilePassCodeAndFileOperation(valid.c_str(), "", 1, &flag, &flag, nullptr));
}

} // namespace

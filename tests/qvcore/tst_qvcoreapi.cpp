// The seven exported calls driven with real files.

#include "accesscode.h"
#include "qvcore.h"

#include "scratchdir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

namespace accesscode = qvcore::accesscode;

// Made once, at the cheapest cost: Argon2id is slow on purpose.
const std::string adminHash = accesscode::hash("1234", accesscode::minimumCost()).value();
const std::string powerUserHash = accesscode::hash("0000", accesscode::minimumCost()).value();
// Salt and hash of adminHash, to put behind other cost parameters.
const std::string hashTail = adminHash.substr(adminHash.find('$', sizeof("$argon2id$v=19$") - 1));

constexpr auto check = &QVCoreCheckBqvcFilePassCodeAndFileOperation;

// A valid kiosk file of the supported version, with one field set, or removed.
std::string kiosk(const char *key = nullptr, const Json &value = Json::value_t::discarded)
{
    Json json = Json::parse(
        R"({"format":"qvksk","version":3,"title":"Lobby","powerUserPermitted":true,
                                "fileOperation":5,"controller":{}})");
    if (key != nullptr && value.is_discarded())
        json.erase(key);
    else if (key != nullptr)
        json[key] = value;
    return json.dump();
}

// Nesting deep enough to overflow any recursive parser's stack.
const std::string deepNesting = std::string(2'000'000, '[') + std::string(2'000'000, ']');

TEST(Files, EachCallAnswersAsTheFileIs)
{
    // A file made before the test, or "": one with the contents (last); IsQVKIOSKControllerFile's
    // status and answer; the version read (-99: not read); whether the file queries run.
    // clang-format off
    const std::tuple<const char *, std::string, int32_t, bool, int32_t, bool, std::string> rows[] = {
        {"missing", "none.qvksk", 2, false, -99, false, ""},
        {"path through a file", "atlimit/file.qvksk", 2, false, -99, false, ""},
        {"FIFO, answered without waiting for a writer", "fifo", 5, false, -99, false, ""},
        {"unreadable", "unreadable", 5, false, -99, false, ""},
        {"one byte over the limit, refused before reading", "overlimit", 8, false, -99, false, ""},
        {"at the limit, read", "atlimit", -1, false, -99, false, ""},
        {"empty", "", -1, false, -99, false, ""},
        {"JSON array", "", -1, false, -99, false, "[1,2]"},
        {"format only in a nested object", "", -1, false, -99, false, R"({"inner":{"format":"qvksk","version":3}})"},
        {"kiosk, deep nesting in controller", "", -1, true, 3, true, "{\"controller\":{\"deep\":" + deepNesting + "}," + kiosk("controller").substr(1)},
        {"version 1", "", -1, true, 1, true, kiosk("version", 1)},
        {"newer version of another layout", "", -1, true, 4, false, R"({"format":"qvksk","version":4})"},
        {"version 0", "", -1, true, 0, false, kiosk("version", 0)},
        {"largest version", "", -1, true, 2147483647, false, kiosk("version", 2147483647)},
        {"no version", "", 13, false, -99, false, kiosk("version")},
        {"version fraction", "", 13, false, -99, false, kiosk("version", 3.5)},
        {"version over 32 bits", "", 13, false, -99, false, kiosk("version", 2147483648LL)},
        {"no title", "", 13, false, -99, false, kiosk("title")},
        {"permitted as text", "", 13, false, -99, false, kiosk("powerUserPermitted", "yes")},
        {"no file operation", "", 13, false, -99, false, kiosk("fileOperation")},
        {"no controller", "", 13, false, -99, false, kiosk("controller")},
        {"controller array", "", 13, false, -99, false, kiosk("controller", Json::array())},
        {"duplicate field", "", 13, false, -99, false, "{\"title\":\"Other\"," + kiosk().substr(1)},
        {"code null", "", 13, false, -99, false, kiosk("powerUserCode", nullptr)},
        {"code in clear", "", 13, false, -99, false, kiosk("administratorCode", "1234")},
        // A hash's costs decide how long one check takes: a file must not choose hours or gigabytes.
        {"code at moderate cost", "", -1, true, 3, true, kiosk("administratorCode", "$argon2id$v=19$m=262144,t=3,p=1" + hashTail)},
        {"code with too many passes", "", 13, false, -99, false, kiosk("administratorCode", "$argon2id$v=19$m=65536,t=4,p=1" + hashTail)},
        {"code with too much memory", "", 13, false, -99, false, kiosk("administratorCode", "$argon2id$v=19$m=262145,t=2,p=1" + hashTail)},
        {"code with overflowing memory", "", 13, false, -99, false, kiosk("administratorCode", "$argon2id$v=19$m=18014398509481984,t=2,p=1" + hashTail)},
        {"code with two lanes", "", 13, false, -99, false, kiosk("administratorCode", "$argon2id$v=19$m=65536,t=2,p=2" + hashTail)},
        {"code truncated", "", 13, false, -99, false, kiosk("administratorCode", adminHash.substr(0, adminHash.size() - 10))},
        {"code with embedded null", "", 13, false, -99, false, kiosk("administratorCode", adminHash + '\0')},
    };
    // clang-format on
    const ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.pathOf("fifo").c_str(), 0600), 0);
    fs::permissions(dir.write("unreadable", kiosk()), fs::perms::none);
    fs::resize_file(dir.write("overlimit", ""), QVCORE_MAX_FILE_SIZE + 1);
    fs::resize_file(dir.write("atlimit", ""), QVCORE_MAX_FILE_SIZE);
    QVCoreInstance *instance = QVCoreCreateInstance("ANY", "ANY", "ANY");
    ASSERT_NE(instance, nullptr);
    for (const auto &[name, made, status, isKioskFile, version, usable, contents] : rows) {
        SCOPED_TRACE(name);
        if (made == "unreadable" && ::geteuid() == 0)
            continue; // root reads files whatever their mode
        const std::string path = !made.empty() ? dir.pathOf(made)
                                               : dir.write("file.qvksk", contents);
        // Preset to the wrong answer where success must write it, so that a missing write shows;
        // the file operations change only when the call runs.
        bool isKiosk = status == -1 && !isKioskFile;
        bool permitted = false;
        bool authenticated = false;
        int32_t read = -99;
        int32_t operation = -7;
        int32_t checked = -7;
        const int32_t versionStatus = status != -1 ? status : isKioskFile ? -1 : 13;
        EXPECT_EQ(std::tuple(QVCoreIsQVKIOSKControllerFile(path.c_str(), &isKiosk),
                             QVCoreGetBqvcFileVersion(instance, path.c_str(), &read),
                             QVCoreGetBqvcFileOperation(path.c_str(), &permitted, &operation),
                             check(path.c_str(), "", 2, &authenticated, &permitted, &checked)),
                  std::tuple(status, versionStatus, usable, usable));
        EXPECT_EQ(std::tuple(isKiosk, read, operation, checked),
                  std::tuple(isKioskFile, version, usable ? 5 : -7, usable ? 5 : -7));
    }
    QVCoreReleaseInstance(&instance);
}

TEST(Check, DecidesByLevelAndCodeAndReturnsTheFileValues)
{
    // Administrator code 1234, power-user code 0000, power user permitted; level and code tried.
    // clang-format off
    const std::tuple<const char *, bool, bool, bool, int32_t, const char *, bool> rows[] = {
        {"both codes: power user, administrator code", true, true, true, 2, "1234", true},
        {"both codes: level 0", true, true, true, 0, "1234", false},
        {"only administrator code: power user needs none", true, false, true, 2, "", true},
        {"not permitted: administrator, right", true, true, false, 1, "1234", true},
        {"not permitted: power user, right", true, true, false, 2, "0000", false},
    };
    // clang-format on
    const ScratchDir dir;
    for (const auto &[name, adminCode, userCode, userPermitted, level, code, expected] : rows) {
        SCOPED_TRACE(name);
        Json json = Json::parse(kiosk("powerUserPermitted", userPermitted));
        if (adminCode)
            json["administratorCode"] = adminHash;
        if (userCode)
            json["powerUserCode"] = powerUserHash;
        const std::string path = dir.write("file.qvksk", json.dump());
        bool authenticated = !expected;
        bool permitted = !userPermitted;
        int32_t fileOperation = -1;
        ASSERT_TRUE(check(path.c_str(), code, level, &authenticated, &permitted, &fileOperation));
        EXPECT_EQ(std::tuple(authenticated, permitted, fileOperation),
                  std::tuple(expected, userPermitted, 5));
    }
}

TEST(Calls, RefuseNullArgumentsAndUnknownInstances)
{
    const ScratchDir dir;
    const std::string path = dir.write("file.qvksk", kiosk());
    const char *file = path.c_str();
    bool flag = false;
    int32_t value = 0;
    EXPECT_EQ(QVCoreCreateInstance(nullptr, "ANY", "ANY"), nullptr);
    EXPECT_EQ(QVCoreCreateInstance("ANY", nullptr, "ANY"), nullptr);
    EXPECT_EQ(QVCoreCreateInstance("ANY", "ANY", nullptr), nullptr);
    EXPECT_EQ(QVCoreIsQVKIOSKControllerFile(nullptr, &flag), QVCORE_STATUS_INVALID_ARGUMENT);
    EXPECT_EQ(QVCoreIsQVKIOSKControllerFile(file, nullptr), QVCORE_STATUS_INVALID_ARGUMENT);
    EXPECT_FALSE(QVCoreGetBqvcFileOperation(nullptr, &flag, &value));
    EXPECT_FALSE(QVCoreGetBqvcFileOperation(file, nullptr, &value));
    EXPECT_FALSE(QVCoreGetBqvcFileOperation(file, &flag, nullptr));
    EXPECT_FALSE(check(nullptr, "", 1, &flag, &flag, &value));
    EXPECT_FALSE(check(file, nullptr, 1, &flag, &flag, &value));
    EXPECT_FALSE(check(file, "", 1, nullptr, &flag, &value));
    EXPECT_FALSE(check(file, "", 1, &flag, nullptr, &value));
    EXPECT_FALSE(check(file, "", 1, &flag, &flag, nullptr));

    QVCoreInstance *instance = QVCoreCreateInstance("ANY", "ANY", "ANY");
    EXPECT_EQ(QVCoreGetBqvcFileVersion(instance, nullptr, &value), QVCORE_STATUS_INVALID_ARGUMENT);
    EXPECT_EQ(QVCoreGetBqvcFileVersion(instance, file, nullptr), QVCORE_STATUS_INVALID_ARGUMENT);
    const QVCoreInstance *released = instance;
    QVCoreReleaseInstance(&instance);
    EXPECT_EQ(instance, nullptr);
    EXPECT_EQ(QVCoreGetConstantskQVCKioskFileVersion(released), 0);
    EXPECT_EQ(QVCoreGetConstantskQVCKioskFileVersion(nullptr), 0);
    EXPECT_EQ(QVCoreGetBqvcFileVersion(released, file, &value), QVCORE_STATUS_INVALID_ARGUMENT);
    QVCoreReleaseInstance(&instance); // a cleared pointer, and none at all, are ignored
    QVCoreReleaseInstance(nullptr);
    EXPECT_EQ(value, 0);
}

} // namespace

// qvksk: creates, describes and checks controller files of the stand-in format.
// Exit codes: 0 done (check: the code opens the file), 1 the code does not open it, 2 error.

#include "accesscode.h"
#include "controllerfile.h"
#include "controllerfilereader.h"
#include "qvcore.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int exitOk = 0;
constexpr int exitRefused = 1;
constexpr int exitError = 2;

const char *const mainHelp = R"(Usage: qvksk <command> [options]

Creates, describes and checks kiosk controller files.

Commands:
  create   write a new controller file
  info     print what a controller file holds, without its code hashes
  check    check whether a code opens a controller file at a level

Run "qvksk <command> --help" for a command's options.
)";

const char *const createHelp = R"(Usage: qvksk create OUT --title T --version N [options]

Writes a controller file to OUT. Codes are stored as Argon2id hashes, never in clear.

  --title T                the controller's title
  --version N              the kiosk file version (this library opens 1 to 3)
  --admin-code C           the Administrator code (default: none needed)
  --power-user-code C      the Power User code (default: none needed)
  --power-user-permitted   let the file be opened as Power User
  --file-operation N       the file-operation value (default 0)
)";

const char *const infoHelp = R"(Usage: qvksk info FILE

Prints everything FILE holds except the hashes of its codes.
)";

const char *const checkHelp = R"(Usage: qvksk check FILE --level admin|power-user --code C

Exit code 0 when C opens FILE at the level, 1 when it does not, 2 on error.
)";

int fail(const std::string &message)
{
    std::cerr << "qvksk: " << message << '\n';
    return exitError;
}

bool isHelp(std::string_view arg)
{
    return arg == "--help" || arg == "-h";
}

std::optional<std::int32_t> toInt32(std::string_view text)
{
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string statusText(std::int32_t status)
{
    switch (status) {
    case QVCORE_STATUS_NOT_FOUND:
        return "does not exist";
    case QVCORE_STATUS_UNREADABLE:
        return "cannot be read";
    case QVCORE_STATUS_TOO_LARGE:
        return "is larger than 16 MiB";
    case QVCORE_STATUS_INVALID_KIOSK_FILE:
        return "is a controller file with an invalid or missing field";
    default:
        return "cannot be read (status " + std::to_string(status) + ")";
    }
}

// Options of the form "--name value", "--name=value" or "--flag"; the first argument not an option is the file.
class Arguments final
{
public:
    Arguments(const std::vector<std::string_view> &args, std::vector<std::string_view> flags)
        : flagNames(std::move(flags))
    {
        for (std::size_t i = 0; i < args.size() && error.empty(); ++i) {
            const std::string_view arg = args[i];
            if (arg.substr(0, 2) != "--") {
                if (!file.empty())
                    error = "unexpected argument " + std::string(arg);
                file = std::string(arg);
            } else if (const auto equals = arg.find('='); equals != std::string_view::npos) {
                values.emplace_back(arg.substr(0, equals), arg.substr(equals + 1));
            } else if (isFlag(arg)) {
                values.emplace_back(arg, "");
            } else if (i + 1 < args.size()) {
                values.emplace_back(arg, args[++i]);
            } else {
                error = std::string(arg) + " needs a value";
            }
        }
    }

    std::string file;
    std::string error;

    std::optional<std::string> value(std::string_view name) const
    {
        for (const auto &[key, val] : values) {
            if (key == name)
                return std::string(val);
        }
        return std::nullopt;
    }
    bool has(std::string_view name) const { return value(name).has_value(); }

    // The first option not in known, if any.
    std::optional<std::string> unknown(const std::vector<std::string_view> &known) const
    {
        for (const auto &entry : values) {
            bool found = false;
            for (std::string_view name : known)
                found = found || entry.first == name;
            if (!found)
                return std::string(entry.first);
        }
        return std::nullopt;
    }

private:
    bool isFlag(std::string_view arg) const
    {
        for (std::string_view name : flagNames) {
            if (name == arg)
                return true;
        }
        return false;
    }

    std::vector<std::string_view> flagNames;
    std::vector<std::pair<std::string_view, std::string_view>> values;
};

std::optional<std::string> hashedCode(const Arguments &args, std::string_view option, int &status)
{
    const std::optional<std::string> code = args.value(option);
    if (!code)
        return std::nullopt;
    if (code->empty()) {
        status = fail(std::string(option) + " needs a code; leave it out for none");
        return std::nullopt;
    }
    const std::optional<std::string> hash = qvcore::accesscode::hash(*code);
    if (!hash)
        status = fail("could not hash " + std::string(option));
    return hash;
}

int create(const std::vector<std::string_view> &argv)
{
    const Arguments args(argv, {"--power-user-permitted"});
    if (!args.error.empty())
        return fail(args.error);
    if (const auto unknown = args.unknown({"--title",
                                           "--version",
                                           "--admin-code",
                                           "--power-user-code",
                                           "--power-user-permitted",
                                           "--file-operation"}))
        return fail("unknown option " + *unknown + " (see qvksk create --help)");
    if (args.file.empty() || !args.has("--title") || !args.has("--version"))
        return fail("create needs OUT, --title and --version (see qvksk create --help)");

    qvcore::ControllerFile file;
    file.title = *args.value("--title");
    const auto version = toInt32(*args.value("--version"));
    if (!version)
        return fail("--version needs a whole number");
    file.version = *version;
    file.powerUserPermitted = args.has("--power-user-permitted");
    if (const auto operation = args.value("--file-operation")) {
        const auto value = toInt32(*operation);
        if (!value)
            return fail("--file-operation needs a whole number");
        file.fileOperation = *value;
    }
    int status = exitOk;
    file.administratorCode = hashedCode(args, "--admin-code", status);
    if (status == exitOk)
        file.powerUserCode = hashedCode(args, "--power-user-code", status);
    if (status != exitOk)
        return status;

    const std::optional<std::string> text = file.serialize();
    if (!text)
        return fail("the title is not UTF-8");
    // Written beside the target and renamed over it, so a failed write leaves no half file.
    const std::string temporary = args.file + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << *text;
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            return fail("cannot write " + args.file);
        }
    }
    if (std::rename(temporary.c_str(), args.file.c_str()) != 0) {
        std::remove(temporary.c_str());
        return fail("cannot write " + args.file);
    }
    std::cout << "created " << args.file << '\n';
    return exitOk;
}

// Reads a kiosk file or says why not.
std::optional<qvcore::ControllerFile> readKioskFile(const std::string &path, int &status)
{
    qvcore::ControllerFileReading reading = qvcore::readControllerFile(path.c_str());
    if (reading.status != QVCORE_STATUS_OK) {
        status = fail(path + " " + statusText(reading.status));
        return std::nullopt;
    }
    if (!reading.isKioskFile) {
        status = fail(path + " is not a controller file");
        return std::nullopt;
    }
    return std::move(reading.file);
}

int info(const std::vector<std::string_view> &argv)
{
    const Arguments args(argv, {});
    if (!args.error.empty())
        return fail(args.error);
    if (const auto unknown = args.unknown({}))
        return fail("unknown option " + *unknown + " (see qvksk info --help)");
    if (args.file.empty())
        return fail("info needs FILE (see qvksk info --help)");
    int status = exitOk;
    const auto file = readKioskFile(args.file, status);
    if (!file)
        return status;

    std::cout << "file: " << args.file << '\n' << "version: " << file->version;
    if (!file->hasKnownLayout()) {
        std::cout << " (not openable: this library opens versions 1 to "
                  << QVCORE_SUPPORTED_KIOSK_FILE_VERSION << ")\n";
        return exitOk;
    }
    const auto yesNo = [](bool value) { return value ? "yes" : "no"; };
    const auto code = [](const std::optional<std::string> &hash) {
        return hash ? "set" : "none (no code needed)";
    };
    std::cout << '\n'
              << "title: " << file->title << '\n'
              << "power user permitted: " << yesNo(file->powerUserPermitted) << '\n'
              << "file operation: " << file->fileOperation << '\n'
              << "administrator code: " << code(file->administratorCode) << '\n'
              << "power-user code: " << code(file->powerUserCode) << '\n'
              << "controller entries: " << file->controllerEntries << '\n';
    return exitOk;
}

int check(const std::vector<std::string_view> &argv)
{
    const Arguments args(argv, {});
    if (!args.error.empty())
        return fail(args.error);
    if (const auto unknown = args.unknown({"--level", "--code"}))
        return fail("unknown option " + *unknown + " (see qvksk check --help)");
    const auto levelName = args.value("--level");
    const auto code = args.value("--code");
    if (args.file.empty() || !levelName || !code)
        return fail("check needs FILE, --level and --code (see qvksk check --help)");
    std::int32_t level = 0;
    std::string levelText;
    if (*levelName == "admin") {
        level = 1;
        levelText = "Administrator";
    } else if (*levelName == "power-user") {
        level = 2;
        levelText = "Power User";
    } else {
        return fail("--level is admin or power-user, not " + *levelName);
    }

    int status = exitOk;
    const auto file = readKioskFile(args.file, status);
    if (!file)
        return status;
    if (!file->hasKnownLayout())
        return fail(args.file + " has version " + std::to_string(file->version)
                    + ", this library opens 1 to "
                    + std::to_string(QVCORE_SUPPORTED_KIOSK_FILE_VERSION));
    if (level == 2 && !file->powerUserPermitted) {
        std::cout << args.file << ": Power User is not permitted\n";
        return exitRefused;
    }
    if (!file->opens(level, *code)) {
        std::cout << args.file << ": the code does not open it as " << levelText << '\n';
        return exitRefused;
    }
    std::cout << args.file << ": the code opens it as " << levelText << '\n';
    return exitOk;
}

} // namespace

int main(int argc, char *argv[])
{
    try {
        const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
        if (args.empty())
            return fail("no command (see qvksk --help)");
        const std::string_view command = args.front();
        const std::vector<std::string_view> rest(args.begin() + 1, args.end());
        const bool help = std::any_of(rest.begin(), rest.end(), isHelp);
        if (isHelp(command)) {
            std::cout << mainHelp;
            return exitOk;
        }
        if (command == "create") {
            if (help)
                std::cout << createHelp;
            return help ? exitOk : create(rest);
        }
        if (command == "info") {
            if (help)
                std::cout << infoHelp;
            return help ? exitOk : info(rest);
        }
        if (command == "check") {
            if (help)
                std::cout << checkHelp;
            return help ? exitOk : check(rest);
        }
        return fail("unknown command " + std::string(command) + " (see qvksk --help)");
    } catch (const std::exception &error) {
        return fail(error.what());
    }
}

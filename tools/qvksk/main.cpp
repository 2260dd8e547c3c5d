// qvksk: creates, describes and checks controller files of the stand-in format.
// Exit codes: 0 done (check: the code opens the file), 1 the code does not open it, 2 error.

#include "accesscode.h"
#include "arguments.h"
#include "atomicfile.h"
#include "codeinput.h"
#include "codelength.h"
#include "controllerfile.h"
#include "controllerfilereader.h"
#include "fileinfo.h"
#include "qvcore.h"
#include "qvkioskversion.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
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
       qvksk --version

Creates, describes and checks kiosk controller files.

Commands:
  create   write a new controller file
  info     print what a controller file holds, without its code hashes
  check    check whether a code opens a controller file at a level

Run "qvksk <command> --help" for a command's options.
)";

const char *const createHelp = R"(Usage: qvksk create OUT --title T --version N [options]

Writes a controller file to OUT. Codes are stored as Argon2id hashes, never in clear.
A code given as "-" is read from standard input (one line each, in the order of the
options), without echo when it is a terminal; other users can see codes given on the
command line in the process list. A code has at most 4 characters, as many as the code
dialog takes (a character beyond U+FFFF counts as two).

  --title T                the controller's title
  --version N              the kiosk file version (this library opens 1 to 3)
  --force                  replace an existing OUT, and write a version this library
                           cannot open
  --admin-code C|-         the Administrator code
  --no-admin-code          let anyone open the file as Administrator without a code;
                           needed for a power-user code without an administrator code
  --power-user-code C|-    the Power User code (default: none needed)
  --power-user-permitted   let the file be opened as Power User
  --file-operation N       the file-operation value (default 0)
)";

const char *const infoHelp = R"(Usage: qvksk info FILE [--json]

Prints everything FILE holds except the hashes of its codes, and which code opens it at
each level. Control characters in its texts are shown as \xNN or \u00NN, a backslash as \\.

  --json   print the same as one JSON object on one line, in ASCII: "file", "version",
           "openable" and, when openable, "title", "powerUserPermitted", "fileOperation",
           "administrator", "powerUser" and "controllerEntries"
)";

const char *const checkHelp = R"(Usage: qvksk check FILE --level admin|power-user --code C|-

Exit code 0 when C opens FILE at the level, 1 when it does not, 2 on error (a code longer
than the code dialog takes is an error). A code given as "-" is read from standard input
(one line), without echo when it is a terminal.
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

int usageError(const Arguments &args, std::string_view command)
{
    return fail(args.error() + " (see qvksk " + std::string(command) + " --help)");
}

// Replaces each code option given as "-" by a line of standard input, in the order given.
bool readCodesFromInput(Arguments &args,
                        const std::vector<std::pair<std::string_view, std::string>> &prompts,
                        bool confirm,
                        int &status)
{
    const auto given = args.given(); // a copy: setValue changes the values
    for (const auto &[name, value] : given) {
        const auto prompt = std::find_if(prompts.begin(), prompts.end(), [&](const auto &entry) {
            return entry.first == name;
        });
        if (prompt == prompts.end() || value != "-")
            continue;
        std::string error;
        std::optional<std::string> code = readCode(prompt->second, confirm, error);
        if (!code) {
            status = fail(name + ": " + error);
            return false;
        }
        args.setValue(name, std::move(*code));
    }
    return true;
}

// A code that the code dialog cannot take would make a file no one opens with it.
bool codeIsTypable(const Arguments &args, std::string_view option, int &status)
{
    const std::optional<std::string> code = args.value(option);
    if (!code)
        return true;
    const std::string reason = untypableCodeReason(*code);
    if (reason.empty())
        return true;
    status = fail(std::string(option) + " " + reason);
    return false;
}

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
    Arguments args(argv,
                   {"--power-user-permitted", "--no-admin-code", "--force"},
                   {"--title", "--version", "--admin-code", "--power-user-code", "--file-operation"});
    if (!args.error().empty())
        return usageError(args, "create");
    if (args.file().empty() || !args.has("--title") || !args.has("--version"))
        return fail("create needs OUT, --title and --version (see qvksk create --help)");

    qvcore::ControllerFile file;
    file.title = *args.value("--title");
    const auto version = toInt32(*args.value("--version"));
    if (!version)
        return fail("--version needs a whole number");
    file.version = *version;
    const bool force = args.has("--force");
    if (!file.hasKnownLayout() && !force)
        return fail("this library opens versions 1 to "
                    + std::to_string(QVCORE_SUPPORTED_KIOSK_FILE_VERSION) + ", not "
                    + std::to_string(*version) + "; give --force to write it all the same");
    file.powerUserPermitted = args.has("--power-user-permitted");
    if (const auto operation = args.value("--file-operation")) {
        const auto value = toInt32(*operation);
        if (!value)
            return fail("--file-operation needs a whole number");
        file.fileOperation = *value;
    }
    if (args.has("--no-admin-code") && args.has("--admin-code"))
        return fail("--admin-code and --no-admin-code contradict each other");
    // A file without an administrator code opens as Administrator with no code at all, which
    // makes a power-user code pointless: only by explicit request.
    if (args.has("--power-user-code") && !args.has("--admin-code") && !args.has("--no-admin-code"))
        return fail("a power-user code without --admin-code lets anyone open the file as "
                    "Administrator without a code; give --no-admin-code if that is meant");

    // Before any code is asked for, so that no one types one in vain. A destination that cannot
    // be looked at is left to the write, which says why.
    std::error_code unknown;
    const auto type = std::filesystem::symlink_status(args.file(), unknown).type();
    if (!force && !unknown && type != std::filesystem::file_type::not_found)
        return fail(args.file() + " already exists; give --force to replace it");

    int status = exitOk;
    if (!readCodesFromInput(args,
                            {{"--admin-code", "Administrator code: "},
                             {"--power-user-code", "Power User code: "}},
                            true,
                            status)
        || !codeIsTypable(args, "--admin-code", status)
        || !codeIsTypable(args, "--power-user-code", status))
        return status;
    file.administratorCode = hashedCode(args, "--admin-code", status);
    if (status == exitOk)
        file.powerUserCode = hashedCode(args, "--power-user-code", status);
    if (status != exitOk)
        return status;

    const std::optional<std::string> text = file.serialize();
    if (!text)
        return fail("the title is not UTF-8");
    if (std::string error; !writeFileAtomically(args.file(), *text, force, error))
        return fail("cannot write " + args.file() + ": " + error);
    std::cout << "created " << args.file() << '\n';
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
    const Arguments args(argv, {"--json"}, {});
    if (!args.error().empty())
        return usageError(args, "info");
    if (args.file().empty())
        return fail("info needs FILE (see qvksk info --help)");
    int status = exitOk;
    const auto file = readKioskFile(args.file(), status);
    if (!file)
        return status;

    if (args.has("--json"))
        printFileInfoJson(std::cout, args.file(), *file);
    else
        printFileInfo(std::cout, args.file(), *file);
    return exitOk;
}

int check(const std::vector<std::string_view> &argv)
{
    Arguments args(argv, {}, {"--level", "--code"});
    if (!args.error().empty())
        return usageError(args, "check");
    const auto levelName = args.value("--level");
    if (args.file().empty() || !levelName || !args.has("--code"))
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
    const auto file = readKioskFile(args.file(), status);
    if (!file)
        return status;
    const std::string &path = args.file();
    if (!file->hasKnownLayout())
        return fail(path + " has version " + std::to_string(file->version)
                    + ", this library opens 1 to "
                    + std::to_string(QVCORE_SUPPORTED_KIOSK_FILE_VERSION));
    if (level == 2 && !file->powerUserPermitted) {
        std::cout << path << ": Power User is not permitted\n";
        return exitRefused;
    }
    if (!readCodesFromInput(args, {{"--code", "Code: "}}, false, status)
        || !codeIsTypable(args, "--code", status))
        return status;
    if (!file->opens(level, *args.value("--code"))) {
        std::cout << path << ": the code does not open it as " << levelText << '\n';
        return exitRefused;
    }
    std::cout << path << ": the code opens it as " << levelText << '\n';
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
        // Only alone: "--version N" is the file version inside create.
        if (command == "--version") {
            if (!rest.empty())
                return fail("--version takes no arguments (see qvksk --help)");
            std::cout << "qvksk " << QVKIOSK_VERSION << '\n';
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

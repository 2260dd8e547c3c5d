// The qvksk tool driven as a user drives it: arguments, standard input or a terminal, exit code
// and what it prints.

#include "qvkioskversion.h"
#include "scratchdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ToolRun
{
    int exitCode = -1;
    std::string output; // standard output and standard error together
};

std::string quoted(const std::string &word)
{
    std::string text = "'";
    for (const char c : word)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

// Runs the tool with input on its standard input or, when typing (prompts and answers) is
// given, at a terminal of its own through the test helper, which types each answer after its
// prompt.
ToolRun runTool(const std::vector<std::string> &args,
                const std::string &input = "",
                const std::vector<std::string> &typing = {})
{
    std::string line = "printf %s " + quoted(input) + " |";
    if (!typing.empty()) {
        line += " " TESTHELPER_PATH " --pty";
        for (const std::string &word : typing)
            line += " " + quoted(word);
        line += " --";
    }
    line += " " QVKSK_PATH;
    for (const std::string &arg : args)
        line += " " + quoted(arg);
    FILE *pipe = ::popen((line + " 2>&1").c_str(), "r");
    ToolRun run;
    char buffer[256];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The words of a command line; "@" at the start of a word stands for folder.
std::vector<std::string> words(const std::string &line, const std::string &folder)
{
    std::vector<std::string> args;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        args.push_back(word[0] == '@' ? folder + '/' + word.substr(1) : word);
    return args;
}

struct Step
{
    const char *args;
    int exitCode;
    std::string text; // the output holds it
    const char *input = "";
    std::vector<std::string> typing = {}; // prompts and answers at a terminal, never echoed
};

// Runs the steps in order in one scratch folder.
void runSteps(const std::vector<Step> &steps)
{
    const ScratchDir dir;
    for (const Step &step : steps) {
        SCOPED_TRACE(std::string("qvksk ") + step.args + " <<< \"" + step.input + "\"");
        const ToolRun run = runTool(words(step.args, dir.root), step.input, step.typing);
        EXPECT_EQ(run.exitCode, step.exitCode) << run.output;
        EXPECT_NE(run.output.find(step.text), std::string::npos) << run.output;
        for (std::size_t i = 1; i < step.typing.size(); i += 2)
            EXPECT_EQ(run.output.find(step.typing[i].substr(0, 4)), std::string::npos) << "echoed";
    }
}

TEST(Qvksk, CheckTellsWhetherTheCodeOpensTheFile)
{
    // clang-format off
    runSteps({
        {"create @lobby.qvksk --title Lobby --version 3 --admin-code 1234 --power-user-code 0000 --power-user-permitted", 0, "created"},
        {"check @lobby.qvksk --level admin --code 1234", 0, "the code opens it as Administrator"},
        {"check @lobby.qvksk --level admin --code 0000", 1, "does not open it as Administrator"},
        {"check @lobby.qvksk --level power-user --code 0000", 0, "opens it as Power User"},
        {"create @desk.qvksk --title Desk --version 2 --admin-code 4321", 0, "created"},
        {"check @desk.qvksk --level power-user --code 4321", 1, "Power User is not permitted"},
        // A code read from standard input stays out of the process list.
        {"check @lobby.qvksk --level admin --code -", 0, "opens it as Administrator", "1234\n"},
        {"check @lobby.qvksk --level admin --code=-", 0, "opens it as Administrator", "1234\r\n"},
        {"check @lobby.qvksk --level admin --code -", 1, "does not open", "0000\n1234\n"},
        {"check @lobby.qvksk --level admin --code -", 2, "no code on standard input", ""},
        {"create @x.qvksk --title X --version 3 --admin-code -", 2, "needs a code", "\n"},
        // Several codes from standard input are read in the order of their options.
        {"create @piped.qvksk --title P --version 3 --power-user-permitted --power-user-code - --admin-code -", 0, "created", "2222\n1111\n"},
        {"check @piped.qvksk --level admin --code 1111", 0, "opens it as Administrator"},
        // An existing file is kept, and refused before a code is asked for.
        {"create @lobby.qvksk --title L --version 3 --admin-code -", 2, "lobby.qvksk already exists", ""},
        {"check @lobby.qvksk --level admin --code 1234", 0, "opens it as Administrator"},
        {"create @lobby.qvksk --title L --version 3 --admin-code 9 --force", 0, "created"},
        {"check @lobby.qvksk --level admin --code 9", 0, "opens it as Administrator"},
        // Four characters whatever their UTF-8 length, as the code dialog counts.
        {"create @accents.qvksk --title A --version 3 --admin-code \xc3\xa9\xc3\xa9\xc3\xa9\xe2\x82\xac", 0, "created"},
    });
    // clang-format on
}

TEST(Qvksk, CodesTypedAtATerminalAndWhatInfoSaysOfEachLevel)
{
    const std::string noAdministratorCode
        = "Administrator: needs no code: anyone can open it as Administrator\n";
    const std::string administratorCode = "Administrator: needs the administrator code\n";
    // clang-format off
    runSteps({
        // A code typed at a terminal is asked twice; a mistyped repeat changes nothing.
        {"create @lobby.qvksk --title T --version 3 --admin-code - --force", 0, "created", "", {"Administrator code: ", "4321\n", "Repeat the code: ", "4321\n"}},
        {"create @lobby.qvksk --title T --version 3 --admin-code - --force", 2, "the codes differ", "", {"Administrator code: ", "1111\n", "Repeat the code: ", "4312\n"}},
        {"check @lobby.qvksk --level admin --code -", 0, "opens it as Administrator", "", {"Code: ", "4321\n"}},
        // Info says plainly which level needs no code.
        {"create @a.qvksk --title T --version 3 --power-user-permitted", 0, "created"},
        {"info @a.qvksk", 0, noAdministratorCode + "Power User: needs no code: anyone can open it as Power User\n"},
        {"create @b.qvksk --title T --version 3 --admin-code 1 --power-user-permitted", 0, "created"},
        {"info @b.qvksk", 0, administratorCode + "Power User: needs no code"},
        {"create @c.qvksk --title T --version 3 --no-admin-code --power-user-code 2 --power-user-permitted", 0, "created"},
        {"info @c.qvksk", 0, noAdministratorCode + "Power User: needs the power-user code\n"},
        {"create @d.qvksk --title T --version 3 --admin-code 1 --power-user-code 2", 0, "created"},
        {"info @d.qvksk", 0, administratorCode + "Power User: not permitted\n"},
        {"create @e.qvksk --title T --version 7 --force", 0, "created"},
        {"info @e.qvksk --json", 0, "\",\"version\":7,\"openable\":false}\n"},
    });
    // clang-format on
}

TEST(Qvksk, UsageErrorsExitWithTwoAndSayWhy)
{
    // clang-format off
    runSteps({
        {"create @x.qvksk --title X --version 3 --power-user-permitted=no", 2, "--power-user-permitted takes no value"},
        {"check @x.qvksk --level admin --code 1 --code=2", 2, "--code is given more than once"},
        {"create @x.qvksk --title X --version 3 --colour red", 2, "unknown option --colour"},
        {"create @x.qvksk --title X --version 3 extra", 2, "unexpected argument extra"},
        {"create @x.qvksk --title X --version 3x", 2, "--version needs a whole number"},
        {"create @x.qvksk --title X --version 7", 2, "opens versions 1 to 3, not 7; give --force"},
        // Codes the code dialog could never take: too long (in UTF-16 units) or not text.
        {"create @x.qvksk --title X --version 3 --admin-code 48291", 2, "--admin-code has 5 characters; the code dialog takes at most 4"},
        {"create @x.qvksk --title X --version 3 --admin-code 1 --power-user-code \xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80", 2, "--power-user-code has 6 characters"},
        {"create @x.qvksk --title X --version 3 --admin-code \xc0\xb1", 2, "--admin-code is not UTF-8"},
        {"create @x.qvksk --title \xff --version 3", 2, "the title is not UTF-8"},
        {"create @x.qvksk --title X --version 3 --admin-code=", 2, "needs a code"},
        // Without an administrator code anyone opens the file as Administrator, so a power-user
        // code alone protects nothing unless that is what the user asked for.
        {"create @x.qvksk --title X --version 3 --power-user-code 0000 --power-user-permitted", 2, "--no-admin-code"},
        {"create @x.qvksk --title X --version 3 --no-admin-code --admin-code 1234", 2, "--no-admin-code"},
        {"check @x.qvksk --level root --code 1", 2, "--level is admin or power-user"},
        {"check @x.qvksk --level admin", 2, "needs FILE, --level and --code"},
        {"check @missing.qvksk --level admin --code 1", 2, "does not exist"},
        {"frobnicate", 2, "unknown command"},
        {"--version", 0, "qvksk " QVKIOSK_VERSION "\n"},
        {"create @x.qvksk --help", 0, "Usage: qvksk create"},
        {"create @x.qvksk --title X --version 3 --power-user-code 0000 --power-user-permitted --no-admin-code", 0, "created"},
        {"check @x.qvksk --level admin --code=", 0, "opens it as Administrator"},
        {"check @x.qvksk --level admin --code -", 2, "--code has 5 characters; the code dialog takes at most 4", "12345\n"},
    });
    // clang-format on
}

TEST(Qvksk, InfoShowsWhatTheFileHoldsButNoHashNorControlCharacter)
{
    const ScratchDir dir;
    const std::string path = dir.pathOf("lobby.qvksk");
    // clang-format off
    ASSERT_EQ(runTool({"create", path, "--title", "Lo\x1b]0;pwned\x07\\by\x7f\xc2\x9b" "2J ok",
                       "--version", "3", "--admin-code", "1234", "--power-user-code", "0000",
                       "--power-user-permitted", "--file-operation", "7"}).exitCode, 0);
    // clang-format on
    const std::string stored = readFile(path);
    EXPECT_EQ(stored.find("\"1234\""), std::string::npos) << "the code is stored in clear";
    EXPECT_EQ(stored.find("\"0000\""), std::string::npos) << "the code is stored in clear";

    // Control characters escaped, and no hash: the whole output is known.
    const ToolRun run = runTool({"info", path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output,
              "file: " + path
                  + "\nversion: 3\ntitle: Lo\\x1b]0;pwned\\x07\\\\by\\x7f\\u009b2J ok\n"
                    "power user permitted: yes\nfile operation: 7\n"
                    "Administrator: needs the administrator code\n"
                    "Power User: needs the power-user or the administrator code\n"
                    "controller entries: 0\n");

    // The same for scripts: escaped as JSON, in ASCII, and still no hash.
    const ToolRun json = runTool({"info", path, "--json"});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.output,
              "{\"file\":\"" + path
                  + "\",\"version\":3,\"openable\":true,"
                    "\"title\":\"Lo\\u001b]0;pwned\\u0007\\\\by\\u007f\\u009b2J ok\","
                    "\"powerUserPermitted\":true,\"fileOperation\":7,"
                    "\"administrator\":\"needs the administrator code\","
                    "\"powerUser\":\"needs the power-user or the administrator code\","
                    "\"controllerEntries\":0}\n");
}

TEST(Qvksk, CreateReplacesTheFileWholeAndNeverWritesThroughALink)
{
    const ScratchDir dir;
    const std::string out = dir.pathOf("out.qvksk");
    const std::string victim = dir.pathOf("victim");
    std::ofstream(victim) << "keep";
    const std::vector<std::string> create
        = {"create", out, "--title", "T", "--version", "3", "--force"};
    ::umask(022);

    // Links planted at the destination and at the name a careless writer would use beside it.
    fs::create_symlink(victim, out + ".tmp");
    ASSERT_EQ(runTool(create).exitCode, 0);
    fs::remove(out);
    fs::create_symlink(victim, out);
    ASSERT_EQ(runTool(create).exitCode, 0);
    EXPECT_EQ(readFile(victim), "keep");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(out)));
    // Made as any new file of the user, not private like a temporary file.
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read
                      | fs::perms::others_read;
    EXPECT_EQ(fs::status(out).permissions(), mode);
    EXPECT_NE(readFile(out).find("\"qvksk\""), std::string::npos);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"out.qvksk", "out.qvksk.tmp", "victim"}));

    // A destination that cannot be replaced leaves nothing behind.
    fs::remove(out);
    fs::create_directory(out);
    std::ofstream(out + "/inside") << "x";
    const ToolRun refused = runTool(create);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.output.find("cannot write"), std::string::npos) << refused.output;
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"out.qvksk", "out.qvksk.tmp", "victim"}));
}

} // namespace

// The qvksk tool driven as a user drives it: arguments, standard input or a terminal, exit code
// and what it prints.

#include "qvkioskversion.h"
#include "scratchdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Reads what the tool wrote until text appears after from (or the tool closes its output);
// from is then moved past it.
bool readUntil(int fd, const std::string &text, std::string &seen, std::size_t &from)
{
    for (;;) {
        if (const std::size_t at = seen.find(text, from); at != std::string::npos) {
            from = at + text.size();
            return true;
        }
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 20'000) <= 0)
            return false; // a safety net against a hang, not a measure of speed
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false; // the end, or EIO from a terminal the tool has closed
        seen.append(buffer, static_cast<std::size_t>(n));
    }
}

using Typing = std::vector<std::pair<std::string, std::string>>; // prompts and answers

// Runs the tool with input on a pipe as its standard input or, when typing is given, on a
// terminal of its own, typing each answer after its prompt appeared.
ToolRun runTool(const std::vector<std::string> &args,
                const std::string &input = "",
                const Typing &typing = {})
{
    static std::string tool = QVKSK_PATH;
    std::vector<char *> argv{tool.data()};
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    int fd = -1;
    int in[2] = {-1, -1};
    pid_t pid = -1;
    if (!typing.empty()) {
        pid = ::forkpty(&fd, nullptr, nullptr, nullptr);
    } else if (int out[2]; ::pipe2(in, O_CLOEXEC) == 0 && ::pipe2(out, O_CLOEXEC) == 0) {
        pid = ::fork();
        if (pid == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(out[1], STDERR_FILENO);
        }
        ::close(in[0]);
        ::close(out[1]);
        fd = out[0];
    }
    if (pid == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    // Short inputs fit into the pipe's buffer.
    if (in[1] >= 0 && ::write(in[1], input.data(), input.size()) != ssize_t(input.size()))
        ADD_FAILURE() << "could not write the input";
    ::close(in[1]);
    ToolRun run;
    std::size_t from = 0;
    for (const auto &[prompt, answer] : typing) {
        if (!readUntil(fd, prompt, run.output, from)) {
            ADD_FAILURE() << "no prompt \"" << prompt << "\" in: " << run.output;
            break;
        }
        if (::write(fd, answer.data(), answer.size()) != ssize_t(answer.size()))
            ADD_FAILURE() << "could not type the answer";
    }
    readUntil(fd, std::string(1, '\0'), run.output, from); // everything up to the end
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    ::close(fd);
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
    const char *text; // the output holds it
    const char *input = "";
};

// Runs the steps in order in one scratch folder.
void runSteps(const std::vector<Step> &steps)
{
    const ScratchDir dir;
    for (const Step &step : steps) {
        SCOPED_TRACE(std::string("qvksk ") + step.args + " <<< \"" + step.input + "\"");
        const ToolRun run = runTool(words(step.args, dir.root), step.input);
        EXPECT_EQ(run.exitCode, step.exitCode) << run.output;
        EXPECT_NE(run.output.find(step.text), std::string::npos) << run.output;
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

    const ToolRun run = runTool({"info", path});
    EXPECT_EQ(run.exitCode, 0);
    for (const char *line : {"\ntitle: Lo\\x1b]0;pwned\\x07\\\\by\\x7f\\u009b2J ok\n",
                             "\nversion: 3\n",
                             "\npower user permitted: yes\n",
                             "\nfile operation: 7\n",
                             "\nAdministrator: needs the administrator code\n",
                             "\nPower User: needs the power-user or the administrator code\n"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << " not in:\n" << run.output;
    EXPECT_EQ(run.output.find("argon2"), std::string::npos) << "info shows a hash";
    for (char control : {'\x1b', '\x07', '\x7f'})
        EXPECT_EQ(run.output.find(control), std::string::npos) << int(control) << " printed raw";
    EXPECT_EQ(run.output.find("\xc2\x9b"), std::string::npos) << "C1 control printed raw";

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

TEST(Qvksk, InfoSaysPlainlyWhichLevelNeedsNoCode)
{
    const std::string noAdministratorCode
        = "Administrator: needs no code: anyone can open it as Administrator\n";
    const std::string administratorCode = "Administrator: needs the administrator code\n";
    // clang-format off
    runSteps({
        {"create @a.qvksk --title T --version 3 --power-user-permitted", 0, "created"},
        {"info @a.qvksk", 0, (noAdministratorCode + "Power User: needs no code: anyone can open it as Power User\n").c_str()},
        {"create @b.qvksk --title T --version 3 --admin-code 1 --power-user-permitted", 0, "created"},
        {"info @b.qvksk", 0, (administratorCode + "Power User: needs no code").c_str()},
        {"create @c.qvksk --title T --version 3 --no-admin-code --power-user-code 2 --power-user-permitted", 0, "created"},
        {"info @c.qvksk", 0, (noAdministratorCode + "Power User: needs the power-user code\n").c_str()},
        {"create @d.qvksk --title T --version 3 --admin-code 1 --power-user-code 2", 0, "created"},
        {"info @d.qvksk", 0, (administratorCode + "Power User: not permitted\n").c_str()},
        {"create @e.qvksk --title T --version 7 --force", 0, "created"},
        {"info @e.qvksk --json", 0, "\",\"version\":7,\"openable\":false}\n"},
    });
    // clang-format on
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

TEST(Qvksk, CodeTypedAtATerminalIsNeitherEchoedNorMistyped)
{
    const ScratchDir dir;
    const std::string path = dir.pathOf("typed.qvksk");
    const std::vector<std::string> create
        = {"create", path, "--title", "T", "--version", "3", "--admin-code", "-", "--force"};

    const ToolRun typed = runTool(create,
                                  "",
                                  {{"Administrator code: ", "4321\n"},
                                   {"Repeat the code: ", "4321\n"}});
    EXPECT_EQ(typed.exitCode, 0) << typed.output;
    EXPECT_EQ(typed.output.find("4321"), std::string::npos) << "echoed: " << typed.output;

    const ToolRun mistyped = runTool(create,
                                     "",
                                     {{"Administrator code: ", "1111\n"},
                                      {"Repeat the code: ", "4312\n"}});
    EXPECT_EQ(mistyped.exitCode, 2);
    EXPECT_NE(mistyped.output.find("the codes differ"), std::string::npos) << mistyped.output;

    // The file still holds the first code, and a check reads its code from the terminal too.
    const ToolRun check = runTool({"check", path, "--level", "admin", "--code", "-"},
                                  "",
                                  {{"Code: ", "4321\n"}});
    EXPECT_EQ(check.exitCode, 0) << check.output;
    EXPECT_EQ(check.output.find("4321"), std::string::npos) << "echoed: " << check.output;
}

} // namespace

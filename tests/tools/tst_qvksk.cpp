// The qvksk tool driven as a user drives it at a shell: arguments, standard input or a
// terminal, exit code and what it prints.
#include "qvkioskversion.h"
#include "scratchdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Step
{
    std::string line; // the tool's arguments, or after "!" a shell command
    int exitCode;
    std::string text; // the output (standard output and error) holds it
    std::string input = "";
    std::vector<std::string> typing = {}; // prompts and answers at a terminal, never echoed
};

// Runs the steps in order in a scratch folder holding the build's sample files. A typing step
// runs the tool at a terminal of the test helper, which types each answer after its prompt.
void runSteps(const std::vector<Step> &steps)
{
    const ScratchDir dir;
    std::filesystem::copy(QVKIOSK_SAMPLES_DIR, dir.root);
    for (const Step &step : steps) {
        SCOPED_TRACE(step.line + " <<< \"" + step.input + "\"");
        // No quote in the inputs and prompts.
        std::string line = "(cd '" + dir.root + "' && printf %s '" + step.input + "' |";
        if (!step.typing.empty()) {
            line += " " TESTHELPER_PATH " --pty";
            for (const std::string &word : step.typing)
                line += " '" + word + "'";
            line += " --";
        }
        line += step.line[0] == '!' ? " " + step.line.substr(1) : " " QVKSK_PATH " " + step.line;
        FILE *pipe = ::popen((line + ") 2>&1").c_str(), "r");
        std::string output(1 << 16, '\0');
        output.resize(std::fread(output.data(), 1, output.size(), pipe));
        const int status = ::pclose(pipe);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, step.exitCode) << output;
        EXPECT_NE(output.find(step.text), std::string::npos) << output;
        EXPECT_EQ(output.find("$argon2id"), std::string::npos) << "a code hash is shown";
        for (std::size_t i = 1; i < step.typing.size(); i += 2)
            EXPECT_EQ(output.find(step.typing[i].substr(0, 4)), std::string::npos) << "echoed";
    }
}

TEST(Qvksk, CheckTellsWhetherTheCodeOpensTheFile)
{
    // lobby.qvksk: Administrator 1234, Power User 0000; adminonly.qvksk: Administrator 1234.
    // clang-format off
    runSteps({
        {"check lobby.qvksk --level admin --code 1234", 0, "the code opens it as Administrator"},
        {"check lobby.qvksk --level power-user --code 0000", 0, "opens it as Power User"},
        {"check adminonly.qvksk --level power-user --code 1234", 1, "Power User is not permitted"},
        // A code read from standard input stays out of the process list.
        {"check lobby.qvksk --level admin --code=-", 0, "opens it as Administrator", "1234\r\n"},
        {"check lobby.qvksk --level admin --code -", 1, "does not open it as Administrator", "0000\n1234\n"},
        {"check lobby.qvksk --level admin --code -", 2, "no code on standard input", ""},
        {"create x.qvksk --title X --version 3 --admin-code -", 2, "needs a code", "\n"},
        // An existing file is kept, and refused before a code is asked for.
        {"create lobby.qvksk --title L --version 3 --admin-code -", 2, "lobby.qvksk already exists", ""},
        {"create lobby.qvksk --title L --version 3 --power-user-permitted --force", 0, "created"},
        {"info lobby.qvksk", 0, "Administrator: needs no code: anyone can open it as Administrator\nPower User: needs no code: anyone can open it as Power User\n"},
        // Four characters whatever their UTF-8 length, as the code dialog counts.
        {"create accents.qvksk --title A --version 3 --admin-code \xc3\xa9\xc3\xa9\xc3\xa9\xe2\x82\xac", 0, "created"},
    });
    // clang-format on
}

TEST(Qvksk, InfoTypedCodesUsageErrorsAndReplacedFiles)
{
    ::umask(022); // a new file is made as any new file of the user, not private like a temporary
    // clang-format off
    runSteps({
        {"info lobby.qvksk", 0, "Administrator: needs the administrator code\nPower User: needs the power-user or the administrator code\n"},
        {"info adminonly.qvksk", 0, "Administrator: needs the administrator code\nPower User: not permitted\n"},
        // Several codes from standard input are read in the order of their options.
        {"create piped.qvksk --title P --version 3 --power-user-permitted --power-user-code - --admin-code -", 0, "created", "2222\n1111\n"},
        {"check piped.qvksk --level admin --code 1111", 0, "opens it as Administrator"},
        // A code typed at a terminal is asked twice; a mistyped repeat changes nothing.
        {"create lobby.qvksk --title T --version 3 --admin-code - --force", 0, "created", "", {"Administrator code: ", "4321\n", "Repeat the code: ", "4321\n"}},
        {"create lobby.qvksk --title T --version 3 --admin-code - --force", 2, "the codes differ", "", {"Administrator code: ", "1111\n", "Repeat the code: ", "4312\n"}},
        {"check lobby.qvksk --level admin --code -", 0, "opens it as Administrator", "", {"Code: ", "4321\n"}},
        // Control characters escaped, in text and as JSON in ASCII.
        {"create t.qvksk --title 'Lo\x1b]0;pwned\x07\\by\x7f\xc2\x9b" "2J ok' --version 3 --power-user-permitted --file-operation 7", 0, "created"},
        {"info t.qvksk", 0, "file: t.qvksk\nversion: 3\ntitle: Lo\\x1b]0;pwned\\x07\\\\by\\x7f\\u009b2J ok\npower user permitted: yes\nfile operation: 7\nAdministrator: needs no code: anyone can open it as Administrator\nPower User: needs no code: anyone can open it as Power User\ncontroller entries: 0\n"},
        {"info t.qvksk --json", 0, "{\"file\":\"t.qvksk\",\"version\":3,\"openable\":true,\"title\":\"Lo\\u001b]0;pwned\\u0007\\\\by\\u007f\\u009b2J ok\",\"powerUserPermitted\":true,\"fileOperation\":7,\"administrator\":\"needs no code: anyone can open it as Administrator\",\"powerUser\":\"needs no code: anyone can open it as Power User\",\"controllerEntries\":0}\n"},
        {"info versionzero.qvksk --json", 0, "\",\"version\":0,\"openable\":false}\n"},
        {"create x.qvksk --title X --version 3 --power-user-permitted=no", 2, "--power-user-permitted takes no value"},
        {"check x.qvksk --level admin --code 1 --code=2", 2, "--code is given more than once"},
        {"create x.qvksk --title X --version 3 --colour red", 2, "unknown option --colour"},
        {"create x.qvksk --title X --version 3 extra", 2, "unexpected argument extra"},
        {"create x.qvksk --title X --version 3x", 2, "--version needs a whole number"},
        {"create x.qvksk --title X --version 7", 2, "opens versions 1 to 3, not 7; give --force"},
        // Codes the code dialog could never take: too long (in UTF-16 units) or not text.
        {"create x.qvksk --title X --version 3 --admin-code 48291", 2, "--admin-code has 5 characters; the code dialog takes at most 4"},
        {"create x.qvksk --title X --version 3 --admin-code 1 --power-user-code \xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80", 2, "--power-user-code has 6 characters"},
        {"create x.qvksk --title X --version 3 --admin-code \xc0\xb1", 2, "--admin-code is not UTF-8"},
        {"create x.qvksk --title \xff --version 3", 2, "the title is not UTF-8"},
        // A power-user code alone protects nothing (anyone opens as Administrator) unless asked.
        {"create x.qvksk --title X --version 3 --power-user-code 0000 --power-user-permitted", 2, "--no-admin-code"},
        {"create x.qvksk --title X --version 3 --no-admin-code --admin-code 1234", 2, "--no-admin-code"},
        {"check x.qvksk --level root --code 1", 2, "--level is admin or power-user"},
        {"check x.qvksk --level admin", 2, "needs FILE, --level and --code"},
        {"check missing.qvksk --level admin --code 1", 2, "does not exist"},
        {"frobnicate", 2, "unknown command"},
        {"--version", 0, "qvksk " QVKIOSK_VERSION "\n"},
        {"create x.qvksk --help", 0, "Usage: qvksk create"},
        {"create x.qvksk --title X --version 3 --power-user-code 0000 --power-user-permitted --no-admin-code", 0, "created"},
        {"info x.qvksk", 0, "Administrator: needs no code: anyone can open it as Administrator\nPower User: needs the power-user code\n"},
        {"check x.qvksk --level admin --code=", 0, "opens it as Administrator"},
        {"check x.qvksk --level admin --code -", 2, "--code has 5 characters; the code dialog takes at most 4", "12345\n"},
        // Links planted at the destination and at the name a careless writer would use beside it.
        {"!mkdir d && echo keep >victim && ln -s \"$PWD/victim\" d/out && ln -s ../victim d/out.tmp", 0, ""},
        {"create d/out --title T --version 3 --force", 0, "created"},
        {"!stat -c %A d/out; cat victim; ls d; grep -c '\"qvksk\"' d/out", 0, "-rw-r--r--\nkeep\nout\nout.tmp\n1\n"},
        // A destination that cannot be replaced leaves nothing behind.
        {"!rm d/out && mkdir d/out && touch d/out/inside", 0, ""},
        {"create d/out --title T --version 3 --force", 2, "cannot write"},
        {"!ls d", 0, "out\nout.tmp\n"},
    });
    // clang-format on
}

} // namespace

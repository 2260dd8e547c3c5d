#include "codeinput.h"

#include <csignal>
#include <iostream>

#include <termios.h>
#include <unistd.h>

namespace {

termios savedTerminal = {};
volatile std::sig_atomic_t echoIsOff = 0;

const int restoringSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};

// Ctrl+C at the prompt must not leave the user's terminal without echo.
extern "C" void restoreEchoAndRaise(int signal)
{
    if (echoIsOff)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Turns the terminal's echo off for its lifetime. The typed newline is still echoed (ECHONL),
// so that what follows starts on a line of its own.
class EchoOff final
{
public:
    EchoOff()
    {
        if (::tcgetattr(STDIN_FILENO, &savedTerminal) != 0)
            return;
        for (std::size_t i = 0; i < std::size(restoringSignals); ++i) {
            struct sigaction action = {};
            action.sa_handler = restoreEchoAndRaise;
            ::sigaction(restoringSignals[i], &action, &previous[i]);
        }
        termios silent = savedTerminal;
        silent.c_lflag &= ~tcflag_t(ECHO);
        silent.c_lflag |= ECHONL;
        echoIsOff = ::tcsetattr(STDIN_FILENO, TCSANOW, &silent) == 0;
    }
    ~EchoOff()
    {
        if (echoIsOff)
            ::tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
        echoIsOff = 0;
        for (std::size_t i = 0; i < std::size(restoringSignals); ++i)
            ::sigaction(restoringSignals[i], &previous[i], nullptr);
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    struct sigaction previous[std::size(restoringSignals)] = {};
};

std::optional<std::string> readLine()
{
    std::string line;
    if (!std::getline(std::cin, line) && line.empty())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back(); // a line written on Windows
    return line;
}

std::optional<std::string> readLineSilently(const std::string &prompt)
{
    const EchoOff echoOff;
    // Only after echo is off, so that nothing typed in answer to the prompt is shown.
    std::cerr << prompt << std::flush;
    return readLine();
}

} // namespace

std::optional<std::string> readCode(const std::string &prompt, bool confirm, std::string &error)
{
    if (!::isatty(STDIN_FILENO)) {
        std::optional<std::string> code = readLine();
        if (!code)
            error = "no code on standard input";
        return code;
    }
    std::optional<std::string> code = readLineSilently(prompt);
    if (code && confirm) {
        const std::optional<std::string> again = readLineSilently("Repeat the code: ");
        if (again != code) {
            error = "the codes differ";
            return std::nullopt;
        }
    }
    if (!code)
        error = "no code typed";
    return code;
}

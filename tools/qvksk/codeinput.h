#pragma once

#include <optional>
#include <string>

// Reads an access code as one line of standard input, so that it never shows in the process list.
// When standard input is a terminal, prompts on standard error and reads without echo; with
// confirm, asks a second time and refuses codes that differ. Nothing, and error set, when there
// is no line to read.
std::optional<std::string> readCode(const std::string &prompt, bool confirm, std::string &error);

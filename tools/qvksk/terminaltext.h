#pragma once

#include <string>
#include <string_view>

// text as it may be printed to a terminal: control characters (C0, DEL and, in UTF-8, C1) as
// \xNN or \u00NN, and the backslash doubled, so that a file's text cannot drive the terminal
// and the escapes cannot be forged.
std::string escapeControlCharacters(std::string_view text);

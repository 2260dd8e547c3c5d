#pragma once

#include <string>
#include <string_view>

// Why code could never be typed into the code dialog, or an empty string when it could: the
// dialog's text is UTF-8 here and it takes at most qvcore::accesscode::maxLength characters,
// counted as UTF-16 units (a character beyond U+FFFF counts twice).
std::string untypableCodeReason(std::string_view code);

#pragma once

#include <string>

namespace platform {

// Strict UTF-8 to UTF-16 conversion (Windows: MultiByteToWideChar with CP_UTF8).
// Invalid input (bad bytes, overlong forms, encoded surrogates) gives false and an empty result.
bool utf8ToUtf16(const std::string &utf8, std::u16string &utf16);

// Strict UTF-16 to UTF-8 conversion; an unpaired surrogate gives false and an empty result.
bool utf16ToUtf8(const std::u16string &utf16, std::string &utf8);

} // namespace platform

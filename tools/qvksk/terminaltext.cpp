#include "terminaltext.h"

#include <cstdio>

std::string escapeControlCharacters(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        char code[8] = {};
        if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(code, sizeof code, "\\x%02x", byte);
            escaped += code;
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            // U+0080 to U+009F: some terminals take U+009B as the start of a control sequence.
            std::snprintf(code, sizeof code, "\\u%04x", next);
            escaped += code;
            ++i;
        } else if (byte == '\\') {
            escaped += "\\\\";
        } else {
            escaped += static_cast<char>(byte);
        }
    }
    return escaped;
}

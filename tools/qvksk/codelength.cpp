#include "codelength.h"

#include "accesscodelength.h"

#include <optional>

namespace {

// The number of UTF-16 units of text, or nothing when it is not well-formed UTF-8 (overlong
// forms, surrogates and values beyond U+10FFFF included).
std::optional<std::size_t> utf16Length(std::string_view text)
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t value = 0;
        if (lead < 0x80) {
            length = 1;
            value = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            value = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            value = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            value = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + length > text.size())
            return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            value = (value << 6) | (next & 0x3F);
        }
        constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return std::nullopt;
        units += value > 0xFFFF ? 2 : 1;
        i += length;
    }
    return units;
}

} // namespace

std::string untypableCodeReason(std::string_view code)
{
    const std::optional<std::size_t> length = utf16Length(code);
    if (!length)
        return "is not UTF-8 text";
    if (*length > static_cast<std::size_t>(qvcore::accesscode::maxLength))
        return "has " + std::to_string(*length) + " characters; the code dialog takes at most "
               + std::to_string(qvcore::accesscode::maxLength);
    return std::string();
}

#include "../text.h"

#include <climits>
#include <windows.h>

namespace platform {

bool utf8ToUtf16(const std::string &utf8, std::u16string &utf16)
{
    utf16.clear();
    if (utf8.empty())
        return true;
    if (utf8.size() > INT_MAX)
        return false;
    const int length = static_cast<int>(utf8.size());
    const int units
        = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (units <= 0)
        return false;
    std::u16string out(static_cast<std::size_t>(units), u'\0');
    if (MultiByteToWideChar(CP_UTF8,
                            MB_ERR_INVALID_CHARS,
                            utf8.data(),
                            length,
                            reinterpret_cast<wchar_t *>(out.data()),
                            units)
        != units)
        return false;
    utf16 = std::move(out);
    return true;
}

bool utf16ToUtf8(const std::u16string &utf16, std::string &utf8)
{
    utf8.clear();
    if (utf16.empty())
        return true;
    if (utf16.size() > INT_MAX)
        return false;
    const auto *wide = reinterpret_cast<const wchar_t *>(utf16.data());
    const int length = static_cast<int>(utf16.size());
    const int bytes = WideCharToMultiByte(CP_UTF8,
                                          WC_ERR_INVALID_CHARS,
                                          wide,
                                          length,
                                          nullptr,
                                          0,
                                          nullptr,
                                          nullptr);
    if (bytes <= 0)
        return false;
    std::string out(static_cast<std::size_t>(bytes), '\0');
    if (WideCharToMultiByte(
            CP_UTF8, WC_ERR_INVALID_CHARS, wide, length, out.data(), bytes, nullptr, nullptr)
        != bytes)
        return false;
    utf8 = std::move(out);
    return true;
}

} // namespace platform

// libFuzzer target for the relay arguments (words split at zero bytes, as in argv) and the
// strict text conversions they take: text is refused leaving nothing, or round-trips.

#include "runtimearguments.h"

#include "platform/relayreport.h"
#include "platform/text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto checkText = [](const auto &text, auto converted, auto convert, auto back) {
        std::decay_t<decltype(text)> again;
        if (convert(text, converted) ? !back(converted, again) || again != text : !converted.empty())
            __builtin_trap();
    };
    const std::string whole(reinterpret_cast<const char *>(data), size);
    checkText(whole, std::u16string(u"left"), platform::utf8ToUtf16, platform::utf16ToUtf8);
    std::vector<std::string> words(1);
    for (const char c : whole) {
        if (c == 0)
            words.emplace_back();
        else
            words.back().push_back(c);
    }
    for (const std::string &word : words) {
        std::size_t blockSize = 0; // its rules have their own table: here it only must not fail
        platform::parseRelayBlockSize(word, blockSize);
        checkText(word, std::u16string(u"left"), platform::utf8ToUtf16, platform::utf16ToUtf8);
        std::u16string units(word.size() / 2, u'\0');
        std::memcpy(units.data(), word.data(), units.size() * 2);
        checkText(units, std::string("left"), platform::utf16ToUtf8, platform::utf8ToUtf16);
    }
    RuntimeArguments arguments; // likewise
    RuntimeArguments::parse(words, arguments);
    return 0;
}

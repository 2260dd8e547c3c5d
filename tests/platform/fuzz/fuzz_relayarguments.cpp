// libFuzzer target for the relay arguments: the input is a command line, its words split at zero
// bytes as in argv. Each word (and the whole input) goes through the block size reader and the
// strict UTF-8 conversion that block names and the relayed arguments take on Windows, and the
// words through the runtime's argument reader.
// Besides "no crash, no hang, no leak", it checks that the text conversions refuse cleanly or
// round-trip exactly.

#include "runtimearguments.h"

#include "platform/relayreport.h"
#include "platform/text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void checkText(const std::string &word)
{
    // Refused text leaves nothing behind; accepted text comes back byte for byte.
    std::u16string units = u"left over";
    if (!platform::utf8ToUtf16(word, units)) {
        if (!units.empty())
            __builtin_trap();
    } else {
        std::string again = "left over";
        if (!platform::utf16ToUtf8(units, again) || again != word)
            __builtin_trap();
    }

    // The same bytes read as UTF-16 units, as a wide command line would carry them.
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < word.size(); i += 2)
        wide.push_back(char16_t(static_cast<unsigned char>(word[i])
                                | static_cast<unsigned char>(word[i + 1]) << 8));
    std::string utf8 = "left over";
    if (!platform::utf16ToUtf8(wide, utf8)) {
        if (!utf8.empty())
            __builtin_trap();
    } else {
        std::u16string again;
        if (!platform::utf8ToUtf16(utf8, again) || again != wide)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            words.emplace_back();
        else
            words.back().push_back(char(data[i]));
    }
    for (const std::string &word : words) {
        std::size_t blockSize = 0; // its rules have their own table: here it only must not fail
        platform::parseRelayBlockSize(word, blockSize);
        checkText(word);
    }
    checkText(std::string(reinterpret_cast<const char *>(data), size));
    RuntimeArguments arguments; // likewise
    RuntimeArguments::parse(words, arguments);
    return 0;
}

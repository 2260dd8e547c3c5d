#include "relayreport.h"

#include "lasterror.h"
#include "sharedmemoryblock.h"
#include "sharedmemoryview.h"

namespace platform {

bool parseRelayBlockSize(const std::string &text, std::size_t &size)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    if (i == text.size())
        return false;
    unsigned long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + unsigned(c - '0');
        if (value > 0x7FFFFFFFull)
            return false;
    }
    if (value == 0)
        return false;
    size = static_cast<std::size_t>(value);
    return true;
}

bool reportRelayedProcessId(const std::string &blockName,
                            const std::string &sizeText,
                            std::uint32_t processId)
{
    std::size_t size = 0;
    // The id is four bytes: a smaller view would be written past its end.
    if (!parseRelayBlockSize(sizeText, size) || size < 4) {
        setInvalidArgumentError();
        return false;
    }
    SharedMemoryBlock block = SharedMemoryBlock::openExisting(blockName);
    if (!block.isOpen())
        return false;
    SharedMemoryView view = SharedMemoryView::map(block, size);
    if (!view.isMapped())
        return false;
    for (int i = 0; i < 4; ++i)
        view.data()[i] = static_cast<unsigned char>(processId >> (8 * i));
    return true;
}

} // namespace platform

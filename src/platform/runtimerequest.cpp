#include "runtimerequest.h"

#include <cstring>

namespace platform {

namespace {

void putWord(unsigned char *at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t getWord(const unsigned char *at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t(at[i]) << (8 * i);
    return value;
}

bool fits(const std::u16string &text, std::size_t fieldBytes)
{
    return (text.size() + 1) * 2 <= fieldBytes;
}

void putText(unsigned char *at, const std::u16string &text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        at[2 * i] = static_cast<unsigned char>(text[i] & 0xFF);
        at[2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
    }
}

std::u16string getText(const unsigned char *at, std::size_t fieldBytes)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < fieldBytes; i += 2) {
        const char16_t unit = char16_t(at[i] | (at[i + 1] << 8));
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}

} // namespace

bool RuntimeRequest::encode(unsigned char *block) const
{
    if (!fits(code, codeBytes) || !fits(accessLevel, accessLevelBytes)
        || !fits(pathBlockName, pathBlockNameBytes))
        return false;
    std::memset(block, 0, blockSize);
    putText(block + codeOffset, code);
    putText(block + accessLevelOffset, accessLevel);
    putText(block + pathBlockNameOffset, pathBlockName);
    putWord(block + pathBlockSizeOffset, pathBlockSize);
    putWord(block + readyOffset, ready);
    putWord(block + acceptedOffset, accepted);
    return true;
}

RuntimeRequest RuntimeRequest::decode(const unsigned char *block)
{
    RuntimeRequest request;
    request.code = getText(block + codeOffset, codeBytes);
    request.accessLevel = getText(block + accessLevelOffset, accessLevelBytes);
    request.pathBlockName = getText(block + pathBlockNameOffset, pathBlockNameBytes);
    request.pathBlockSize = getWord(block + pathBlockSizeOffset);
    request.ready = getWord(block + readyOffset);
    request.accepted = getWord(block + acceptedOffset);
    return request;
}

std::u16string RuntimeRequest::accessLevelText(int level)
{
    return level == 2 ? u"Power User" : u"Administrator";
}

std::uint32_t RuntimeRequest::pathBlockBytes(std::size_t units)
{
    constexpr std::size_t limit = 0x7FFFFFFF;
    if (units > limit / 2)
        return 0;
    return static_cast<std::uint32_t>(units * 2);
}

// The status words are written by another process while this one reads them: whole-word
// atomic accesses, and the block is little-endian like every target we build for.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the request block is little-endian");

std::uint32_t RuntimeRequest::loadWord(const unsigned char *block, std::size_t offset)
{
    const auto *word = reinterpret_cast<const std::uint32_t *>(block + offset);
    return __atomic_load_n(word, __ATOMIC_SEQ_CST);
}

void RuntimeRequest::storeWord(unsigned char *block, std::size_t offset, std::uint32_t value)
{
    auto *word = reinterpret_cast<std::uint32_t *>(block + offset);
    __atomic_store_n(word, value, __ATOMIC_SEQ_CST);
}

} // namespace platform

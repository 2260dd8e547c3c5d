#include "runtimelauncher.h"

#include "currentprocess.h"
#include "text.h"

namespace platform {

namespace {

std::string besideFolder(const std::string &name)
{
    return std::string("..") + folderSeparator() + name;
}

} // namespace

std::string runtimePathBeside()
{
    return relayRuntimeFolder() + folderSeparator() + runtimeFileName();
}

std::string relayRuntimeFolder()
{
    return besideFolder("qvkioskcore");
}

std::string standbyRuntimeFolder(bool runtimeBesideExists)
{
    return runtimeBesideExists ? relayRuntimeFolder() : besideFolder("net8.0-windows");
}

std::u16string standbyCommandLine(const std::string &blockName, std::uint32_t blockSize)
{
    std::u16string name;
    if (!utf8ToUtf16(blockName, name))
        return {};
    std::u16string size;
    utf8ToUtf16(std::to_string(blockSize), size);
    return u" " + name + u" " + size + u" --standby ";
}

std::u16string relayCommandLine(const std::string &a1, const std::string &a2)
{
    std::u16string first;
    std::u16string second;
    if (!utf8ToUtf16(a1, first) || !utf8ToUtf16(a2, second))
        return {};
    return u"\"qvkioskcore.exe\" " + first + u" " + second;
}

std::vector<std::string> standbyArguments(const std::string &blockName, std::uint32_t blockSize)
{
    return {blockName, std::to_string(blockSize), "--standby"};
}

std::vector<std::string> relayArguments(const std::string &a1, const std::string &a2)
{
    return {a1, a2};
}

} // namespace platform

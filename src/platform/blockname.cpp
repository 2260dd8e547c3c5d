#include "blockname.h"

#include "lasterror.h"
#include "randomsource.h"

#include <cctype>

namespace platform {

namespace {

const std::string prefix = "quorvaneKiosk_";

bool allDigits(const std::string &text)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

bool isRandomPart(const std::string &text)
{
    return text.size() == 16 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

} // namespace

std::string makeBlockName(const std::tm &localTime, std::uint32_t processId)
{
    char stamp[15] = {};
    if (std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &localTime) != 14)
        return {};
    return prefix + stamp + "_" + std::to_string(processId);
}

bool blockNameProcessId(const std::string &name, std::uint32_t &processId)
{
    if (name.compare(0, prefix.size(), prefix) != 0)
        return false;
    const std::string rest = name.substr(prefix.size());
    // <14 digits>_<pid>[_<random part>]; earlier versions ended a name with a decimal
    // sequence number instead, and their leftover blocks are still swept.
    if (rest.size() < 16 || !allDigits(rest.substr(0, 14)) || rest[14] != '_')
        return false;
    std::string pid = rest.substr(15);
    const std::size_t suffixStart = pid.find('_');
    if (suffixStart != std::string::npos) {
        const std::string suffix = pid.substr(suffixStart + 1);
        if (!allDigits(suffix) && !isRandomPart(suffix))
            return false;
        pid.resize(suffixStart);
    }
    if (!allDigits(pid) || pid.size() > 10)
        return false;
    const unsigned long long value = std::stoull(pid);
    if (value > 0xFFFFFFFFull)
        return false;
    processId = static_cast<std::uint32_t>(value);
    return true;
}

std::string BlockNameGenerator::next(const std::tm &localTime, std::uint32_t processId)
{
    const std::string base = makeBlockName(localTime, processId);
    if (base.empty()) {
        setInvalidArgumentError();
        return {};
    }
    std::string name = base;
    while (issued.count(name) != 0) {
        unsigned char random[8];
        if (!fillRandom(random, sizeof random))
            return {};
        static const char digits[] = "0123456789abcdef";
        name = base + "_";
        for (const unsigned char byte : random) {
            name += digits[byte >> 4];
            name += digits[byte & 0xF];
        }
    }
    issued.insert(name);
    return name;
}

} // namespace platform

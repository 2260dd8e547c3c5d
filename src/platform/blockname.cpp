#include "blockname.h"

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
    // <14 digits>_<pid>[_<sequence>]
    if (rest.size() < 16 || !allDigits(rest.substr(0, 14)) || rest[14] != '_')
        return false;
    std::string pid = rest.substr(15);
    const std::size_t sequenceStart = pid.find('_');
    if (sequenceStart != std::string::npos) {
        if (!allDigits(pid.substr(sequenceStart + 1)))
            return false;
        pid.resize(sequenceStart);
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
    if (base.empty())
        return {};
    std::string name = base;
    for (unsigned sequence = 2; issued.count(name) != 0; ++sequence)
        name = base + "_" + std::to_string(sequence);
    issued.insert(name);
    return name;
}

} // namespace platform

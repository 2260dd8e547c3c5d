#pragma once

#include <cstdint>
#include <ctime>
#include <set>
#include <string>

namespace platform {

// "quorvaneKiosk_" + localTime as "%Y%m%d%H%M%S" + "_" + processId; empty when the time
// cannot be formatted in 14 digits.
std::string makeBlockName(const std::tm &localTime, std::uint32_t processId);

// The process id of a name that makeBlockName or BlockNameGenerator made; false for any
// other name.
bool blockNameProcessId(const std::string &name, std::uint32_t &processId);

// Hands out block names that never repeat within the generator's life, so that a path block
// can never take the request block's name. The first name of a second is makeBlockName's;
// any later one of that second (two blocks in one second, a name passed over, or a clock set
// back) gets "_" and 16 random hex digits appended: another local user could otherwise make
// the next names in advance.
class BlockNameGenerator final
{
public:
    // Empty when the time cannot be formatted or the random source fails; see lastError().
    std::string next(const std::tm &localTime, std::uint32_t processId);

private:
    std::set<std::string> issued;
};

} // namespace platform

#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct QVCoreInstance;

// A core library that records how it is called, linked in place of the real one so that the
// wrapper's fall-backs can be seen: whether it asked at all, and with what.
namespace fakeqvcore {

struct State
{
    bool createSucceeds = true;
    std::vector<std::string> calls;           // function names, in call order
    std::vector<std::string> createArguments; // the three strings of the last create
    QVCoreInstance **releasedAddress = nullptr;
    bool flagOnEntry = true; // isKioskFile as the wrapper passed it
    std::int32_t levelOnEntry = -100;
    std::int32_t status = -1; // what status calls answer
    std::int32_t version = 3;
};

State &state();
void reset();
QVCoreInstance *fakeInstance();

} // namespace fakeqvcore

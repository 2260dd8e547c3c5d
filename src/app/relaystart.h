#pragma once

#include <cstdint>
#include <string>

class CommandLine;

// Relay mode: another program has the launcher start the kiosk runtime for it and learns the
// runtime's process id through a shared-memory block that it made and names.
class RelayStart final
{
public:
    explicit RelayStart(const CommandLine &commandLine);

    // Starts the runtime from the folder beside the program's own with the first two
    // arguments, then writes its process id into the caller's block (the third argument, of
    // the size that the fourth gives). False when the runtime could not be started; the
    // caller's block is then not opened.
    bool run();

    // The runtime of relay mode, from ../qvkioskcore beside this program, with a1 and a2.
    bool startRelayedRuntime(const std::string &a1, const std::string &a2);

    // Writes the relayed runtime's id into the caller's block; a line on standard output says
    // why when it cannot.
    void reportRelayedProcessId(const std::string &blockName, const std::string &sizeText);

    std::uint32_t relayedProcessId() const { return processId; }

private:
    const CommandLine &commandLine;
    std::uint32_t processId = 0;
};

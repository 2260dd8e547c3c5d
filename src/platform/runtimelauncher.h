#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The kiosk runtime's file name: "qvkioskcore.exe" on Windows, "qvkioskcore" elsewhere.
std::string runtimeFileName();

// Where the runtime lives relative to the front-end's folder: "../qvkioskcore/<file name>"
// (with the platform's separator).
std::string runtimePathBeside();

// The folder the standby start enters from the front-end's folder: "../qvkioskcore" when
// runtimePathBeside() exists there, else "../net8.0-windows".
std::string standbyRuntimeFolder(bool runtimeBesideExists);

// The relay start's folder: "../qvkioskcore" (it knows no other).
std::string relayRuntimeFolder();

// The Windows command lines: " <name> <size> --standby " and "\"qvkioskcore.exe\" <a1> <a2>".
// The relay one is empty when a1 or a2 is not valid UTF-8.
std::u16string standbyCommandLine(const std::string &blockName, std::uint32_t blockSize);
std::u16string relayCommandLine(const std::string &a1, const std::string &a2);

// The same words as separate arguments, as POSIX passes them (no shell is involved).
std::vector<std::string> standbyArguments(const std::string &blockName, std::uint32_t blockSize);
std::vector<std::string> relayArguments(const std::string &a1, const std::string &a2);

// Starts the runtime in standby for the request block `blockName` of `blockSize` bytes.
// `program` defaults to runtimeFileName() in the current folder. On POSIX the runtime gets
// its own session, inherits no descriptor, is not this process's child (so it outlives it
// and never stays a zombie) and an exec failure is reported here. `processId` receives the
// new process's id when given. False on failure; see lastError().
bool startStandbyRuntime(const std::string &blockName,
                         std::uint32_t blockSize,
                         std::uint32_t *processId = nullptr,
                         const std::string &program = {});

// The relay form: the runtime gets a1 and a2 (Windows: NORMAL_PRIORITY_CLASS).
bool startRelayRuntime(const std::string &a1,
                       const std::string &a2,
                       std::uint32_t *processId = nullptr,
                       const std::string &program = {});

} // namespace platform

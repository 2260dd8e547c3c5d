#pragma once

#include "platform/blockname.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryblock.h"
#include "runtimewaits.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

class DialogBlockUserInteraction;

// The front-end's side of the kiosk runtime: starts it in standby for the request block made
// here, hands it each controller file through a new path block and the request block, and
// looks for its ready and accepted marks. Looks and writes use the blocks this object holds,
// never a block opened again by name. Low-level failures go to standard output as fixed
// lines followed by the system's error code. GUI thread only; the waits block it.
class RuntimeHandoff final
{
public:
    // Where one store of writeRequestBlock goes: `count` bytes at `offset` of the block.
    using Store
        = std::function<void(std::size_t offset, const unsigned char *bytes, std::size_t count)>;

    explicit RuntimeHandoff(const RuntimeWaits &waits = {});
    ~RuntimeHandoff();
    RuntimeHandoff(const RuntimeHandoff &) = delete;
    RuntimeHandoff &operator=(const RuntimeHandoff &) = delete;

    // Removes leftover blocks of ended front-ends, makes the request block, enters the
    // runtime's folder beside the program's own and starts the runtime there in standby.
    // False when the block, the folder or the process cannot be made; the program keeps the
    // new current folder.
    bool startRuntimeInStandby();

    // One look at ready; when set, the block dialog is closed.
    bool isRuntimeReady();
    // Looks at ready as often and as far apart as the waits say, after a first pause.
    bool waitForRuntimeReady();

    // Writes the path into a new path block and the request (code, level text, path block
    // name and size) into the request block. The previous path block is closed.
    bool handOverToRuntime(const QString &path, const QString &code, int level);
    // Looks at accepted as often and as far apart as the waits say, after a first pause. When
    // they give up, the request is withdrawn (see withdrawRequest) and accepted is read once
    // more: only a runtime that took the request before it was withdrawn counts.
    bool waitForRuntimeAccepted();

    // Takes back a request the runtime has not answered: the path block name's first unit is
    // cleared first, so a runtime looking at any moment sees the whole request or none, then
    // the rest of the request; the path block is closed. Ready and accepted stay as they are.
    void withdrawRequest();

    // A new block of `size` bytes under a name that this object has never handed out and
    // that no block had before; not open on failure (see platform::lastError()).
    platform::SharedMemoryBlock createSharedMemory(std::size_t size);

    // Writes the request into the held request block, which must be `name`, in the order of
    // storeRequest. False when the block is not held, the request does not fit or mapping fails.
    bool writeRequestBlock(const std::string &name, const platform::RuntimeRequest &request);

    // Stores the 260 encoded bytes so that a reader at any moment sees either no request (the
    // first unit of the path block name zero) or the whole new one: the name's first unit is
    // cleared first and written last, with everything else in between.
    static void storeRequest(const unsigned char *encoded, const Store &store);

    // Creates the block dialog on first use (again after its parent died) and runs it.
    int showBlockDialog(QWidget *parent);
    void closeBlockDialog();

    // Closes both blocks and forgets their names.
    void closeSharedMemory();

    const RuntimeWaits &waits() const { return runtimeWaits; }
    void setWaits(const RuntimeWaits &waits) { runtimeWaits = waits; }

    const std::string &requestBlockName() const { return requestBlock.name(); }
    const std::string &pathBlockName() const { return pathBlock.name(); }
    // The standby runtime's process id; 0 before it was started.
    std::uint32_t runtimeProcessId() const { return runtimePid; }
    // Whether the runtime started in standby still runs.
    bool isRuntimeRunning() const;

private:
    // Reads one status word of the request block; false with its failure line when the
    // block is not held or cannot be mapped.
    bool readStatusWord(std::size_t offset, std::uint32_t &value);
    bool isMarkSet(std::size_t offset);
    void noteReady();

    RuntimeWaits runtimeWaits;
    platform::SharedMemoryBlock requestBlock;
    platform::SharedMemoryBlock pathBlock;
    platform::BlockNameGenerator names;
    QPointer<DialogBlockUserInteraction> blockDialog;
    std::uint32_t runtimePid = 0;
    QElapsedTimer sinceStart;
    QElapsedTimer sinceRequest;
    bool readySeen = false;
};

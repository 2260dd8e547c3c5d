#include "runtimehandoff.h"

#include "dialogblockuserinteraction.h"

#include "base/logging.h"
#include "platform/currentprocess.h"
#include "platform/freshblock.h"
#include "platform/lasterror.h"
#include "platform/localtime.h"
#include "platform/processlist.h"
#include "platform/runtimelauncher.h"
#include "platform/sharedmemoryview.h"
#include "platform/staleblocks.h"

#include <QThread>

#include <utility>

#include <atomic>
#include <cstdio>
#include <cstring>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;
using platform::SharedMemoryView;

namespace {

// The fixed line and code on standard output are read by scripts; the log line says where.
void reportFailure(const char *line, const QString &where)
{
    const std::uint32_t error = platform::lastError();
    std::fputs(line, stdout);
    std::fprintf(stdout, "%lu\n", static_cast<unsigned long>(error));
    std::fflush(stdout);
    QString what = QString::fromLatin1(line).trimmed();
    what.chop(what.endsWith(QLatin1Char('.')) ? 1 : 0);
    qCWarning(lcHandoff).noquote()
        << QStringLiteral("%1: %2: %3").arg(where, what, systemErrorText(error));
}

QString blockText(const char *kind, const std::string &name)
{
    return name.empty()
               ? QStringLiteral("no %1 block held").arg(QLatin1String(kind))
               : QStringLiteral("%1 block %2").arg(QLatin1String(kind), QString::fromStdString(name));
}

QString nativeText(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// The runtime reads concurrently from its own process: each store must be visible before the
// next, and the path block name's first unit goes as one aligned 16-bit write.
RuntimeHandoff::Store storeInto(unsigned char *block)
{
    return [block](std::size_t offset, const unsigned char *bytes, std::size_t count) {
        std::atomic_thread_fence(std::memory_order_release);
        if (count == 2) {
            std::uint16_t unit = 0;
            std::memcpy(&unit, bytes, 2);
            *reinterpret_cast<volatile std::uint16_t *>(block + offset) = unit;
        } else {
            for (std::size_t i = 0; i < count; ++i)
                reinterpret_cast<volatile unsigned char *>(block)[offset + i] = bytes[i];
        }
        std::atomic_thread_fence(std::memory_order_release);
    };
}

std::u16string widened(const std::string &ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace

RuntimeHandoff::RuntimeHandoff(const RuntimeWaits &waits)
    : runtimeWaits(waits)
{}

RuntimeHandoff::~RuntimeHandoff() = default;

SharedMemoryBlock RuntimeHandoff::createSharedMemory(std::size_t size)
{
    std::tm now = {};
    if (!platform::localTimeNow(now))
        return {};
    return platform::createFreshBlock(names, now, platform::currentProcessId(), size);
}

void RuntimeHandoff::storeRequest(const unsigned char *encoded, const Store &store)
{
    const std::size_t nameAt = RuntimeRequest::pathBlockNameOffset;
    const std::size_t nameEnd = nameAt + RuntimeRequest::pathBlockNameBytes;
    const unsigned char noName[2] = {0, 0};
    store(nameAt, noName, 2);
    store(0, encoded, nameAt);
    store(nameEnd, encoded + nameEnd, RuntimeRequest::blockSize - nameEnd);
    store(nameAt + 2, encoded + nameAt + 2, RuntimeRequest::pathBlockNameBytes - 2);
    store(nameAt, encoded + nameAt, 2);
}

bool RuntimeHandoff::writeRequestBlock(const std::string &name, const RuntimeRequest &request)
{
    unsigned char encoded[RuntimeRequest::blockSize];
    if (!requestBlock.isOpen() || name != requestBlock.name() || !request.encode(encoded)) {
        platform::setInvalidArgumentError();
        return false;
    }
    SharedMemoryView view = SharedMemoryView::map(requestBlock, RuntimeRequest::blockSize);
    if (!view.isMapped())
        return false;
    storeRequest(encoded, storeInto(view.data()));
    return true;
}

void RuntimeHandoff::withdrawRequest()
{
    pathBlock.close();
    if (!requestBlock.isOpen())
        return;
    SharedMemoryView view = SharedMemoryView::map(requestBlock, RuntimeRequest::blockSize);
    if (!view.isMapped())
        return;
    const Store store = storeInto(view.data());
    const unsigned char zeros[RuntimeRequest::readyOffset] = {};
    const std::size_t nameAt = RuntimeRequest::pathBlockNameOffset;
    store(nameAt, zeros, 2);
    store(0, zeros, nameAt);
    store(nameAt + 2, zeros, RuntimeRequest::readyOffset - nameAt - 2);
}

bool RuntimeHandoff::startRuntimeInStandby()
{
    platform::removeStaleBlocks();
    requestBlock.close();
    runtimePid = 0;
    requestBlock = createSharedMemory(RuntimeRequest::blockSize);
    if (!requestBlock.isOpen()) {
        qCWarning(lcStart).noquote()
            << "the request block cannot be made:" << systemErrorText(platform::lastError());
        return false;
    }
    if (!writeRequestBlock(requestBlock.name(), RuntimeRequest())) {
        qCWarning(lcStart).noquote()
            << QStringLiteral("the request block %1 cannot be written: %2")
                   .arg(nativeText(requestBlock.name()), systemErrorText(platform::lastError()));
        requestBlock.close();
        return false;
    }
    const std::string folder = platform::folderOf(platform::executablePath());
    if (folder.empty() || !platform::setCurrentFolder(folder)) {
        qCWarning(lcStart).noquote()
            << QStringLiteral("the program's folder \"%1\" cannot be "
                              "entered: %2")
                   .arg(nativeText(folder), systemErrorText(platform::lastError()));
        requestBlock.close();
        return false;
    }
    // Never fall back to a runtime in the program's own folder: it is not ours to start.
    const bool beside = platform::fileExists(platform::runtimePathBeside());
    const std::string runtimeFolder = platform::standbyRuntimeFolder(beside);
    const QString runtimePath = QStringLiteral("%1/%2/%3")
                                    .arg(nativeText(folder),
                                         nativeText(runtimeFolder),
                                         nativeText(platform::runtimeFileName()));
    if (!platform::setCurrentFolder(runtimeFolder)) {
        qCWarning(lcStart).noquote()
            << QStringLiteral("the runtime %1 cannot be started: its "
                              "folder cannot be entered: %2")
                   .arg(runtimePath, systemErrorText(platform::lastError()));
        return false;
    }
    if (!platform::startStandbyRuntime(requestBlock.name(), RuntimeRequest::blockSize, &runtimePid)) {
        qCWarning(lcStart).noquote()
            << QStringLiteral("the runtime %1 cannot be started: %2")
                   .arg(runtimePath, systemErrorText(platform::lastError()));
        return false;
    }
    readySeen = false;
    sinceStart.start();
    qCInfo(lcStart).noquote() << QStringLiteral("runtime %1 started in standby, process %2, "
                                                "request block %3")
                                     .arg(runtimePath)
                                     .arg(runtimePid)
                                     .arg(nativeText(requestBlock.name()));
    return true;
}

bool RuntimeHandoff::isRuntimeRunning() const
{
    return runtimePid != 0 && platform::isProcessRunning(runtimePid);
}

void RuntimeHandoff::noteReady()
{
    if (!std::exchange(readySeen, true))
        qCInfo(lcStart) << "runtime ready after" << sinceStart.elapsed() << "ms";
}

bool RuntimeHandoff::readStatusWord(std::size_t offset, std::uint32_t &value)
{
    if (!requestBlock.isOpen()) {
        platform::setInvalidArgumentError();
        reportFailure("failed to open file mapping.\n", blockText("request", requestBlock.name()));
        return false;
    }
    const SharedMemoryView view = SharedMemoryView::map(requestBlock, RuntimeRequest::blockSize);
    if (!view.isMapped()) {
        reportFailure("failed to map view of file.\n", blockText("request", requestBlock.name()));
        return false;
    }
    value = RuntimeRequest::loadWord(view.data(), offset);
    return true;
}

bool RuntimeHandoff::isMarkSet(std::size_t offset)
{
    std::uint32_t value = 0;
    return readStatusWord(offset, value) && value != 0;
}

bool RuntimeHandoff::isRuntimeReady()
{
    if (!isMarkSet(RuntimeRequest::readyOffset))
        return false;
    noteReady();
    closeBlockDialog();
    return true;
}

bool RuntimeHandoff::waitForRuntimeReady()
{
    const auto pause = static_cast<unsigned long>(runtimeWaits.readyInterval.count());
    QThread::msleep(pause);
    for (int look = 1; look <= runtimeWaits.readyLooks; ++look) {
        if (isMarkSet(RuntimeRequest::readyOffset)) {
            noteReady();
            closeBlockDialog();
            return true;
        }
        if (look < runtimeWaits.readyLooks)
            QThread::msleep(pause);
    }
    return false;
}

bool RuntimeHandoff::handOverToRuntime(const QString &path, const QString &code, int level)
{
    const std::u16string units = path.toStdU16String();
    const std::uint32_t size = RuntimeRequest::pathBlockBytes(units.size());
    SharedMemoryBlock block = createSharedMemory(size);
    if (!block.isOpen()) {
        reportFailure("failed to create shared memory.\n", QStringLiteral("a new path block"));
        return false;
    }
    pathBlock = std::move(block);
    {
        SharedMemoryView view = SharedMemoryView::map(pathBlock, size);
        if (!view.isMapped()) {
            reportFailure("failed to map view of file.\n", blockText("path", pathBlock.name()));
            pathBlock.close();
            return false;
        }
        unsigned char *bytes = view.data();
        for (std::size_t i = 0; i < units.size(); ++i) {
            bytes[2 * i] = static_cast<unsigned char>(units[i] & 0xFF);
            bytes[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
        }
    }

    RuntimeRequest request;
    request.code = code.toStdU16String();
    request.accessLevel = RuntimeRequest::accessLevelText(level);
    request.pathBlockName = widened(pathBlock.name());
    request.pathBlockSize = 2 * size;
    if (!writeRequestBlock(requestBlock.name(), request)) {
        reportFailure("failed to write data to shared memory.\n",
                      blockText("request", requestBlock.name()));
        return false;
    }
    sinceRequest.start();
    return true;
}

bool RuntimeHandoff::waitForRuntimeAccepted()
{
    const auto pause = static_cast<unsigned long>(runtimeWaits.acceptedInterval.count());
    QThread::msleep(pause);
    for (int look = 1; look <= runtimeWaits.acceptedLooks; ++look) {
        if (isMarkSet(RuntimeRequest::acceptedOffset)) {
            qCInfo(lcHandoff) << "request accepted after" << sinceRequest.elapsed() << "ms";
            return true;
        }
        if (look < runtimeWaits.acceptedLooks)
            QThread::msleep(pause);
    }
    // A runtime that takes the request later would show a file the user is told failed.
    withdrawRequest();
    if (isMarkSet(RuntimeRequest::acceptedOffset))
        return true;
    qCWarning(lcHandoff).noquote()
        << QStringLiteral("the runtime (process %1%2) did not accept the request in block %3 "
                          "within %4 ms; it was withdrawn")
               .arg(runtimePid)
               .arg(isRuntimeRunning() ? QString() : QStringLiteral(", no longer running"))
               .arg(nativeText(requestBlock.name()))
               .arg(sinceRequest.elapsed());
    return false;
}

int RuntimeHandoff::showBlockDialog(QWidget *parent)
{
    if (!blockDialog)
        blockDialog = new DialogBlockUserInteraction(parent);
    return blockDialog->exec();
}

void RuntimeHandoff::closeBlockDialog()
{
    // done(), not close(): the dialog ignores every close event, so the user cannot end it.
    if (blockDialog)
        blockDialog->done(QDialog::Accepted);
}

void RuntimeHandoff::closeSharedMemory()
{
    requestBlock.close();
    pathBlock.close();
}

#include "relaystart.h"

#include "commandline.h"

#include "base/logging.h"
#include "platform/currentprocess.h"
#include "platform/lasterror.h"
#include "platform/relayreport.h"
#include "platform/runtimelauncher.h"

#include <iostream>

RelayStart::RelayStart(const CommandLine &commandLine)
    : commandLine(commandLine)
{}

bool RelayStart::run()
{
    if (!startRelayedRuntime(commandLine.relayArgument(0), commandLine.relayArgument(1)))
        return false;
    reportRelayedProcessId(commandLine.relayArgument(2), commandLine.relayArgument(3));
    return true;
}

bool RelayStart::startRelayedRuntime(const std::string &a1, const std::string &a2)
{
    const std::string folder = platform::folderOf(platform::executablePath());
    if (folder.empty() || !platform::setCurrentFolder(folder)) {
        qCWarning(lcRelay).noquote()
            << QStringLiteral("the program's folder \"%1\" cannot be "
                              "entered: %2")
                   .arg(QString::fromStdString(folder), systemErrorText(platform::lastError()));
        return false;
    }
    const QString runtime = QString::fromStdString(folder + '/' + platform::runtimePathBeside());
    // Unlike the standby start, relay mode knows only the folder beside the program's own.
    if (!platform::fileExists(platform::runtimePathBeside())) {
        qCWarning(lcRelay).noquote() << QStringLiteral("the runtime %1 is not there").arg(runtime);
        return false;
    }
    platform::setCurrentFolder(platform::relayRuntimeFolder());
    if (!platform::startRelayRuntime(a1, a2, &processId)) {
        qCWarning(lcRelay).noquote() << QStringLiteral("the runtime %1 cannot be started: %2")
                                            .arg(runtime, systemErrorText(platform::lastError()));
        return false;
    }
    qCInfo(lcRelay) << "runtime started for the relay, process" << processId;
    return true;
}

void RelayStart::reportRelayedProcessId(const std::string &blockName, const std::string &sizeText)
{
    std::size_t size = 0;
    if (!platform::parseRelayBlockSize(sizeText, size) || size < 4) {
        std::cout << "Process id not reported: the block size \"" << sizeText
                  << "\" is not a whole number from 4 up" << std::endl;
        return;
    }
    if (!platform::reportRelayedProcessId(blockName, sizeText, processId))
        std::cout << "Process id not reported: the block \"" << blockName
                  << "\" cannot be opened with " << size << " bytes" << std::endl;
}

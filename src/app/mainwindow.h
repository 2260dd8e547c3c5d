#pragma once

#include "frame/mainwindowbase.h"

#include <QStringList>

#include <cstdint>
#include <string>

QT_BEGIN_NAMESPACE
class QTimer;
QT_END_NAMESPACE

class CentralWidget;

// The launcher's window. Its constructor is where the command line takes effect: it starts the
// kiosk runtime in standby and opens a controller file named on the command line at once, or,
// in relay mode (five or more arguments), starts the runtime for the calling program and
// reports the new process's id through the caller's block. After the program shows it, it
// waits behind the "Initializing..." dialog until the runtime is ready.
class MainWindow final : public MainWindowBase
{
    Q_OBJECT

public:
    MainWindow(const QStringList &arguments, QWidget *parent);
    ~MainWindow() override;

    // False when the window must not be shown: the runtime could not be started or never got
    // ready, or a controller file of the command line was handed over or failed to launch.
    bool isStartupOk() const { return startupOk; }

    // Polls the runtime's ready mark every 100 ms behind the modal block dialog; returns when
    // the dialog has closed (ready, or given up after 300 polls).
    void waitForKioskRuntime();

    // Relay mode's end: says so when the runtime could not be started.
    void finishRelay();

    CentralWidget *centralWidgetOfWindow() const { return central; }

    // The runtime of relay mode, from the folder beside this program's, with a1 and a2.
    bool startRelayedRuntime(const std::string &a1, const std::string &a2);
    // Writes the relayed runtime's id into the caller's block; a line on standard output says
    // why when it cannot.
    void reportRelayedProcessId(const std::string &blockName, const std::string &sizeText);

    // One poll of waitForKioskRuntime; public so that its limit can be checked directly.
    void pollTick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showUnexpectedError();
    void stopPolling();
    void openFileOfCommandLine(const QString &path);

    CentralWidget *central = nullptr;
    bool startupOk = true;
    bool relayStarted = false;
    bool saveStateOnClose = true;
    std::uint32_t relayedProcessId = 0;
    QTimer *initializationTimer = nullptr;
};

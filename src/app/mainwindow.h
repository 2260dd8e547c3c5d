#pragma once

#include "frame/mainwindowbase.h"

QT_BEGIN_NAMESPACE
class QTimer;
QT_END_NAMESPACE

class CentralWidget;
class CommandLine;

// The launcher's window in an interactive start (relay mode has none). Its constructor is
// where the command line takes effect: it starts the kiosk runtime in standby and opens a
// controller file named on the command line at once. After the program shows it, it waits
// behind the "Initializing..." dialog until the runtime is ready.
class MainWindow final : public MainWindowBase
{
    Q_OBJECT

public:
    // Why an interactive start ended without the window; the values are the program's exit
    // status, so whatever started it (a script, a service manager, a kiosk session) can tell.
    enum class StartFailure {
        None = 0, // no failure: the window was shown, or a file of the command line handed over
        RuntimeNotStarted = 3,
        RuntimeNeverReady = 4,
        LaunchFailed = 5, // the runtime did not take the file of the command line
    };

    MainWindow(const CommandLine &commandLine, QWidget *parent);
    ~MainWindow() override;

    // False when the window must not be shown: the runtime could not be started or never got
    // ready, or a controller file of the command line was handed over or failed to launch.
    bool isStartupOk() const { return startupOk; }
    StartFailure startFailure() const { return failedStart; }

    // The fixed second between building the window and showing it (the splash stays up, the
    // runtime starts). It is spent drawing the window once off screen, so that its first paint
    // on screen finds its fonts, icons and sheets ready.
    void pauseBeforeShowing();
    static constexpr unsigned long fixedPauseMilliseconds = 1000;

    // Polls the runtime's ready mark behind the modal block dialog, as often as the document
    // manager's waits say; returns when the dialog has closed (ready, or given up).
    void waitForKioskRuntime();

    CentralWidget *centralWidgetOfWindow() const { return central; }

    // One poll of waitForKioskRuntime; public so that its limit can be checked directly.
    void pollTick();

    // One look, while the start page is up, whether the standby runtime still runs: an ended
    // runtime is started again once; when that fails, or it ends again, the launcher ends.
    void watchRuntime();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void fail(StartFailure why);
    void showUnexpectedError();
    void stopPolling();
    void openFileOfCommandLine(const QString &path);

    CentralWidget *central = nullptr;
    bool startupOk = true;
    StartFailure failedStart = StartFailure::None;
    bool saveStateOnClose = true;
    QTimer *initializationTimer = nullptr;
    int pollTicks = 0;
    QTimer *runtimeWatch = nullptr;
    bool runtimeRestarted = false;
};

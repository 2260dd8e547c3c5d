// The launcher's own start-up against two Qt Widgets main windows, all measured in this run: a
// bare one, and one with a line of text in the bundled font (the fair baseline: it pays the font
// database's start, as the launcher does).
// - time: building, showing and first painting MainWindow with its start page (it starts the
//   runtime in standby but does not wait for it to be ready; no fixed pause), against the same
//   for the baselines; each in a fresh process, rounds alternating;
// - peak memory: VmHWM of a running qvkiosk against processes showing the baselines.
// Uses the display given, or offscreen without one. Placed beside the runtime's folder, so that
// MainWindow finds ../qvkioskcore/qvkioskcore as the program does.

#include "figures.h"
#include "windowtiming.h"

#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/runapplication.h"
#include "base/qvkioskapplication.h"
#include "base/resourcestrings.h"
#include "documents/documentsmanager.h"
#include "platform/staleblocks.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTranslator>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The launcher's timed run: set up as runApplication does, then the window alone is timed.
int timeLauncherWindow(int argc, char *argv[])
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QVKioskApplication application(argc, argv);
    QTranslator translator;
    installResourceStrings(translator);
    setApplicationIdentity("ID_RESSTR_APPLICATION_QVKIOSK", QStringLiteral("2.0.0.11"));
    const CommandLine arguments(QStringList{QString::fromLocal8Bit(argv[0])});
    const auto build = [&] { return new MainWindow(arguments, nullptr); };
    // Any pause asked for is the launcher's own, spent as the program spends it.
    const int result = pauseArgument(argc, argv) == 0
                           ? timeWindow(build)
                           : timeWindow(build, [](QWidget *window) {
                                 static_cast<MainWindow *>(window)->pauseBeforeShowing();
                             });
    DocumentsManager::instance().closeSharedMemory();
    return result;
}

QProcessEnvironment childEnvironment(const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *folder : {"config", "data", "cache", "runtime", "tmp"})
        QDir(home).mkpath(QLatin1String(folder));
    QFile::setPermissions(home + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    environment.insert(QStringLiteral("TMPDIR"), home + QStringLiteral("/tmp"));
    // The standby runtimes need no window of their own to be measured against.
    environment.insert(QStringLiteral("QVKIOSKCORE_NO_WINDOW"), QStringLiteral("1"));
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM"))
        && environment.value(QStringLiteral("DISPLAY")).isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

struct TimedRun
{
    double milliseconds = 0;
    QStringList size; // width and height, as the window reported them
};

TimedRun timedRun(const QString &program,
                  QStringList arguments,
                  const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    arguments.prepend(QStringLiteral("--window"));
    process.start(program, arguments);
    process.waitForFinished(60000);
    const QByteArray output = process.readAllStandardOutput();
    const qsizetype at = output.indexOf("window-ms ");
    if (process.exitCode() != 0 || at < 0) {
        std::fprintf(stderr,
                     "%s failed: %s\n",
                     qPrintable(program),
                     process.readAllStandardError().constData());
        std::exit(1);
    }
    TimedRun run;
    run.milliseconds = output.mid(at + 10, output.indexOf('\n', at) - at - 10).toDouble();
    const qsizetype sizeAt = output.indexOf("window-size ");
    if (sizeAt >= 0)
        run.size = QString::fromLatin1(output.mid(sizeAt + 12)).simplified().split(QLatin1Char(' '));
    return run;
}

qint64 kilobytesOf(qint64 processId, const char *field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(processId));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Peak resident memory of a program left running until its start-up is long over.
double peakKilobytes(const QString &program,
                     const QStringList &arguments,
                     const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        std::fprintf(stderr, "%s did not start\n", qPrintable(program));
        std::exit(1);
    }
    // The launcher pauses 1 s, shows its window and waits for the runtime to be ready.
    QThread::msleep(4000);
    const qint64 peak = kilobytesOf(process.processId(), "VmHWM:");
    process.terminate();
    process.waitForFinished(10000);
    if (peak < 0) {
        std::fprintf(stderr, "%s ended before it was measured\n", qPrintable(program));
        std::exit(1);
    }
    return double(peak);
}

void printFigures(const char *label, const Figures &figures, int decimals, const char *unit)
{
    std::printf("  %-52s min %8.*f  median %8.*f  max %8.*f %s\n",
                label,
                decimals,
                figures.minimum,
                decimals,
                figures.median,
                decimals,
                figures.maximum,
                unit);
}

void printRatios(const Figures &launcher, const Figures &bare, const Figures &text, double aim)
{
    std::printf("  %-52s %.2fx (aim: %.1fx)\n",
                "ratio of the medians, against the window with text",
                launcher.median / text.median,
                aim);
    std::printf("  %-52s %.2fx\n",
                "ratio of the medians, against the bare window",
                launcher.median / bare.median);
}

int runBenchmark(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QTemporaryDir home;
    const QProcessEnvironment environment = childEnvironment(home.path());
    const QString platform = environment.value(QStringLiteral("QT_QPA_PLATFORM"),
                                               QStringLiteral("xcb on ")
                                                   + environment.value(QStringLiteral("DISPLAY")));
    const QString launcherWindow = QCoreApplication::applicationFilePath();
    const QString bare = QStringLiteral(BAREWINDOW_PATH);
    const QString launcher = QStringLiteral(QVKIOSK_PATH);

    // The baselines take the launcher's size, as its own first run reports it. The bare window
    // draws no text and so never starts the font database, which any window with text pays
    // for; the fair baseline shows one line in the bundled font.
    const TimedRun first = timedRun(launcherWindow, {}, environment);
    const QStringList bareArguments = QStringList{QStringLiteral("--size")} + first.size;
    const QStringList textArguments = bareArguments + QStringList{QStringLiteral("--text")};
    // As the launcher starts: it builds its window (starting the runtime in standby), spends its
    // fixed second drawing it off screen, then shows it; the runtime starts during that second.
    // Without the pause the runtime's start competes with the window's first paint.
    for (const unsigned long pause : {MainWindow::fixedPauseMilliseconds, 0UL}) {
        const QStringList pauseArguments{QStringLiteral("--pause"), QString::number(pause)};
        std::vector<double> bareTimes;
        std::vector<double> textTimes;
        std::vector<double> launcherTimes;
        for (int i = 0; i < rounds; ++i) {
            bareTimes.push_back(
                timedRun(bare, bareArguments + pauseArguments, environment).milliseconds);
            textTimes.push_back(
                timedRun(bare, textArguments + pauseArguments, environment).milliseconds);
            launcherTimes.push_back(
                timedRun(launcherWindow, pauseArguments, environment).milliseconds);
        }
        const Figures bareTime = figuresOf(bareTimes);
        const Figures textTime = figuresOf(textTimes);
        const Figures launcherTime = figuresOf(launcherTimes);
        std::printf("Start-up, %d fresh processes each, rounds alternating, platform %s, windows "
                    "of %s x %s, %s:\n",
                    rounds,
                    qPrintable(platform),
                    qPrintable(first.size.value(0)),
                    qPrintable(first.size.value(1)),
                    pause > 0 ? "building and showing 1 s apart as the launcher does (the pause "
                                "untimed)"
                              : "showing at once after building");
        printFigures("bare QMainWindow built, shown, painted", bareTime, 2, "ms");
        printFigures("QMainWindow with a line of text, the same", textTime, 2, "ms");
        printFigures("MainWindow with its start page, the same", launcherTime, 2, "ms");
        printRatios(launcherTime, bareTime, textTime, 1.2);
    }

    const int memoryRounds = std::max(1, rounds / 3);
    std::vector<double> barePeaks;
    std::vector<double> textPeaks;
    std::vector<double> launcherPeaks;
    for (int i = 0; i < memoryRounds; ++i) {
        barePeaks.push_back(peakKilobytes(bare, bareArguments, environment));
        textPeaks.push_back(peakKilobytes(bare, textArguments, environment));
        launcherPeaks.push_back(peakKilobytes(launcher, {}, environment));
    }
    std::printf("Peak memory (VmHWM) 4 s after start, %d processes each:\n", memoryRounds);
    const Figures barePeak = figuresOf(barePeaks);
    const Figures textPeak = figuresOf(textPeaks);
    const Figures launcherPeak = figuresOf(launcherPeaks);
    printFigures("bare QMainWindow process", barePeak, 0, "KiB");
    printFigures("QMainWindow with a line of text, process", textPeak, 0, "KiB");
    printFigures("qvkiosk (splash, window, runtime ready)", launcherPeak, 0, "KiB");
    printRatios(launcherPeak, barePeak, textPeak, 1.3);

    // The terminated launchers leave their blocks behind, as after any crash.
    platform::removeStaleBlocks();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--window") == 0)
        return timeLauncherWindow(argc, argv);
    return runBenchmark(argc, argv);
}

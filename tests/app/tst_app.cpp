// The launcher's start against the stand-in runtime: the command line, the window's start-up
// poll and runtime watch, closing, the recent-files list the start page saves, the splash.

#include "app/centralwidget.h"
#include "app/commandline.h"
#include "app/initialarea.h"
#include "app/mainwindow.h"
#include "app/runapplication.h"
#include "app/splashscreen.h"
#include "base/resourcestrings.h"
#include "base/settings.h"
#include "dialogs/custommessagebox.h"
#include "documents/documentsmanager.h"
#include "recentfiles/crecentfilesmodel.h"

#include "capturedoutput.h"
#include "modaldialoganswerer.h"
#include "scopedenvironment.h"

#include <QLabel>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <unistd.h>

Q_DECLARE_METATYPE(MainWindow::StartFailure)

namespace {

const QString lobby = QStringLiteral(QVKIOSK_SAMPLES_DIR "/lobby.qvksk");
const QString callerBlock = QStringLiteral("tstAppCaller_%1").arg(getpid());

struct ShowWatch final : QObject
{
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show
            && (watched->inherits("QSplashScreen") || watched->inherits("MainWindowBase")))
            std::printf("shown %s\n", watched->metaObject()->className());
        return false;
    }
};

CommandLine commandLine(const QStringList &extra)
{
    return CommandLine(QStringList{QCoreApplication::applicationFilePath()} + extra);
}

} // namespace

class tst_App final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid() && installResourceStrings(translator));
        startFolder = QDir::currentPath();
        QVERIFY(QFile::copy(lobby, scratch.filePath("lobby.qvksk")));
        QVERIFY(QDir().mkpath(scratch.filePath("sub")));
        qputenv("QVKIOSKCORE_NO_WINDOW", "1");
        RuntimeWaits waits;
        waits.readyInterval = waits.acceptedInterval = waits.runtimeWatchInterval
            = std::chrono::milliseconds(20);
        waits.readyLooks = 50;
        waits.acceptedLooks = 25;
        waits.pollLimit = 100; // 10 s: the "Initializing..." box must outlast a slow start
        DocumentsManager::instance().setRuntimeWaits(waits);
    }

    // Each window starts a standby runtime of its own; the one before is no longer needed.
    void cleanup()
    {
        QDir::setCurrent(startFolder);
        DocumentsManager &manager = DocumentsManager::instance();
        if (const std::uint32_t pid = manager.runtimeHandoff().runtimeProcessId())
            ::kill(pid_t(pid), SIGKILL);
        manager.closeSharedMemory();
        QCOMPARE(pendingModalAnswers(), 0);
    }

    void commandLineStarts()
    {
        using Start = CommandLine::Start;
        const std::pair<QStringList, Start> rows[] = {{{"NONSPLASH"}, Start::File},
                                                      {{"a", "b", "c"}, Start::Plain}}; // ignored
        for (const auto &[args, start] : rows)
            QCOMPARE(std::pair(commandLine(args).start(), commandLine(args).showsSplash()),
                     std::pair(start, true));
    }

    void fileNameIsLeftToTheFileSystem()
    {
        // link -> real/inner, so link/.. is real, where the text alone says the current folder.
        QVERIFY(QDir().mkpath(scratch.filePath("real/inner")));
        QFile file(scratch.filePath("real/a.qvksk"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(scratch.filePath("real/inner"), scratch.filePath("link")));
        QVERIFY(QDir::setCurrent(scratch.path()));
        QCOMPARE(QFileInfo(commandLine({"link/../a.qvksk"}).filePath()).canonicalFilePath(),
                 QFileInfo(file).canonicalFilePath());
        // Any case, after the last dot; a trailing separator names a folder.
        QStringList controllerFiles;
        for (const char *name :
             {"LOBBY.QVKSK", "lobby.v2.qvksk", "a.qvksk.bak", "qvksk", "dir.qvksk/"})
            if (DocumentsManager::isControllerFileName(commandLine({name}).filePath()))
                controllerFiles << name;
        QCOMPARE(controllerFiles, (QStringList{"LOBBY.QVKSK", "lobby.v2.qvksk"}));
    }

    void fileOnTheCommandLine_data()
    {
        QTest::addColumn<QString>("argument"); // relative to the scratch folder
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<QString>("message");
        QTest::addColumn<MainWindow::StartFailure>("failure");
        const auto none = MainWindow::StartFailure::None;
        // clang-format off
        QTest::addRow("no controller file: error 2") << "notes.txt" << QByteArray("QVKIOSKCORE_NONE") << "Failed to open file.\nError code : 2" << none;
        // The standby start moves the current folder; the file is still found.
        QTest::addRow("relative path, code dialog cancelled") << "./sub/../lobby.qvksk" << QByteArray("QVKIOSKCORE_NONE") << "" << none;
        // The program then ends without its window, with the failure as its exit status.
        QTest::addRow("never ready") << "lobby.qvksk" << QByteArray("QVKIOSKCORE_NEVER_READY") << "An unexpected error occurred." << MainWindow::StartFailure::RuntimeNeverReady;
        QTest::addRow("never accepts") << "lobby.qvksk" << QByteArray("QVKIOSKCORE_NEVER_ACCEPT") << "Failed to launch Quorvane Kiosk" << MainWindow::StartFailure::LaunchFailed;
        // clang-format on
    }

    void fileOnTheCommandLine()
    {
        QFETCH(QString, argument);
        QFETCH(QByteArray, fault);
        QFETCH(QString, message);
        QFETCH(MainWindow::StartFailure, failure);
        QVERIFY(QDir::setCurrent(scratch.path()));
        const ScopedEnvironment faulty(fault.constData(), "1");
        ModalDialogAnswerer answerer;
        if (failure != MainWindow::StartFailure::None)
            answerer.code = QStringLiteral("1234");
        ShowWatch watch;
        qApp->installEventFilter(&watch);
        std::optional<MainWindow> window;
        const QByteArray printed = capturedOutput(1, [&] {
            window.emplace(commandLine({argument}), nullptr);
        });
        QCOMPARE(answerer.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(answerer.codeDialogs,
                 int(argument.endsWith(".qvksk")
                     && failure != MainWindow::StartFailure::RuntimeNeverReady));
        QCOMPARE(window->startFailure(), failure);
        QCOMPARE(window->isStartupOk(), failure == MainWindow::StartFailure::None);
        QVERIFY2(!printed.contains("shown"), printed.constData());
        if (!window->isStartupOk() || answerer.codeDialogs == 0)
            return;
        // Closed after a cancelled code dialog, the window keeps no state.
        const QRect stored(40, 50, 700, 500);
        setSettingsValue(QStringLiteral("GeometryMainWindow"), stored);
        window->show();
        window->firstTimeEvent();
        window->move(window->pos() + QPoint(30, 20));
        QVERIFY(window->close());
        QCOMPARE(settingsValue(QStringLiteral("GeometryMainWindow")).toRect(), stored);
    }

    void pollGivesUpOnTheTickPastItsLimitEvenWhenReadyArrivesOnIt()
    {
        const ScopedEnvironment late("QVKIOSKCORE_READY_DELAY_MS", "500");
        MainWindow window(commandLine({}), nullptr);
        QVERIFY(window.isStartupOk());
        ModalDialogAnswerer answerer;
        for (int tick = 1; tick <= DocumentsManager::instance().runtimeWaits().pollLimit; ++tick)
            window.pollTick();
        QVERIFY(window.isStartupOk());
        QCOMPARE(answerer.messages, QStringList());
        // Ready now, and the next tick is the one past the limit.
        QTRY_VERIFY_WITH_TIMEOUT(DocumentsManager::instance().isRuntimeReady(), 10000);
        window.pollTick();
        QCOMPARE(answerer.messages, QStringList{"Failed to initialize application."});
        QCOMPARE(window.startFailure(), MainWindow::StartFailure::RuntimeNeverReady);
    }

    void endedRuntimeIsStartedAgainOnceThenTheLauncherEnds()
    {
        DocumentsManager &manager = DocumentsManager::instance();
        MainWindow window(commandLine({}), nullptr);
        // The fixed second before showing, spent drawing the window off screen, still shows none.
        QElapsedTimer pause;
        pause.start();
        window.pauseBeforeShowing();
        QVERIFY(pause.elapsed() >= 1000 && !window.isVisible());
        QTRY_VERIFY(manager.isRuntimeReady());
        window.pollTick();
        ModalDialogAnswerer answerer;
        const std::uint32_t first = manager.runtimeHandoff().runtimeProcessId();
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("standby runtime \\(process \\d+\\) has ended; "
                                                "starting a new one"));
        QCOMPARE(::kill(pid_t(first), SIGKILL), 0);
        QTRY_VERIFY(manager.runtimeHandoff().isRuntimeRunning()
                    && manager.runtimeHandoff().runtimeProcessId() != first);
        QVERIFY(window.isStartupOk());
        QCOMPARE(answerer.messages, QStringList());
        QCOMPARE(::kill(pid_t(manager.runtimeHandoff().runtimeProcessId()), SIGKILL), 0);
        QTRY_COMPARE(answerer.messages, QStringList{"An unexpected error occurred."});
        QCOMPARE(window.startFailure(), MainWindow::StartFailure::RuntimeNotStarted);
    }

    // Written when nothing was stored yet or a file was used, else left to another copy.
    void recentListIsWrittenOnlyWhenNeeded()
    {
        const QString key = QStringLiteral("RecentlyUsedFiles");
        const bool rows[][3] = {{false, false, true}, {true, false, false}, {true, true, true}};
        for (const auto &[storedBefore, useAFile, written] : rows) {
            settings().remove(key);
            if (storedBefore)
                setSettingsValue(key, QString());
            {
                MainWindowBase frame(nullptr); // without a runtime
                CentralWidget central(&frame);
                if (useAFile)
                    central.initialArea()->recentFilesModel()->addFile(lobby);
                setSettingsValue(key, QStringLiteral("another copy's list"));
            }
            const QString after = settingsValue(key).toString();
            QCOMPARE(after != QStringLiteral("another copy's list"), written);
            QCOMPARE(after.contains(QStringLiteral("lobby.qvksk")), useAFile);
        }
    }

    void splashScreenGivesWayToAModalBox()
    {
        SplashScreen splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        bool splashVisibleUnderTheBox = true;
        answerModalDialog([&](QWidget *modal) {
            splashVisibleUnderTheBox = splash.isVisible();
            static_cast<QDialog *>(modal)->reject();
        });
        CustomMessageBox::showError(nullptr, QStringLiteral("The runtime did not start."), {});
        QVERIFY(!splashVisibleUnderTheBox);
    }

    // The box stays until the runtime is ready; no closing before the first time event.
    void initializingBoxThenCloseAfterTheFirstTimeEvent()
    {
        const ScopedEnvironment late("QVKIOSKCORE_READY_DELAY_MS", "300");
        MainWindow window(commandLine({QStringLiteral("nonSplash")}), nullptr);
        QVERIFY(window.isStartupOk());
        window.show();
        QStringList texts;
        bool readyUnderTheBox = true;
        answerModalDialog([&](QWidget *modal) {
            for (const QLabel *label : modal->findChildren<QLabel *>())
                texts << label->text();
            readyUnderTheBox = DocumentsManager::instance().isRuntimeReady();
        });
        window.waitForKioskRuntime(); // returns once the box has closed
        QVERIFY2(texts.contains(QStringLiteral("Initializing...")), qPrintable(texts.join('|')));
        QVERIFY(!readyUnderTheBox && window.isStartupOk());
        QVERIFY(!window.close() && window.isVisible());
        window.firstTimeEvent();
        QVERIFY(window.close());
    }

    // Run as the program with no runtime beside it: one message, no window, relay block untouched.
    void programWithoutARuntime()
    {
        const QString copy = scratch.filePath(QStringLiteral("bin/tst_app"));
        QVERIFY(QDir().mkpath(scratch.filePath(QStringLiteral("bin"))));
        const QString self = QCoreApplication::applicationFilePath();
        QVERIFY(QFileInfo::exists(copy)
                || ::link(QFile::encodeName(self).constData(), QFile::encodeName(copy).constData())
                       == 0
                || QFile::copy(self, copy));
        const QByteArray error = "message An unexpected error occurred.\n";
        const std::tuple<QStringList, QByteArray, int> rows[]
            = {{{"nonSplash"}, error, int(MainWindow::StartFailure::RuntimeNotStarted)},
               {{"a1", "a2", callerBlock, "4"}, "shown QSplashScreen\n" + error, 0}};
        for (const auto &[arguments, printed, status] : rows) {
            QFile caller(QStringLiteral("/dev/shm/") + callerBlock);
            QVERIFY(caller.open(QIODevice::WriteOnly) && caller.write("\xa5\x5a\xc3\x3c") == 4);
            caller.close();
            QProcess program;
            program.start(copy, QStringList{QStringLiteral("--run-application")} + arguments);
            QVERIFY(program.waitForFinished(20000));
            QCOMPARE(std::pair(program.readAllStandardOutput(), program.exitCode()),
                     std::pair(printed, status));
            QVERIFY(caller.open(QIODevice::ReadOnly));
            QCOMPARE(caller.readAll(), QByteArray("\xa5\x5a\xc3\x3c"));
            QVERIFY(caller.remove());
        }
    }

private:
    QTemporaryDir scratch;
    QString startFolder;
    QTranslator translator;
};

// --run-application <arguments>: the program, each message box answered with OK and printed
// as "message <text>", each window shown as "shown <class>"; ends with the program's status.
int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--run-application") == 0) {
        std::swap(argv[0], argv[1]);
        static ModalDialogAnswerer *answerer = nullptr;
        // Inside the application object's construction, before any window.
        qAddPreRoutine([] {
            qApp->installEventFilter(new ShowWatch(qApp));
            answerer = new ModalDialogAnswerer;
        });
        const int status = runApplication(argc - 1, argv + 1, "ID_RESSTR_APPLICATION_QVKIOSK");
        for (const QString &message : answerer->messages)
            std::printf("message %s\n", message.toUtf8().constData());
        return status;
    }
    QApplication application(argc, argv);
    tst_App test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app.moc"

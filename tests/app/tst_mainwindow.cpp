// The launcher's window against the stand-in runtime: what each command line does, the start-up
// poll, closing, the recent-files list the start page saves, the splash screen.

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

#include "helpermode.h"
#include "modaldialoganswerer.h"
#include "scopedenvironment.h"

#include <QtTest>

#include <QLabel>
#include <QTemporaryDir>
#include <QTranslator>

#include <csignal>
#include <unistd.h>

Q_DECLARE_METATYPE(MainWindow::StartFailure)

namespace {

const QString lobby = QStringLiteral(QVKIOSK_SAMPLES_DIR "/lobby.qvksk");
const QString callerBlock = QStringLiteral("tstMainWindowCaller_%1").arg(getpid());

// Counts, while it lives, the show events of main windows, even one still being constructed.
class MainWindowShows final : public QObject
{
public:
    MainWindowShows() { qApp->installEventFilter(this); }
    ~MainWindowShows() override { qApp->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->inherits("MainWindowBase"))
            ++count;
        return false;
    }
};

// A bare frame around the central widget, without a runtime.
class Host final : public MainWindowBase
{
public:
    Host()
        : MainWindowBase(nullptr)
        , central(new CentralWidget(this))
    {
        installCentralWidget(central);
    }
    CentralWidget *central;
};

CommandLine commandLine(const QStringList &extra)
{
    return CommandLine(QStringList{QCoreApplication::applicationFilePath()} + extra);
}

} // namespace

class tst_MainWindow final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void argumentThatIsNoControllerFileShowsErrorTwo();
    void relativePathStillNamesTheFileAfterTheStandbyStart();
    void cancelledCodeDialogOpensTheWindowAndSavesNoStateOnClose();
    void closeIsRefusedBeforeTheFirstTimeEvent();
    void pollGivesUpOnThe301stTickEvenWhenReadyArrivesOnIt();
    void commandLineFileThatTheRuntimeDoesNotTake_data();
    void commandLineFileThatTheRuntimeDoesNotTake();
    void recentListIsWrittenOnlyWhenNeeded_data();
    void recentListIsWrittenOnlyWhenNeeded();
    void splashScreenGivesWayToAModalBox();
    void initializingBoxStaysUntilTheRuntimeIsReady();
    void programWithoutARuntime_data();
    void programWithoutARuntime();

private:
    void forgetRuntime();

    QTemporaryDir scratch;
    QString startFolder;
    QTranslator translator;
};

void tst_MainWindow::initTestCase()
{
    QVERIFY(scratch.isValid());
    QVERIFY(installResourceStrings(translator));
    startFolder = QDir::currentPath();
    qputenv("QVKIOSKCORE_NO_WINDOW", "1");
    qputenv("QVKIOSKCORE_RECORD", QFile::encodeName(scratch.filePath("record.jsonl")));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane Kiosk"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0.0.11"));
    RuntimeWaits waits;
    waits.readyInterval = std::chrono::milliseconds(20);
    waits.readyLooks = 50;
    waits.acceptedInterval = std::chrono::milliseconds(20);
    waits.acceptedLooks = 25;
    waits.pollLimit = 100; // 10 s: the "Initializing..." box must outlast a slow start
    DocumentsManager::instance().setRuntimeWaits(waits);
}

void tst_MainWindow::cleanup()
{
    QDir::setCurrent(startFolder);
    forgetRuntime();
    QCOMPARE(pendingModalAnswers(), 0);
}

void tst_MainWindow::cleanupTestCase()
{
    forgetRuntime();
}

// Each window starts a standby runtime of its own; the one before is no longer needed.
void tst_MainWindow::forgetRuntime()
{
    DocumentsManager &manager = DocumentsManager::instance();
    if (const std::uint32_t pid = manager.runtimeHandoff().runtimeProcessId())
        ::kill(pid_t(pid), SIGKILL);
    manager.closeSharedMemory();
}

void tst_MainWindow::argumentThatIsNoControllerFileShowsErrorTwo()
{
    ModalDialogAnswerer answerer;
    MainWindow window(commandLine({scratch.filePath("notes.txt")}), nullptr);
    QCOMPARE(answerer.messages, QStringList{"Failed to open file.\nError code : 2"});
    QVERIFY(window.isStartupOk());
}

void tst_MainWindow::relativePathStillNamesTheFileAfterTheStandbyStart()
{
    QVERIFY(QFile::copy(lobby, scratch.filePath("relative.qvksk")));
    QVERIFY(QDir().mkpath(scratch.filePath("sub")));
    QVERIFY(QDir::setCurrent(scratch.path()));
    ModalDialogAnswerer answerer;
    MainWindow window(commandLine({QStringLiteral("./sub/../relative.qvksk")}), nullptr);
    // The standby start moved the current folder; the file was still found.
    QVERIFY(QDir::currentPath() != QDir(scratch.path()).canonicalPath());
    QCOMPARE(answerer.messages, QStringList());
    QCOMPARE(answerer.codeDialogs, 1);
}

void tst_MainWindow::cancelledCodeDialogOpensTheWindowAndSavesNoStateOnClose()
{
    ModalDialogAnswerer answerer; // cancels the code dialog
    MainWindow window(commandLine({lobby}), nullptr);
    QVERIFY(window.isStartupOk());
    QCOMPARE(answerer.codeDialogs, 1);

    const QRect stored(40, 50, 700, 500);
    setSettingsValue(QStringLiteral("GeometryMainWindow"), stored);
    window.show();
    window.firstTimeEvent();
    window.move(window.pos() + QPoint(30, 20));
    QVERIFY(window.close());
    QCOMPARE(settingsValue(QStringLiteral("GeometryMainWindow")).toRect(), stored);
}

void tst_MainWindow::closeIsRefusedBeforeTheFirstTimeEvent()
{
    MainWindow window(commandLine({QStringLiteral("nonSplash")}), nullptr);
    QVERIFY(window.isStartupOk());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    window.firstTimeEvent();
    QVERIFY(window.close());
}

void tst_MainWindow::pollGivesUpOnThe301stTickEvenWhenReadyArrivesOnIt()
{
    const ScopedEnvironment late("QVKIOSKCORE_READY_DELAY_MS", "500");
    MainWindow window(commandLine({}), nullptr);
    QVERIFY(window.isStartupOk());
    ModalDialogAnswerer answerer;
    const int limit = DocumentsManager::instance().runtimeWaits().pollLimit;
    for (int tick = 1; tick <= limit; ++tick)
        window.pollTick();
    QVERIFY(window.isStartupOk());
    QCOMPARE(answerer.messages, QStringList());
    // Ready now, and the next tick is the one past the limit.
    QTRY_VERIFY_WITH_TIMEOUT(DocumentsManager::instance().isRuntimeReady(), 10000);
    window.pollTick();
    QCOMPARE(answerer.messages, QStringList{"Failed to initialize application."});
    QVERIFY(!window.isStartupOk());
    QCOMPARE(window.startFailure(), MainWindow::StartFailure::RuntimeNeverReady);
}

void tst_MainWindow::commandLineFileThatTheRuntimeDoesNotTake_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<MainWindow::StartFailure>("failure");
    QTest::addRow("never ready") << QByteArray("QVKIOSKCORE_NEVER_READY")
                                 << "An unexpected error occurred."
                                 << MainWindow::StartFailure::RuntimeNeverReady;
    QTest::addRow("never accepts")
        << QByteArray("QVKIOSKCORE_NEVER_ACCEPT") << "Failed to launch Quorvane Kiosk"
        << MainWindow::StartFailure::LaunchFailed;
}

// The program then ends without its window, with the failure as its exit status.
void tst_MainWindow::commandLineFileThatTheRuntimeDoesNotTake()
{
    QFETCH(QByteArray, fault);
    QFETCH(QString, message);
    QFETCH(MainWindow::StartFailure, failure);
    const ScopedEnvironment never(fault.constData(), "1");
    ModalDialogAnswerer answerer;
    answerer.acceptCode(AccessLevel::Administrator, QStringLiteral("1234"));
    MainWindowShows shows;
    MainWindow window(commandLine({lobby}), nullptr);
    QCOMPARE(answerer.messages, QStringList{message});
    QVERIFY(!window.isStartupOk());
    QCOMPARE(window.startFailure(), failure);
    QCOMPARE(shows.count, 0);
}

void tst_MainWindow::recentListIsWrittenOnlyWhenNeeded_data()
{
    QTest::addColumn<bool>("storedBefore");
    QTest::addColumn<bool>("useAFile");
    QTest::addColumn<bool>("written");
    QTest::addRow("nothing stored yet: written") << false << false << true;
    QTest::addRow("stored, unchanged: left alone") << true << false << false;
    QTest::addRow("stored, a file used: written") << true << true << true;
}

void tst_MainWindow::recentListIsWrittenOnlyWhenNeeded()
{
    QFETCH(bool, storedBefore);
    QFETCH(bool, useAFile);
    QFETCH(bool, written);
    const QString key = QStringLiteral("RecentlyUsedFiles");
    settings().remove(key);
    if (storedBefore)
        setSettingsValue(key, QString());
    {
        Host host;
        if (useAFile)
            host.central->initialArea()->recentFilesModel()->addFile(lobby);
        // Meanwhile another copy of the program saves its list.
        setSettingsValue(key, QStringLiteral("another copy's list"));
    }
    const QString after = settingsValue(key).toString();
    QCOMPARE(after != QStringLiteral("another copy's list"), written);
    QCOMPARE(after.contains(QStringLiteral("lobby.qvksk")), useAFile);
}

void tst_MainWindow::splashScreenGivesWayToAModalBox()
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

void tst_MainWindow::initializingBoxStaysUntilTheRuntimeIsReady()
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
    QVERIFY(!readyUnderTheBox);
    QVERIFY(window.isStartupOk());
}

void tst_MainWindow::programWithoutARuntime_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("printed");
    QTest::addColumn<int>("status");
    const QByteArray error = "message An unexpected error occurred.\n";
    const QByteArray splash = "shown QSplashScreen\n";
    const auto notStarted = int(MainWindow::StartFailure::RuntimeNotStarted);
    QTest::addRow("plain: splash") << QStringList() << splash + error << notStarted;
    QTest::addRow("nonSplash: none") << QStringList{"nonSplash"} << error << notStarted;
    QTest::addRow("relay") << QStringList{"a1", "a2", callerBlock, "4"} << splash + error << 0;
}

// A copy of this executable with no runtime's folder beside its own runs as the program: it
// says so once and ends without its window, the caller's block of relay mode untouched.
void tst_MainWindow::programWithoutARuntime()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, printed);
    QFETCH(int, status);
    const QString copy = scratch.filePath(QStringLiteral("bin/tst_mainwindow"));
    QVERIFY(QDir().mkpath(scratch.filePath(QStringLiteral("bin"))));
    const QString self = QCoreApplication::applicationFilePath();
    QVERIFY(QFileInfo::exists(copy)
            || ::link(QFile::encodeName(self).constData(), QFile::encodeName(copy).constData()) == 0
            || QFile::copy(self, copy));
    QFile caller(QStringLiteral("/dev/shm/") + callerBlock);
    QVERIFY(caller.open(QIODevice::WriteOnly | QIODevice::Truncate));
    caller.write("\xa5\x5a\xc3\x3c");
    caller.close();

    QProcess program;
    program.start(copy, QStringList{QStringLiteral("--run-application")} + arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.readAllStandardOutput(), printed);
    QCOMPARE(program.exitCode(), status);
    QVERIFY(caller.open(QIODevice::ReadOnly));
    QCOMPARE(caller.readAll(), QByteArray("\xa5\x5a\xc3\x3c"));
    QVERIFY(caller.remove());
}

int main(int argc, char *argv[])
{
    const int helper = runAsHelperIfAsked(argc, argv);
    if (helper >= 0)
        return helper;
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    tst_MainWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"

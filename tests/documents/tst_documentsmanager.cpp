// The document manager against the built stand-in runtime, which it starts itself from
// ../qvkioskcore beside this test's folder and steers through the runtime's environment
// variables; what the runtime took is read back from its record file.

#include "documents/controllerfacade.h"
#include "documents/dialogblockuserinteraction.h"
#include "documents/documentsmanager.h"

#include "base/iglobalobserver.h"
#include "platform/blockname.h"
#include "platform/currentprocess.h"
#include "platform/localtime.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryblock.h"
#include "platform/sharedmemoryview.h"

#include "documentstestsupport.h"

#include <QtTest>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTranslator>

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <set>
#include <sys/mman.h>
#include <unistd.h>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;

namespace {

const QString samples = QStringLiteral(QVKIOSK_SAMPLES_DIR);
const QString failedToLaunch = QStringLiteral("Failed to launch Quorvane Kiosk");

QString sample(const QString &name)
{
    return samples + "/" + name;
}

// Records what the facade broadcasts, and whether the runtime had a request at that moment.
class Observer final : public IGlobalObserver
{
public:
    explicit Observer(DocumentsManager &manager)
        : manager(manager)
    {
        ControllerFacade::instance().addObserver(this);
    }
    ~Observer() override { ControllerFacade::instance().removeObserver(this); }

    void changedFilePath() override
    {
        ++changes;
        const SharedMemoryBlock block = SharedMemoryBlock::openExisting(
            manager.runtimeHandoff().requestBlockName());
        const platform::SharedMemoryView view = platform::SharedMemoryView::map(block, 260);
        requestWrittenAtChange = view.isMapped()
                                 && !RuntimeRequest::decode(view.data()).pathBlockName.empty();
    }
    void requestToMinimize() override {}
    void requestToMaximize() override {}
    void requestToClose() override { ++closeRequests; }

    DocumentsManager &manager;
    int changes = 0;
    int closeRequests = 0;
    bool requestWrittenAtChange = false;
};

} // namespace

class tst_DocumentsManager final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void refusals_data();
    void refusals();
    void handOver_data();
    void handOver();
    void noSecondOpen();
    void runtimeFaults_data();
    void runtimeFaults();
    void lateAcceptNeverCountsForTheNextRequest();
    void neverReady();

    void pathBlockNamesAreFresh();
    void requestIsNeverSeenHalfWritten();
    void looksAndWritesUseTheHeldBlock();
    void standbyStartRemovesLeftoverBlocks();
    void blockDialogOutlivesItsParent();
    void controllerFileNames_data();
    void controllerFileNames();

private:
    // A manager whose runtime has started and reported ready.
    std::unique_ptr<DocumentsManager> startedManager();
    QList<QJsonObject> records() const;

    QTranslator translator;
    QTemporaryDir folder;
    QString recordFile;
    std::vector<qint64> runtimes;
    std::unique_ptr<ScopedEnvironment> recordEnvironment;
};

void tst_DocumentsManager::initTestCase()
{
    QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
    QCoreApplication::installTranslator(&translator);
    qputenv("QVKIOSKCORE_NO_WINDOW", "1");
    QVERIFY(folder.isValid());
}

void tst_DocumentsManager::init()
{
    recordFile = folder.filePath(QString("record-%1.jsonl").arg(QTest::currentTestFunction()));
    QFile::remove(recordFile);
    recordEnvironment = std::make_unique<ScopedEnvironment>("QVKIOSKCORE_RECORD",
                                                            QFile::encodeName(recordFile));
}

void tst_DocumentsManager::cleanup()
{
    recordEnvironment.reset();
    for (const qint64 pid : runtimes)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    runtimes.clear();
    ControllerFacade::instance().setFilePath({});
}

std::unique_ptr<DocumentsManager> tst_DocumentsManager::startedManager()
{
    auto manager = std::make_unique<DocumentsManager>();
    if (!manager->startRuntimeInStandby())
        return nullptr;
    runtimes.push_back(manager->runtimeHandoff().runtimeProcessId());
    if (!manager->waitForRuntimeReady())
        return nullptr;
    return manager;
}

QList<QJsonObject> tst_DocumentsManager::records() const
{
    QList<QJsonObject> list;
    QFile file(recordFile);
    if (!file.open(QIODevice::ReadOnly))
        return list;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            list << QJsonDocument::fromJson(line).object();
    }
    return list;
}

void tst_DocumentsManager::refusals_data()
{
    QTest::addColumn<QString>("file"); // empty: chosen in the file dialog, which is cancelled
    QTest::addColumn<int>("level");    // 0: the code dialog is cancelled
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<QByteArray>("versionLine");

    const int admin = int(AccessLevel::Administrator);
    const int powerUser = int(AccessLevel::PowerUser);
    const QByteArray noVersion;
    // clang-format off
    QTest::addRow("file in use") << sample("lobby.qvksk") << admin << "1234" << "Cannot open, file already in use" << noVersion;
    QTest::addRow("unreadable: status 5") << folder.filePath("folder.qvksk") << admin << "1234" << "Failed to open file.\nError code : 5" << noVersion;
    QTest::addRow("not a kiosk file") << sample("otherformat.qvksk") << admin << "" << "Cannot open, this file is not supported." << noVersion;
    QTest::addRow("newer version") << sample("newer.qvksk") << admin << "1234"
        << "newer.qvksk created using a newer version of Quorvane Control PLUS.\nPlease download and install the latest version to open this file."
        << QByteArray("VERSION: 4\n");
    QTest::addRow("version 0: silent") << sample("versionzero.qvksk") << admin << "" << "" << QByteArray("VERSION: 0\n");
    QTest::addRow("wrong code, Power User permitted") << sample("lobby.qvksk") << powerUser << "9999" << "Failed to authenticate" << QByteArray("VERSION: 3\n");
    QTest::addRow("wrong code, Administrator only") << sample("adminonly.qvksk") << admin << "0000" << "Administrator Code is required." << QByteArray("VERSION: 3\n");
    QTest::addRow("code dialog cancelled") << sample("lobby.qvksk") << 0 << "" << "" << QByteArray("VERSION: 3\n");
    QTest::addRow("file dialog cancelled") << QString() << admin << "" << "" << noVersion;
    // clang-format on
}

// Refusals come before the hand-over: no runtime is needed.
void tst_DocumentsManager::refusals()
{
    QFETCH(QString, file);
    QFETCH(int, level);
    QFETCH(QString, code);
    QFETCH(QString, message);
    QFETCH(QByteArray, versionLine);

    QVERIFY(QDir().mkpath(folder.filePath("folder.qvksk")));
    DocumentsManager manager;
    std::unique_ptr<LockHolder> copy;
    if (message.contains("in use")) {
        copy = std::make_unique<LockHolder>(file);
        QVERIFY(copy->isHolding());
        // A lock this process still holds from before must not stand in for the new one.
        QVERIFY(manager.acquireFileLock(sample("open.qvksk")));
    }
    DialogAnswerer answerer;
    if (level != 0)
        answerer.acceptCode(AccessLevel(level), code);
    else
        answerer.cancelCode();
    Observer observer(manager);
    StdoutCapture output;

    bool launchFailed = false;
    const bool opened = manager.openControllerFile(nullptr, launchFailed, file, false);
    const QByteArray printed = output.take();
    QVERIFY(!opened);
    QVERIFY(!launchFailed);
    QCOMPARE(answerer.messages, message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(answerer.messageTitles, QStringList{"Error"});
    QCOMPARE(answerer.fileDialogFolders.size(), file.isEmpty() ? 1 : 0);
    // QtTest prints its warnings to standard output as well.
    QByteArray versionLines;
    for (const QByteArray &line : printed.split('\n')) {
        if (line.startsWith("VERSION"))
            versionLines += line + '\n';
    }
    QCOMPARE(versionLines, versionLine);
    QCOMPARE(observer.changes, 0);
    QCOMPARE(manager.lockName(), QString());
    const QStringList locks = QDir(DocumentsManager::lockBasePath())
                                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(locks, copy ? QStringList{copy->lockName()} : QStringList());
}

void tst_DocumentsManager::handOver_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("levelText");

    QTest::addRow("Administrator, blanks and non-ASCII in the path")
        << QStringLiteral("Hall ä 東京/Lobby Ω 🚪.qvksk") << int(AccessLevel::Administrator)
        << "1234"
        << "Administrator";
    QTest::addRow("Power User") << QStringLiteral("lobby.qvksk") << int(AccessLevel::PowerUser)
                                << "0000"
                                << "Power User";
}

void tst_DocumentsManager::handOver()
{
    QFETCH(QString, file);
    QFETCH(int, level);
    QFETCH(QString, code);
    QFETCH(QString, levelText);

    const QString path = folder.filePath(file);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile::remove(path);
    QVERIFY(QFile::copy(sample("lobby.qvksk"), path));
    const std::unique_ptr<DocumentsManager> manager = startedManager();
    QVERIFY(manager);
    DialogAnswerer answerer;
    answerer.acceptCode(AccessLevel(level), code);
    Observer observer(*manager);

    bool launchFailed = false;
    QVERIFY(manager->openControllerFile(nullptr, launchFailed, path, false));
    QVERIFY(!launchFailed);
    QCOMPARE(answerer.messages, QStringList());
    QCOMPARE(observer.changes, 1);
    QVERIFY2(!observer.requestWrittenAtChange,
             "the file joins the recent list before the hand-over");
    QCOMPARE(observer.closeRequests, 0);
    QCOMPARE(ControllerFacade::instance().filePath(), path.toStdU16String());
    QCOMPARE(manager->lockName(), QString());

    const QList<QJsonObject> taken = records();
    QCOMPARE(taken.size(), 1);
    QCOMPARE(taken[0]["code"].toString(), code);
    QCOMPARE(taken[0]["level"].toString(), levelText);
    QCOMPARE(taken[0]["path"].toString(), path);
    QCOMPARE(taken[0]["pathBlockName"].toString(),
             QString::fromStdString(manager->runtimeHandoff().pathBlockName()));
}

void tst_DocumentsManager::noSecondOpen()
{
    const std::unique_ptr<DocumentsManager> manager = startedManager();
    QVERIFY(manager);
    DialogAnswerer answerer;
    answerer.acceptCode(AccessLevel::Administrator, "1234");
    int nestedOpens = 0;
    bool nestedResult = true;
    answerer.whileCodeDialogShows = [&] {
        // A queued click reaching the manager while its code dialog runs.
        if (nestedOpens++ > 0)
            return;
        bool launchFailed = false;
        nestedResult = manager->openControllerFile(nullptr,
                                                   launchFailed,
                                                   sample("open.qvksk"),
                                                   false);
    };

    bool launchFailed = false;
    QVERIFY(manager->openControllerFile(nullptr, launchFailed, sample("lobby.qvksk"), false));
    QCOMPARE(nestedOpens, 1);
    QVERIFY(!nestedResult);
    QCOMPARE(answerer.codeDialogs, 1);

    // Once the runtime has a file, nothing more is opened in this run.
    QVERIFY(!manager->openControllerFile(nullptr, launchFailed, sample("open.qvksk"), false));
    QCOMPARE(answerer.codeDialogs, 1);
    QCOMPARE(answerer.messages, QStringList());
    QCOMPARE(records().size(), 1);
}

void tst_DocumentsManager::runtimeFaults_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("atStartUp");
    QTest::addColumn<bool>("accepted");

    // The manager looks 50 times, 100 ms apart, after a first 100 ms.
    QTest::addRow("accepted after 3 s")
        << QByteArray("QVKIOSKCORE_ACCEPT_DELAY_MS") << QByteArray("3000") << false << true;
    QTest::addRow("accepted after 8 s")
        << QByteArray("QVKIOSKCORE_ACCEPT_DELAY_MS") << QByteArray("8000") << false << false;
    QTest::addRow("never accepted, at start-up")
        << QByteArray("QVKIOSKCORE_NEVER_ACCEPT") << QByteArray("1") << true << false;
    QTest::addRow("crash after ready")
        << QByteArray("QVKIOSKCORE_CRASH_AFTER_READY") << QByteArray("1") << false << false;
}

void tst_DocumentsManager::runtimeFaults()
{
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, value);
    QFETCH(bool, atStartUp);
    QFETCH(bool, accepted);

    std::unique_ptr<DocumentsManager> manager;
    {
        const ScopedEnvironment fault(variable.constData(), value);
        manager = startedManager();
    }
    QVERIFY(manager);
    DialogAnswerer answerer;
    answerer.acceptCode(AccessLevel::Administrator, "1234");
    Observer observer(*manager);

    bool launchFailed = false;
    QCOMPARE(manager->openControllerFile(nullptr, launchFailed, sample("lobby.qvksk"), atStartUp),
             accepted);
    QCOMPARE(launchFailed, !accepted);
    QCOMPARE(answerer.messages, accepted ? QStringList() : QStringList{failedToLaunch});
    QCOMPARE(observer.closeRequests, !accepted && !atStartUp ? 1 : 0);
    QCOMPARE(observer.changes, 1);
    QCOMPARE(manager->lockName(), QString());
}

void tst_DocumentsManager::lateAcceptNeverCountsForTheNextRequest()
{
    std::unique_ptr<DocumentsManager> manager;
    {
        const ScopedEnvironment late("QVKIOSKCORE_ACCEPT_DELAY_MS", "8000");
        manager = startedManager();
    }
    QVERIFY(manager);
    DialogAnswerer answerer;
    answerer.acceptCode(AccessLevel::Administrator, "1234");
    bool launchFailed = false;
    QVERIFY(!manager->openControllerFile(nullptr, launchFailed, sample("lobby.qvksk"), true));

    // The first request's accept comes due while the manager waits for the second one.
    answerer.acceptCode(AccessLevel::Administrator, "");
    if (manager->openControllerFile(nullptr, launchFailed, sample("open.qvksk"), true)) {
        const QList<QJsonObject> taken = records();
        QVERIFY(!taken.isEmpty());
        QCOMPARE(taken.last()["pathBlockName"].toString(),
                 QString::fromStdString(manager->runtimeHandoff().pathBlockName()));
    }
}

void tst_DocumentsManager::neverReady()
{
    if (qgetenv("QVKIOSK_SLOW_TESTS") != "1")
        QSKIP("takes about 30 s; run with QVKIOSK_SLOW_TESTS=1 (ctest label slow)");
    const ScopedEnvironment fault("QVKIOSKCORE_NEVER_READY", "1");
    DocumentsManager manager;
    QVERIFY(manager.startRuntimeInStandby());
    runtimes.push_back(manager.runtimeHandoff().runtimeProcessId());
    QVERIFY(!manager.waitForRuntimeReady());
    QVERIFY(!manager.isRuntimeReady());
}

void tst_DocumentsManager::pathBlockNamesAreFresh()
{
    const std::unique_ptr<DocumentsManager> manager = startedManager();
    QVERIFY(manager);
    RuntimeHandoff &handoff = manager->runtimeHandoff();
    // Blocks that already sit on the names this process will draw in the next seconds.
    std::vector<SharedMemoryBlock> squatters;
    std::set<std::string> taken{handoff.requestBlockName()};
    std::tm now = {};
    QVERIFY(platform::localTimeNow(now));
    for (int second = 0; second < 5; ++second) {
        std::tm moment = now;
        moment.tm_sec += second;
        std::mktime(&moment);
        const std::string base = platform::makeBlockName(moment, platform::currentProcessId());
        for (int sequence = 1; sequence <= 4; ++sequence) {
            const std::string name = sequence == 1 ? base : base + "_" + std::to_string(sequence);
            SharedMemoryBlock block = SharedMemoryBlock::createOrOpen(name, 4096);
            if (block.isOpen() && !block.existed()) {
                taken.insert(name);
                squatters.push_back(std::move(block));
            }
        }
    }

    for (int handoffs = 1; handoffs <= 3; ++handoffs) {
        const QString path = QString("/srv/kiosk/panel %1.qvksk").arg(handoffs);
        QVERIFY(manager->handOverToRuntime(path, "1234", 1));
        const std::string name = handoff.pathBlockName();
        QVERIFY2(taken.insert(name).second, name.c_str());
        QVERIFY(manager->waitForRuntimeAccepted());
        QCOMPARE(records().last()["path"].toString(), path);
    }
}

// Whatever moment the runtime looks, it finds no request or the whole new one.
void tst_DocumentsManager::requestIsNeverSeenHalfWritten()
{
    // An earlier request, taken and accepted, still fills the block.
    RuntimeRequest earlier;
    earlier.code = u"0000";
    earlier.accessLevel = u"Power User";
    earlier.pathBlockName = u"quorvaneKiosk_20260105143000_4242_2";
    earlier.pathBlockSize = 400;
    earlier.ready = 1;
    earlier.accepted = 1;
    unsigned char block[RuntimeRequest::blockSize];
    QVERIFY(earlier.encode(block));
    RuntimeRequest request;
    request.code = u"1234";
    request.accessLevel = u"Administrator";
    request.pathBlockName = u"quorvaneKiosk_20260105143001_4242_3";
    request.pathBlockSize = 40;
    unsigned char encoded[RuntimeRequest::blockSize];
    QVERIFY(request.encode(encoded));

    // A look may come between any two bytes, except within the aligned 16-bit store of the
    // name's first unit.
    const auto seenWhole = [&] {
        const bool noRequest = block[RuntimeRequest::pathBlockNameOffset] == 0
                               && block[RuntimeRequest::pathBlockNameOffset + 1] == 0;
        return noRequest || std::memcmp(block, encoded, sizeof block) == 0;
    };
    RuntimeHandoff::storeRequest(
        encoded, [&](std::size_t offset, const unsigned char *bytes, std::size_t count) {
            QVERIFY(offset + count <= sizeof block);
            if (offset == RuntimeRequest::pathBlockNameOffset && count == 2) {
                std::memcpy(block + offset, bytes, 2);
                QVERIFY2(seenWhole(), "after the name's first unit");
                return;
            }
            for (std::size_t i = 0; i < count; ++i) {
                block[offset + i] = bytes[i];
                QVERIFY2(seenWhole(), qPrintable(QString("after byte %1").arg(offset + i)));
            }
        });
    QCOMPARE(QByteArray(reinterpret_cast<char *>(block), sizeof block),
             QByteArray(reinterpret_cast<char *>(encoded), sizeof encoded));
}

void tst_DocumentsManager::looksAndWritesUseTheHeldBlock()
{
    const std::unique_ptr<DocumentsManager> manager = startedManager();
    QVERIFY(manager);
    const std::string name = manager->runtimeHandoff().requestBlockName();
    // The name is gone, the block this process and the runtime hold is not.
    QCOMPARE(shm_unlink(("/" + name).c_str()), 0);
    QVERIFY(manager->handOverToRuntime("/srv/kiosk/Lobby.qvksk", "1234", 1));
    QVERIFY(manager->waitForRuntimeAccepted());
    QVERIFY(manager->isRuntimeReady());

    manager->closeSharedMemory();
    StdoutCapture output;
    const bool ready = manager->isRuntimeReady();
    const bool handedOver = manager->handOverToRuntime("/srv/kiosk/Lobby.qvksk", "1234", 1);
    const QByteArray printed = output.take();
    QVERIFY(!ready);
    QVERIFY(!handedOver);
    QCOMPARE(printed,
             QByteArray(
                 "failed to open file mapping.\n22\nfailed to write data to shared memory.\n22\n"));
    QVERIFY(!SharedMemoryBlock::openExisting(name).isOpen());
}

void tst_DocumentsManager::standbyStartRemovesLeftoverBlocks()
{
    std::tm now = {};
    QVERIFY(platform::localTimeNow(now));
    const std::string leftover = platform::makeBlockName(now, std::uint32_t(endedProcessId()));
    // Left behind as by a front-end that ended without closing it.
    const int fd = shm_open(("/" + leftover).c_str(), O_CREAT | O_RDWR, 0600);
    QVERIFY(fd >= 0);
    ::close(fd);
    QVERIFY(SharedMemoryBlock::openExisting(leftover).isOpen());
    QVERIFY(startedManager());
    QVERIFY(!SharedMemoryBlock::openExisting(leftover).isOpen());
}

void tst_DocumentsManager::blockDialogOutlivesItsParent()
{
    DocumentsManager manager;
    for (int round = 0; round < 2; ++round) {
        auto parent = std::make_unique<QWidget>();
        QWidget *shownParent = nullptr;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(
                qobject_cast<DialogBlockUserInteraction *>(QApplication::activeModalWidget()));
            shownParent = QApplication::activeModalWidget()->parentWidget();
            manager.closeBlockDialog();
        });
        manager.showBlockDialog(parent.get());
        QCOMPARE(shownParent, parent.get());
    }
    manager.closeBlockDialog();
}

void tst_DocumentsManager::controllerFileNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("controllerFile");
    QTest::addRow("lower case") << "/srv/kiosk/Lobby.qvksk" << true;
    QTest::addRow("capitals") << "C:/Kiosk/LOBBY.QVKSK" << true;
    QTest::addRow("further suffix") << "/srv/kiosk/Lobby.qvksk.bak" << false;
    QTest::addRow("the suffix alone, no dot") << "/srv/kiosk/qvksk" << false;
}

void tst_DocumentsManager::controllerFileNames()
{
    QFETCH(QString, path);
    QFETCH(bool, controllerFile);
    QCOMPARE(DocumentsManager::isControllerFileName(path), controllerFile);
}

int main(int argc, char **argv)
{
    const int holder = runLockHolderIfAsked(argc, argv);
    if (holder >= 0)
        return holder;
    QApplication application(argc, argv);
    tst_DocumentsManager test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_documentsmanager.moc"

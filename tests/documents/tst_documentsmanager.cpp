// The document manager against the built stand-in runtime, which it starts itself from
// ../qvkioskcore beside this test's folder and steers through the runtime's environment
// variables; what the runtime took is read back from its record file.

#include "base/controllerfacade.h"
#include "documents/dialogblockuserinteraction.h"
#include "documents/documentsmanager.h"

#include "platform/blockname.h"
#include "platform/currentprocess.h"
#include "platform/localtime.h"
#include "platform/runtimerequest.h"
#include "platform/sharedmemoryblock.h"
#include "platform/sharedmemoryview.h"

#include "capturedoutput.h"
#include "helpermode.h"
#include "lockholder.h"
#include "modaldialoganswerer.h"
#include "recordingobserver.h"
#include "scopedenvironment.h"
#include "startedmanager.h"

#include <QApplication>
#include <QtTest>

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <set>
#include <sys/mman.h>
#include <unistd.h>

using platform::RuntimeRequest;
using platform::SharedMemoryBlock;

namespace {

QString sample(const QString &name)
{
    return QStringLiteral(QVKIOSK_SAMPLES_DIR "/") + name;
}

// Whether the runtime finds a request in the manager's block now.
bool requestWritten(DocumentsManager &manager)
{
    const SharedMemoryBlock block = SharedMemoryBlock::openExisting(
        manager.runtimeHandoff().requestBlockName());
    const platform::SharedMemoryView view = platform::SharedMemoryView::map(block, 260);
    return view.isMapped() && !RuntimeRequest::decode(view.data()).pathBlockName.empty();
}

struct Refusal
{
    QString file;      // empty: chosen in the file dialog, which is cancelled
    AccessLevel level; // None: the code dialog is cancelled
    QString code;
    QString message; // empty: none
    QByteArray versionLine;
    bool documentsFolder = true; // whether ~/Documents exists
};

struct Open
{
    QString file; // a copy of source
    QString source;
    AccessLevel level;
    QString code;
    QString levelText;
    QByteArray fault; // "NAME=value" in the runtime's environment
    bool atStartUp;
    bool accepted;
};

} // namespace

Q_DECLARE_METATYPE(Refusal)
Q_DECLARE_METATYPE(Open)

class tst_DocumentsManager final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
        QCoreApplication::installTranslator(&translator);
        QVERIFY(folder.isValid());
        // Wrong-code counts of earlier runs would make the code dialog wait.
        QDir(OperatorJournal::stateFolder()).removeRecursively();
        qputenv("QVKIOSKCORE_NO_WINDOW", "1");
        qputenv("QVKIOSKCORE_RECORD", QFile::encodeName(folder.filePath("record.jsonl")));
    }

    void cleanup()
    {
        for (const qint64 pid : runtimes)
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        runtimes.clear();
        QFile::remove(folder.filePath("record.jsonl"));
        ControllerFacade::instance().setFilePath({});
    }

    void refusals_data()
    {
        QTest::addColumn<Refusal>("row");
        const auto admin = AccessLevel::Administrator;
        const auto none = AccessLevel::None;
        // clang-format off
        QTest::addRow("file in use") << Refusal{sample("lobby.qvksk"), admin, "1234", "Cannot open, file already in use", {}};
        // The lock file could not hold these paths as they are.
        QTest::addRow("line break in the name") << Refusal{folder.filePath("two\nlines.qvksk"), admin, "1234", "Cannot open, this file is not supported.", {}};
        QTest::addRow("unpaired surrogate in the name") << Refusal{folder.filePath(QString("half") + QChar(0xD800) + ".qvksk"), admin, "1234", "Cannot open, this file is not supported.", {}};
        QTest::addRow("unreadable: status 5") << Refusal{folder.filePath("folder.qvksk"), admin, "1234", "Failed to open file.\nError code : 5", {}};
        QTest::addRow("not a kiosk file") << Refusal{sample("otherformat.qvksk"), admin, "", "Cannot open, this file is not supported.", {}};
        QTest::addRow("newer version") << Refusal{sample("newer.qvksk"), admin, "1234",
            "newer.qvksk created using a newer version of Quorvane Control PLUS.\nPlease download and install the latest version to open this file.", "VERSION: 4\n"};
        QTest::addRow("version 0: silent") << Refusal{sample("versionzero.qvksk"), admin, "", "", "VERSION: 0\n"};
        QTest::addRow("wrong code, Power User permitted") << Refusal{sample("lobby.qvksk"), AccessLevel::PowerUser, "9999", "Failed to authenticate", "VERSION: 3\n"};
        QTest::addRow("wrong code, Administrator only") << Refusal{sample("adminonly.qvksk"), admin, "0000", "Administrator Code is required.", "VERSION: 3\n"};
        QTest::addRow("code dialog cancelled") << Refusal{sample("lobby.qvksk"), none, "", "", "VERSION: 3\n"};
        QTest::addRow("file dialog cancelled") << Refusal{QString(), admin, "", "", {}};
        QTest::addRow("file dialog cancelled, no ~/Documents") << Refusal{QString(), admin, "", "", {}, false};
        // Authenticated, but no runtime holds a request block: the request cannot be written.
        QTest::addRow("request cannot be written") << Refusal{sample("lobby.qvksk"), admin, "1234", "Failed to launch Quorvane Kiosk", "VERSION: 3\n"};
        // clang-format on
    }

    // Refusals come before the hand-over: no runtime is needed.
    void refusals()
    {
        QFETCH(Refusal, row);
        QVERIFY(QDir().mkpath(folder.filePath("folder.qvksk")));
        const QString documents = QDir::home().filePath(QStringLiteral("Documents"));
        QVERIFY(row.documentsFolder ? QDir().mkpath(documents)
                                    : QDir(documents).removeRecursively());
        DocumentsManager manager;
        std::optional<LockHolder> copy;
        if (row.message.contains("in use")) {
            copy.emplace(row.file);
            QVERIFY(!copy->lockName.isEmpty());
            // A lock this process still holds from before must not stand in for the new one.
            QVERIFY(manager.acquireFileLock(sample("open.qvksk")));
        }
        ModalDialogAnswerer answerer;
        if (row.level != AccessLevel::None)
            answerer.acceptCode(row.level, row.code);
        RecordingObserver observer;

        bool opened = true;
        bool launchFailed = false;
        const QByteArray printed = capturedOutput(1, [&] {
            opened = manager.openControllerFile(nullptr, launchFailed, row.file, false);
        });
        QVERIFY(!opened);
        QVERIFY(!launchFailed);
        QCOMPARE(answerer.messages,
                 row.message.isEmpty() ? QStringList() : QStringList{row.message});
        // Only a supported file's code is asked for: never one already in use.
        QCOMPARE(answerer.codeDialogs, int(row.versionLine == "VERSION: 3\n"));
        // Started in a folder that does not exist, the dialog would type its name in for the user.
        const QString start = row.documentsFolder ? documents : QDir::homePath();
        QCOMPARE(answerer.fileDialogs,
                 row.file.isEmpty()
                     ? QStringList{"Open File, Controller File (*.qvksk), " + start + ", name \"\""}
                     : QStringList());
        // QtTest prints its warnings to standard output as well.
        const qsizetype at = printed.indexOf("VERSION");
        QCOMPARE(at < 0 ? QByteArray() : printed.mid(at, printed.indexOf('\n', at) + 1 - at),
                 row.versionLine);
        // Only an authenticated file joins the recent list.
        QCOMPARE(observer.count("path"), int(row.message.startsWith("Failed to launch")));
        QCOMPARE(manager.lockName(), QString());
        const QStringList locks = QDir(DocumentsManager::lockBasePath())
                                      .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(locks, copy ? QStringList{copy->lockName} : QStringList());
    }

    void opens_data()
    {
        QTest::addColumn<Open>("row");
        const auto admin = AccessLevel::Administrator;
        const QString lobby = QStringLiteral("lobby.qvksk");
        // clang-format off
        QTest::addRow("Administrator, blanks and non-ASCII in the path") << Open{QStringLiteral("Hall ä 東京/Lobby Ω 🚪.qvksk"), lobby, admin, "1234", "Administrator", {}, false, true};
        QTest::addRow("Power User, older version") << Open{lobby, "olderversion.qvksk", AccessLevel::PowerUser, "0000", "Power User", {}, false, true};
        // The test's manager looks for about a second.
        QTest::addRow("accepted on a late look") << Open{lobby, lobby, admin, "1234", "Administrator", "QVKIOSKCORE_ACCEPT_DELAY_MS=600", false, true};
        QTest::addRow("never accepted, at start-up") << Open{lobby, lobby, admin, "1234", "", "QVKIOSKCORE_NEVER_ACCEPT=1", true, false};
        QTest::addRow("crash after ready") << Open{lobby, lobby, admin, "1234", "", "QVKIOSKCORE_CRASH_AFTER_READY=1", false, false};
        // clang-format on
    }

    void opens()
    {
        QFETCH(Open, row);
        const QString path = folder.filePath(row.file);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile::remove(path);
        QVERIFY(QFile::copy(sample(row.source), path));
        const std::unique_ptr<DocumentsManager> manager = startedManager(runtimes, row.fault);
        QVERIFY(manager);
        ModalDialogAnswerer answerer;
        answerer.acceptCode(row.level, row.code);
        RecordingObserver observer;
        bool requestWrittenAtChange = false;
        observer.onCall = [&](const QString &call) {
            if (call == "path")
                requestWrittenAtChange = requestWritten(*manager);
        };

        bool launchFailed = false;
        QCOMPARE(manager->openControllerFile(nullptr, launchFailed, path, row.atStartUp),
                 row.accepted);
        QCOMPARE(launchFailed, !row.accepted);
        QCOMPARE(answerer.messages,
                 row.accepted ? QStringList() : QStringList{"Failed to launch Quorvane Kiosk"});
        QCOMPARE(observer.count("close"), !row.accepted && !row.atStartUp ? 1 : 0);
        QCOMPARE(observer.count("path"), 1);
        QVERIFY2(!requestWrittenAtChange, "the file joins the recent list before the hand-over");
        QCOMPARE(ControllerFacade::instance().filePath(), path.toStdU16String());
        QCOMPARE(manager->lockName(), QString());
        if (!row.accepted)
            return;
        const QList<QJsonObject> taken = records();
        QCOMPARE(taken.size(), 1);
        QCOMPARE(taken[0]["code"].toString(), row.code);
        QCOMPARE(taken[0]["level"].toString(), row.levelText);
        QCOMPARE(taken[0]["path"].toString(), path);
        QCOMPARE(taken[0]["pathBlockName"].toString(),
                 QString::fromStdString(manager->runtimeHandoff().pathBlockName()));
    }

    void noSecondOpen()
    {
        const std::unique_ptr<DocumentsManager> manager = startedManager(runtimes);
        QVERIFY(manager);
        ModalDialogAnswerer answerer;
        answerer.acceptCode(AccessLevel::Administrator, "1234");
        bool launchFailed = false;
        bool nested = false;
        bool nestedOpened = true;
        answerer.whileCodeDialogShows = [&] {
            // A queued click reaching the manager while its code dialog runs.
            if (!std::exchange(nested, true))
                nestedOpened = manager->openControllerFile(nullptr,
                                                           launchFailed,
                                                           sample("open.qvksk"),
                                                           false);
        };
        QVERIFY(manager->openControllerFile(nullptr, launchFailed, sample("lobby.qvksk"), false));
        QVERIFY(nested);
        QVERIFY(!nestedOpened);

        // Once the runtime has a file, nothing more is opened in this run.
        QVERIFY(!manager->openControllerFile(nullptr, launchFailed, sample("open.qvksk"), false));
        QCOMPARE(answerer.codeDialogs, 1);
        QCOMPARE(answerer.messages, QStringList());
        QCOMPARE(records().size(), 1);
    }

    void aRequestGivenUpOnIsWithdrawn()
    {
        constexpr int acceptDelayMs = 1500;
        const std::unique_ptr<DocumentsManager> manager
            = startedManager(runtimes,
                             "QVKIOSKCORE_ACCEPT_DELAY_MS=" + QByteArray::number(acceptDelayMs));
        QVERIFY(manager);
        ModalDialogAnswerer answerer;
        answerer.acceptCode(AccessLevel::Administrator, "1234");
        bool launchFailed = false;
        QVERIFY(!manager->openControllerFile(nullptr, launchFailed, sample("lobby.qvksk"), true));
        QCOMPARE(answerer.messages, QStringList{"Failed to launch Quorvane Kiosk"});
        QCOMPARE(records().size(), 1);

        // The runtime's accept comes due after the user was told it failed: it must find
        // nothing left to accept.
        QTest::qWait(acceptDelayMs);
        const SharedMemoryBlock block = SharedMemoryBlock::openExisting(
            manager->runtimeHandoff().requestBlockName());
        const platform::SharedMemoryView view = platform::SharedMemoryView::map(block, 260);
        QVERIFY(view.isMapped());
        const RuntimeRequest left = RuntimeRequest::decode(view.data());
        QCOMPARE(left.accepted, 0u);
        QVERIFY(left.pathBlockName.empty() && left.code.empty() && left.accessLevel.empty());
        QVERIFY(manager->runtimeHandoff().pathBlockName().empty());
    }

    void pathBlockNamesAreFresh()
    {
        const std::unique_ptr<DocumentsManager> manager = startedManager(runtimes);
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
            for (const std::string &name : {base, base + "_2", base + "_3", base + "_4"}) {
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
    void requestIsNeverSeenHalfWritten()
    {
        // What an earlier request left still fills the block.
        unsigned char block[RuntimeRequest::blockSize];
        std::memset(block, 0x5A, sizeof block);
        RuntimeRequest request;
        request.code = u"1234";
        request.accessLevel = u"Administrator";
        request.pathBlockName = u"quorvaneKiosk_20260105143001_4242_3";
        request.pathBlockSize = 40;
        unsigned char encoded[RuntimeRequest::blockSize];
        QVERIFY(request.encode(encoded));

        // A look may come between any two bytes, except within the aligned 16-bit store of the
        // name's first unit.
        const std::size_t nameAt = RuntimeRequest::pathBlockNameOffset;
        const auto seenWhole = [&] {
            return (block[nameAt] == 0 && block[nameAt + 1] == 0)
                   || std::memcmp(block, encoded, sizeof block) == 0;
        };
        RuntimeHandoff::storeRequest(
            encoded, [&](std::size_t offset, const unsigned char *bytes, std::size_t count) {
                QVERIFY(offset + count <= sizeof block);
                const bool unit = offset == nameAt && count == 2;
                for (std::size_t i = 0; i < count; ++i) {
                    block[offset + i] = bytes[i];
                    if (!unit || i == 1)
                        QVERIFY2(seenWhole(), qPrintable(QString("after byte %1").arg(offset + i)));
                }
            });
        QVERIFY(std::memcmp(block, encoded, sizeof block) == 0);
    }

    void looksAndWritesUseTheHeldBlock()
    {
        const std::unique_ptr<DocumentsManager> manager = startedManager(runtimes);
        QVERIFY(manager);
        const std::string name = manager->runtimeHandoff().requestBlockName();
        // The name is gone, the block this process and the runtime hold is not.
        QCOMPARE(shm_unlink(("/" + name).c_str()), 0);
        QVERIFY(manager->handOverToRuntime("/srv/kiosk/Lobby.qvksk", "1234", 1));
        QVERIFY(manager->waitForRuntimeAccepted());
        QVERIFY(manager->isRuntimeReady());

        manager->closeSharedMemory();
        bool ready = true;
        bool handedOver = true;
        QTest::ignoreMessage(
            QtWarningMsg,
            "no request block held: failed to open file mapping: Invalid argument (error 22)");
        QTest::ignoreMessage(QtWarningMsg,
                             "no request block held: failed to write data to shared memory: "
                             "Invalid argument (error 22)");
        const QByteArray printed = capturedOutput(1, [&] {
            ready = manager->isRuntimeReady();
            handedOver = manager->handOverToRuntime("/srv/kiosk/Lobby.qvksk", "1234", 1);
        });
        QVERIFY(!ready);
        QVERIFY(!handedOver);
        QCOMPARE(
            printed,
            QByteArray(
                "failed to open file mapping.\n22\nfailed to write data to shared memory.\n22\n"));
        QVERIFY(!SharedMemoryBlock::openExisting(name).isOpen());
    }

    void standbyStartRemovesLeftoverBlocks()
    {
        std::tm now = {};
        QVERIFY(platform::localTimeNow(now));
        const std::string leftover = platform::makeBlockName(now, std::uint32_t(endedProcessId()));
        // Left behind as by a front-end that ended without closing it.
        const int fd = shm_open(("/" + leftover).c_str(), O_CREAT | O_RDWR, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);
        QVERIFY(startedManager(runtimes));
        QVERIFY(!SharedMemoryBlock::openExisting(leftover).isOpen());
    }

    void blockDialogOutlivesItsParent()
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
    }

    void controllerFileNames()
    {
        const std::pair<const char *, bool> rows[] = {{"/srv/kiosk/Lobby.qvksk", true},
                                                      {"C:/Kiosk/LOBBY.QVKSK", true},
                                                      {"/srv/kiosk/Lobby.qvksk.bak", false},
                                                      {"/srv/kiosk/qvksk", false}};
        for (const auto &[path, controllerFile] : rows)
            QVERIFY2(DocumentsManager::isControllerFileName(path) == controllerFile, path);
    }

    // The program's own waits (tests pass short ones): 30 s for ready, 5 s for accepted, and
    // 30 s of the window's start-up poll.
    void productWaits()
    {
        const RuntimeWaits &w = DocumentsManager::instance().runtimeWaits();
        QCOMPARE((std::vector<long long>{w.readyInterval.count(),
                                         w.readyLooks,
                                         w.acceptedInterval.count(),
                                         w.acceptedLooks,
                                         w.pollInterval.count(),
                                         w.pollLimit}),
                 (std::vector<long long>{300, 100, 100, 50, 100, 300}));
    }

private:
    QList<QJsonObject> records() const
    {
        QList<QJsonObject> list;
        QFile file(folder.filePath("record.jsonl"));
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : file.readAll().split('\n'))
                if (!line.isEmpty())
                    list << QJsonDocument::fromJson(line).object();
        }
        return list;
    }

    QTranslator translator;
    QTemporaryDir folder;
    std::vector<qint64> runtimes;
};

int main(int argc, char **argv)
{
    return runTestOrHelper<tst_DocumentsManager>(argc, argv);
}

#include "tst_documentsmanager.moc"

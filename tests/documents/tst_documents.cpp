// Opening controller files against the stand-in runtime the manager starts from ../qvkioskcore,
// steered through its environment; what it took is read back from its record file.

#include "base/controllerfacade.h"
#include "base/resourcestrings.h"
#include "documents/dialogauthenticate.h"
#include "documents/dialogblockuserinteraction.h"
#include "documents/documentsmanager.h"
#include "documents/inuseguard.h"

#include "platform/blockname.h"
#include "platform/localtime.h"
#include "platform/sharedmemoryview.h"

#include "capturedoutput.h"
#include "modaldialoganswerer.h"
#include "recordingobserver.h"
#include "scopedenvironment.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <set>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using platform::RuntimeRequest;

namespace {

const QString lockedFile = QStringLiteral("/srv/kiosk/Lobby.qvksk");

// A copy of the program (a forked child) that takes the lock on `path` once started, till its end.
struct Copy final
{
    explicit Copy(const QString &path)
    {
        QVERIFY(::pipe(fromParent) == 0 && ::pipe(toParent) == 0);
        if ((pid = fork()) != 0)
            return;
        char byte = 0;
        InUseGuard guard;
        const bool taken = ::read(fromParent[0], &byte, 1) == 1 && guard.acquire(path);
        const QByteArray name = (taken ? guard.lockName().toUtf8() : QByteArray()) + '\n';
        if (::write(toParent[1], name.constData(), name.size()) == name.size()) {
            [[maybe_unused]] const ssize_t word = ::read(fromParent[0], &byte, 1); // until its end
        }
        guard.release();
        _exit(0);
    }
    ~Copy()
    {
        start();
        ::waitpid(pid, nullptr, 0);
        for (const int fd : {fromParent[0], fromParent[1], toParent[0], toParent[1]})
            ::close(fd);
    }
    bool start() { return ::write(fromParent[1], "g", 1) == 1; }
    // Empty when the copy could not take the lock.
    QString lockName()
    {
        char name[64] = {};
        return QString::fromUtf8(name, ::read(toParent[0], name, sizeof name)).trimmed();
    }

    pid_t pid = -1;
    int fromParent[2] = {-1, -1}, toParent[2] = {-1, -1};
};

qint64 endedProcessId()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

void writeFile(const QString &fileName, const QByteArray &data, int age = 0)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush());
    if (age > 0)
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                                 QFileDevice::FileModificationTime));
}

struct Found
{
    qint64 holder;
    QString lock; // the lock file, of the path (%1) and the id (%2); empty: none
    int age;      // of the lock file, in seconds; 3600: before its holder started, a reused id
    QString path;
    bool otherFiles; // no controller file; a FIFO and a link to a file elsewhere named as one
    bool blocks;
    QString left;        // what the folder holds afterwards; "-": it is gone
    bool linked = false; // a link to a folder elsewhere, never followed
};

QString sample(const QString &name)
{
    return QStringLiteral(QVKIOSK_SAMPLES_DIR "/") + name;
}

QList<QJsonObject> jsonLines(const QString &fileName)
{
    QFile file(fileName);
    QList<QJsonObject> lines;
    for (file.open(QIODevice::ReadOnly); !file.atEnd();)
        lines << QJsonDocument::fromJson(file.readLine()).object();
    return lines;
}

RuntimeRequest requestInBlock(DocumentsManager &manager)
{
    const auto block = platform::SharedMemoryBlock::openExisting(
        manager.runtimeHandoff().requestBlockName());
    const auto view = platform::SharedMemoryView::map(block, RuntimeRequest::blockSize);
    return view.isMapped() ? RuntimeRequest::decode(view.data()) : RuntimeRequest();
}

struct Open
{
    QString file;         // empty: chosen in the file dialog, which is cancelled
    AccessLevel level;    // the code dialog's answer; None: it must not show
    QString code;         // null: the code dialog is cancelled
    QStringList messages; // the error boxes
    QByteArray versionLine;
    QString journal; // "<outcome>/<level>"; empty: no line
    QString logLine; // after "qvkiosk.open: <file>: "; empty: none
    bool runtime = false;
    QByteArray fault = "QVKIOSKCORE_NO_FAULT="; // in the runtime's environment
    bool atStartUp = false;
    bool documentsFolder = true; // whether ~/Documents exists
};

} // namespace

Q_DECLARE_METATYPE(Open)
Q_DECLARE_METATYPE(Found)

class tst_Documents final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(installResourceStrings(translator) && folder.isValid());
        qputenv("QVKIOSKCORE_NO_WINDOW", "1");
        qputenv("QVKIOSKCORE_RECORD", QFile::encodeName(folder.filePath("record.jsonl")));
        QVERIFY(QFile::copy(sample("lobby.qvksk"), held));
        QVERIFY(QDir().mkpath(QFileInfo(unusualPath).path()));
        QVERIFY(QFile::copy(sample("lobby.qvksk"), unusualPath));
        QVERIFY(QDir().mkpath(folder.filePath("folder.qvksk")));
        copy.emplace(held);
        QVERIFY(copy->start());
        copyLock = copy->lockName();
        // As the program writes it: the path and the holder's id, a line each, alone in its folder.
        const QDir lock(InUseGuard::lockBasePath() + "/" + copyLock);
        QFile lockFile(lock.filePath("lock.txt"));
        QVERIFY(lockFile.open(QIODevice::ReadOnly));
        QCOMPARE(lockFile.readAll(), held.toUtf8() + '\n' + QByteArray::number(copy->pid) + '\n');
        QCOMPARE(lock.entryList(QDir::Files | QDir::Hidden), QStringList{"lock.txt"});
        cleanup(); // wrong-code counts of earlier runs would make the code dialog wait
    }

    void cleanup()
    {
        for (const qint64 pid : runtimes)
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        runtimes.clear();
        QFile::remove(folder.filePath("record.jsonl"));
        QDir(OperatorJournal::stateFolder()).removeRecursively();
        ControllerFacade::instance().setFilePath({});
        // Nothing but the copy's lock in the base folder (System: dangling links too).
        const QDir base(InUseGuard::lockBasePath());
        for (const QString &name :
             base.entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot)) {
            if (QFileInfo(base.filePath(name)).isSymLink())
                QFile::remove(base.filePath(name));
            else if (name != copyLock)
                QDir(base.filePath(name)).removeRecursively();
        }
    }

    void foldersFound_data()
    {
        QTest::addColumn<Found>("row");
        const qint64 ended = endedProcessId(), self = QCoreApplication::applicationPid();
        const qint64 copied = copy->pid, other = getppid(); // a running program, not a copy
        const QString ok = "%1\n%2\n", same = lockedFile;
        const QString all = "lock.txt panel.qvksk project.qvcpj";
        const QString others = "fifo.qvksk linked.qvksk notes.txt";
        // clang-format off
        QTest::addRow("ended process, other files: only they stay") << Found{ended, ok, 0, same, true, false, others};
        QTest::addRow("this process: removed") << Found{self, ok, 0, same, false, false, "-"};
        QTest::addRow("copy started after the lock was written: removed") << Found{copied, ok, 3600, same, false, false, "-"};
        QTest::addRow("copy, same file: blocks") << Found{copied, ok, 0, same, false, true, all};
        QTest::addRow("copy, same file spelled with ..: blocks") << Found{copied, ok, 0, "/srv/kiosk/../kiosk/./Lobby.qvksk", false, true, all};
        QTest::addRow("copy, file differing in case: kept") << Found{copied, ok, 0, "/srv/kiosk/lobby.qvksk", false, false, all};
        QTest::addRow("other program running: kept") << Found{other, ok, 0, same, false, false, all};
        QTest::addRow("no lock.txt: left alone") << Found{ended, {}, 0, same, true, false, others + " panel.qvksk project.qvcpj"};
        QTest::addRow("unfinished, ended process: kept") << Found{ended, "%1\n%2", 0, same, false, false, all};
        QTest::addRow("id with a leading zero, copy: kept") << Found{copied, "%1\n0%2\n", 0, same, false, false, all};
        QTest::addRow("linked folder, ended process: kept") << Found{ended, ok, 0, same, false, false, all, true};
        // clang-format on
    }

    void foldersFound()
    {
        QFETCH(Found, row);
        const QTemporaryDir elsewhere;
        const QString inBase = InUseGuard::lockBasePath() + "/{found}";
        QVERIFY(!row.linked || QFile::link(elsewhere.path(), inBase));
        const QDir found(row.linked ? elsewhere.path() : inBase);
        QVERIFY(found.mkpath("."));
        if (!row.lock.isEmpty())
            writeFile(found.filePath("lock.txt"),
                      row.lock.arg(row.path).arg(row.holder).toUtf8(),
                      row.age);
        writeFile(found.filePath("panel.qvksk"), "{}");
        writeFile(found.filePath("project.qvcpj"), "{}");
        if (row.otherFiles) {
            writeFile(found.filePath("notes.txt"), "keep");
            QCOMPARE(mkfifo(QFile::encodeName(found.filePath("fifo.qvksk")).constData(), 0600), 0);
            QVERIFY(QFile::link(held, found.filePath("linked.qvksk")));
        }
        InUseGuard guard;
        QCOMPARE(guard.acquire(lockedFile), !row.blocks);
        QCOMPARE(guard.lockName().isEmpty(), row.blocks);
        guard.release();
        const QStringList left = found.entryList(QDir::AllEntries | QDir::System
                                                 | QDir::NoDotAndDotDot);
        QCOMPARE(found.exists() ? left.join(' ') : "-", row.left);
    }

    void copiesStartedTogetherNeverShareAFile()
    {
        // Pairs of copies, each pair after a file of its own, all told to go at one moment.
        std::vector<std::unique_ptr<Copy>> copies;
        for (int i = 0; i < 16; ++i)
            copies.push_back(std::make_unique<Copy>(QString("/srv/kiosk/pair %1.qvksk").arg(i / 2)));
        for (const auto &copy : copies)
            QVERIFY(copy->start());
        for (int i = 0; i < 16; i += 2)
            QCOMPARE(copies[i]->lockName().isEmpty(), !copies[i + 1]->lockName().isEmpty());
    }

    // Without a runtime folder, another user's in the temporary location is not used: no lock.
    void baseFolderOfAnotherUser()
    {
        const QTemporaryDir temporary;
        const ScopedEnvironment tmp("TMPDIR", QFile::encodeName(temporary.path()));
        const ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", QByteArray());
        const QString root = InUseGuard::lockBasePath().chopped(
            QStringLiteral("/Brennix/QVControl").size());
        const QByteArray rootName = QFile::encodeName(root);
        if (chown(rootName.constData(), 4242, 4242) != 0)
            QSKIP("needs to hand a folder to another user (run as root)");
        InUseGuard guard;
        bool acquired = false;
        const QByteArray printed = capturedOutput(1, [&] { acquired = guard.acquire(lockedFile); });
        QCOMPARE(chown(rootName.constData(), geteuid(), getegid()), 0);
        QVERIFY(acquired && !QFileInfo::exists(root + "/Brennix"));
        QVERIFY(printed.contains("failed to create a lock for " + lockedFile.toUtf8()));
    }

    void opens_data()
    {
        QTest::addColumn<Open>("row");
        const auto admin = AccessLevel::Administrator, none = AccessLevel::None;
        const QString unsupported = "Cannot open, this file is not supported.";
        const QString launchFailed = "Failed to launch Quorvane Kiosk";
        const QString lobby = sample("lobby.qvksk");
        // clang-format off
        QTest::addRow("file in use") << Open{held, none, {}, {"Cannot open, file already in use"}, {}, "in-use/", "another copy of the launcher is opening it"};
        // The lock file could not hold these paths as they are.
        QTest::addRow("line break in the name") << Open{folder.filePath("two\nlines.qvksk"), none, {}, {unsupported}, {}, "not-supported/", "the name holds a line break"};
        QTest::addRow("unpaired surrogate in the name") << Open{folder.filePath(QString("half") + QChar(0xD800) + ".qvksk"), none, {}, {unsupported}, {}, "not-supported/", "the name holds a line break or is not valid Unicode"};
        QTest::addRow("unreadable: status 5") << Open{folder.filePath("folder.qvksk"), none, {}, {"Failed to open file.\nError code : 5"}, {}, "read-error/", "the core library cannot open it (status 5)"};
        QTest::addRow("not a kiosk file") << Open{sample("otherformat.qvksk"), none, {}, {unsupported}, {}, "not-supported/", "not a kiosk controller file"};
        QTest::addRow("newer version") << Open{sample("newer.qvksk"), none, {},
            {"newer.qvksk created using a newer version of Quorvane Control PLUS.\nPlease download and install the latest version to open this file."}, "VERSION: 4\n", "not-supported/", "version 4 is newer"};
        QTest::addRow("version 0: silent") << Open{sample("versionzero.qvksk"), none, {}, {}, "VERSION: 0\n", "not-supported/", {}};
        QTest::addRow("wrong code, Power User permitted") << Open{lobby, AccessLevel::PowerUser, "9999", {"Failed to authenticate"}, "VERSION: 3\n", "wrong-code/Power User", "wrong code for Power User (1 in a row)"};
        QTest::addRow("wrong code, Administrator only") << Open{sample("adminonly.qvksk"), admin, "0000", {"Administrator Code is required."}, "VERSION: 3\n", "wrong-code/Administrator", "wrong code for Administrator (1 in a row)"};
        QTest::addRow("code dialog cancelled") << Open{lobby, admin, {}, {}, "VERSION: 3\n", "cancelled/", {}};
        QTest::addRow("file dialog cancelled") << Open{QString(), none, {}, {}, {}, {}, {}};
        QTest::addRow("file dialog cancelled, no ~/Documents") << Open{QString(), none, {}, {}, {}, {}, {}, false, {}, false, false};
        // Authenticated, but no runtime holds a request block.
        QTest::addRow("request cannot be written") << Open{lobby, admin, "1234", {launchFailed}, "VERSION: 3\n", "launch-failed/Administrator", "the request cannot be handed to the runtime"};
        QTest::addRow("Administrator, blanks and non-ASCII in the path") << Open{unusualPath, admin, "1234", {}, "VERSION: 3\n", "handed-over/Administrator", {}, true};
        QTest::addRow("Power User, older version") << Open{sample("olderversion.qvksk"), AccessLevel::PowerUser, "0000", {}, "VERSION: 2\n", "handed-over/Power User", {}, true};
        // The test's manager looks for about a second.
        QTest::addRow("accepted on a late look") << Open{lobby, admin, "1234", {}, "VERSION: 3\n", "handed-over/Administrator", {}, true, "QVKIOSKCORE_ACCEPT_DELAY_MS=600"};
        QTest::addRow("never accepted, at start-up") << Open{lobby, admin, "1234", {launchFailed}, "VERSION: 3\n", "launch-failed/Administrator", "the runtime did not take the file", true, "QVKIOSKCORE_NEVER_ACCEPT=1", true};
        QTest::addRow("crash after ready") << Open{lobby, admin, "1234", {launchFailed}, "VERSION: 3\n", "launch-failed/Administrator", "the runtime did not take the file", true, "QVKIOSKCORE_CRASH_AFTER_READY=1"};
        // clang-format on
    }

    void opens()
    {
        QFETCH(Open, row);
        const QString documents = QDir::home().filePath(QStringLiteral("Documents"));
        QVERIFY(row.documentsFolder ? QDir().mkpath(documents)
                                    : QDir(documents).removeRecursively());
        const auto manager = row.runtime ? startedManager(row.fault)
                                         : std::make_unique<DocumentsManager>();
        QVERIFY(manager);
        const QString other = sample("open.qvksk");
        // A lock this process still holds from before must not stand in for the new one.
        if (row.file == held)
            QVERIFY(manager->acquireFileLock(other));
        ModalDialogAnswerer answerer;
        answerer.level = row.level;
        answerer.code = row.code;
        bool launchFailed = false;
        bool nestedOpened = false;
        answerer.whileCodeDialogShows = [&] {
            // A queued click reaching the manager while its code dialog runs.
            nestedOpened |= manager->openControllerFile(nullptr, launchFailed, other, false);
        };
        RecordingObserver observer;
        bool requestWrittenAtChange = false;
        observer.onCall = [&](const QString &call) {
            if (call == "path")
                requestWrittenAtChange = !requestInBlock(*manager).pathBlockName.empty();
        };

        bool opened = false;
        const QByteArray printed = capturedOutput(1, [&] {
            opened = manager->openControllerFile(nullptr, launchFailed, row.file, row.atStartUp);
        });
        const QString outcome = row.journal.section('/', 0, 0);
        QCOMPARE(opened, outcome == "handed-over");
        QCOMPARE(launchFailed, outcome == "launch-failed" && row.runtime);
        QCOMPARE(answerer.messages, row.messages);
        QCOMPARE(answerer.codeDialogs, int(row.level != AccessLevel::None));
        QVERIFY(!nestedOpened);
        // Started in a folder that does not exist, the dialog would type its name in for the user.
        const QString start = row.documentsFolder ? documents : QDir::homePath();
        QCOMPARE(answerer.fileDialogs,
                 row.file.isEmpty()
                     ? QStringList{"Open File, Controller File (*.qvksk), " + start + ", name \"\""}
                     : QStringList());
        const qsizetype at = printed.indexOf("VERSION");
        QCOMPARE(at < 0 ? QByteArray() : printed.mid(at, printed.indexOf('\n', at) + 1 - at),
                 row.versionLine);
        // One warning naming the file for each error box; QtTest prints it on standard output.
        const QString file = QString(row.file).replace(QChar(0xD800), QChar::ReplacementCharacter);
        const QString log = "qvkiosk.open: " + file + ": " + row.logLine;
        QVERIFY2(row.logLine.isEmpty() ? !printed.contains("qvkiosk.")
                                       : printed.contains(log.toUtf8()),
                 printed.constData());
        QStringList journal;
        for (const QJsonObject &line : jsonLines(OperatorJournal().filePath())) {
            journal << line["outcome"].toString() + "/" + line["level"].toString();
            QCOMPARE(line["file"].toString(), row.file);
        }
        QCOMPARE(journal, row.journal.isEmpty() ? QStringList() : QStringList{row.journal});
        // Only an authenticated file joins the recent list, before the hand-over.
        QCOMPARE(observer.count("path"),
                 int(outcome == "handed-over" || outcome == "launch-failed"));
        QVERIFY(!requestWrittenAtChange);
        QCOMPARE(observer.count("close"), int(launchFailed && !row.atStartUp));
        QCOMPARE(manager->lockName(), QString());
        QCOMPARE(QDir(InUseGuard::lockBasePath()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{copyLock});
        if (launchFailed) {
            // Withdrawn: a runtime that takes it later must find nothing to accept.
            const RuntimeRequest left = requestInBlock(*manager);
            QVERIFY(left.pathBlockName.empty() && left.code.empty() && left.accessLevel.empty());
            QVERIFY(manager->runtimeHandoff().pathBlockName().empty());
        }
        if (!opened)
            return;
        const QList<QJsonObject> taken = jsonLines(folder.filePath("record.jsonl"));
        QCOMPARE(taken.size(), 1);
        QCOMPARE(taken[0]["code"].toString(), row.code);
        QCOMPARE(taken[0]["level"].toString(), row.journal.section('/', 1));
        QCOMPARE(taken[0]["path"].toString(), row.file);
        QCOMPARE(taken[0]["pathBlockName"].toString(),
                 QString::fromStdString(manager->runtimeHandoff().pathBlockName()));
        // Once the runtime has a file, nothing more is opened in this run.
        QVERIFY(!manager->openControllerFile(nullptr, launchFailed, other, false));
        QCOMPARE(answerer.codeDialogs, 1);
    }

    // Ended front-ends' blocks removed at start; a new path block a hand-over; the held block used.
    void requestAndPathBlocks()
    {
        std::tm now = {};
        QVERIFY(platform::localTimeNow(now));
        const std::string leftover = platform::makeBlockName(now, std::uint32_t(endedProcessId()));
        const int fd = shm_open(("/" + leftover).c_str(), O_CREAT | O_RDWR, 0600);
        QVERIFY(fd >= 0 && ::close(fd) == 0);
        const std::unique_ptr<DocumentsManager> manager = startedManager();
        QVERIFY(manager && !platform::SharedMemoryBlock::openExisting(leftover).isOpen());
        RuntimeHandoff &handoff = manager->runtimeHandoff();
        const std::string name = handoff.requestBlockName();
        std::set<std::string> taken{name};
        for (int handoffs = 1; handoffs <= 3; ++handoffs) {
            const QString path = QString("/srv/kiosk/panel %1.qvksk").arg(handoffs);
            // The name is gone, the block this process and the runtime hold is not.
            if (handoffs == 3)
                QCOMPARE(shm_unlink(("/" + name).c_str()), 0);
            QVERIFY(manager->handOverToRuntime(path, "1234", 1));
            QVERIFY2(taken.insert(handoff.pathBlockName()).second, handoff.pathBlockName().c_str());
            QVERIFY(manager->waitForRuntimeAccepted());
            QCOMPARE(jsonLines(folder.filePath("record.jsonl")).last()["path"].toString(), path);
        }
        QVERIFY(manager->isRuntimeReady());

        manager->closeSharedMemory();
        bool ready = true, handedOver = true;
        const QString warning = "no request block held: failed to %1: Invalid argument (error 22)";
        for (const char *what : {"open file mapping", "write data to shared memory"})
            QTest::ignoreMessage(QtWarningMsg, qPrintable(warning.arg(what)));
        const QByteArray printed = capturedOutput(1, [&] {
            ready = manager->isRuntimeReady();
            handedOver = manager->handOverToRuntime("/srv/kiosk/Lobby.qvksk", "1234", 1);
        });
        QVERIFY(!ready && !handedOver);
        QCOMPARE(printed,
                 "failed to open file mapping.\n22\nfailed to write data to shared memory.\n22\n");
    }

    // Whatever moment the runtime looks, it finds no request or the whole new one.
    void requestIsNeverSeenHalfWritten()
    {
        // What an earlier request left still fills the block; no byte of the new one is 0.
        unsigned char block[RuntimeRequest::blockSize], encoded[RuntimeRequest::blockSize];
        std::memset(block, 0x5A, sizeof block);
        for (std::size_t i = 0; i < sizeof encoded; ++i)
            encoded[i] = static_cast<unsigned char>(1 + i % 255);

        // A look may come between any two bytes but within the name's first unit's 16-bit store.
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

    // Local time with its offset; moved aside at the limit; unwritable: reported, not fatal.
    void journal()
    {
        QTemporaryDir state;
        OperatorJournal journal(state.path(), 400);
        for (const QString file : {"/f0", "/f1", "/f2", "/f3", "/f4", "/f5"})
            QVERIFY(journal.record(file, {}, AccessLevel::Administrator, {}));
        const QList<QJsonObject> older = jsonLines(state.filePath("journal.1.jsonl"));
        const QList<QJsonObject> newer = jsonLines(journal.filePath());
        QVERIFY(!older.isEmpty() && !newer.isEmpty());
        QCOMPARE(older.size() + newer.size() - 1, newer.last()["file"].toString().mid(2).toInt());
        QVERIFY(QFileInfo(journal.filePath()).size() <= 400);
        QVERIFY(QFileInfo(state.filePath("journal.1.jsonl")).size() <= 400);
        QCOMPARE(newer[0].keys(), (QStringList{"file", "level", "outcome", "time", "title"}));
        const QRegularExpression localTime(
            "^\\d{4}(-\\d\\d){2}T\\d\\d(:\\d\\d){2}\\.\\d{3}[+-]\\d\\d:\\d\\d$");
        QVERIFY2(localTime.match(newer[0]["time"].toString()).hasMatch(),
                 qPrintable(newer[0]["time"].toString()));

        OperatorJournal blocked(state.filePath("blocked"));
        QVERIFY(QDir().mkpath(blocked.filePath()));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^the journal " + blocked.filePath()
                                                + " cannot be written .* in-use of /f0.qvksk"));
        QVERIFY(!blocked.record("/f0.qvksk", {}, {}, OperatorJournal::Outcome::InUse));
    }

    // 1 s, 2 s, 4 s ... after the free tries, kept across restarts, cleared by a right code.
    void wrongCodesBackOff()
    {
        QTemporaryDir state;
        const QList<int> waits{0, 0, 0, 1000, 2000, 4000, 4000};
        {
            WrongCodeBackoff backoff(state.path());
            backoff.setSchedule({3, std::chrono::seconds(1), std::chrono::seconds(4)});
            for (int wrong = 0; wrong < waits.size(); ++wrong) {
                QCOMPARE(backoff.waitBeforeCheck("a.qvksk").count(), waits[wrong]);
                backoff.recordWrongCode("a.qvksk");
            }
        }
        WrongCodeBackoff restarted(state.path());
        QCOMPARE(restarted.wrongCodes(QDir::current().filePath("a.qvksk")), waits.size());
        QCOMPARE(restarted.waitBeforeCheck("a.qvksk").count(), 16000);
        QCOMPARE(restarted.waitBeforeCheck("b.qvksk").count(), 0);
        restarted.recordRightCode("a.qvksk");
        QCOMPARE(restarted.wrongCodes("a.qvksk"), 0);
    }

    void codeDialogCountsDownThenChecksOffTheGuiThread()
    {
        DialogAuthenticate dialog(nullptr, "lobby.qvksk", true);
        dialog.setWaitBeforeCheck(std::chrono::milliseconds(1200));
        dialog.show();
        const auto ok = dialog.findChild<QPushButton *>("okButton");
        const auto label = dialog.findChild<QLabel *>("waitLabel");
        QVERIFY(!ok->isEnabled());
        QCOMPARE(label->text(), "Too many wrong codes. Try again in 2 s.");
        QTRY_COMPARE(label->text(), "Too many wrong codes. Try again in 1 s.");
        QVERIFY(!ok->isEnabled());
        QTRY_VERIFY(ok->isEnabled());
        QVERIFY(label->isHidden());

        std::atomic<bool> guiRan{false};
        bool sawGuiRun = false;
        dialog.setCheck([&](AccessLevel, const QString &) {
            for (int i = 0; i < 500 && !guiRan; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            sawGuiRun = guiRan;
        });
        QTimer::singleShot(0, [&] { guiRan = true; });
        ok->click();
        QVERIFY2(sawGuiRun, "the GUI thread stood still while the code was checked");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

private:
    // Short waits (ready: 5 s, accepted: 1 s); its runtime has `fault` set and is ready.
    std::unique_ptr<DocumentsManager> startedManager(
        const QByteArray &fault = "QVKIOSKCORE_NO_FAULT=")
    {
        const ScopedEnvironment environment(fault.split('=')[0].constData(), fault.split('=')[1]);
        RuntimeWaits waits;
        waits.readyInterval = waits.acceptedInterval = std::chrono::milliseconds(20);
        waits.readyLooks = 250;
        waits.acceptedLooks = 50;
        auto manager = std::make_unique<DocumentsManager>(waits);
        if (!manager->startRuntimeInStandby())
            return nullptr;
        runtimes.push_back(manager->runtimeHandoff().runtimeProcessId());
        return manager->waitForRuntimeReady() ? std::move(manager) : nullptr;
    }

    QTranslator translator;
    QTemporaryDir folder;
    const QString held = folder.filePath("held.qvksk"); // held by the copy throughout
    const QString unusualPath = folder.filePath("Hall ä 東京/Lobby Ω 🚪.qvksk");
    std::vector<qint64> runtimes;
    std::optional<Copy> copy;
    QString copyLock;
};

QTEST_MAIN(tst_Documents)

#include "tst_documents.moc"

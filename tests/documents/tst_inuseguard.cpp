// The in-use guard between copies of the program: which lock folders it removes, which it
// leaves alone, which block it, and where they live. A copy is this test executable started
// again as a lock holder.

#include "documents/inuseguard.h"

#include "capturedoutput.h"
#include "helpermode.h"
#include "lockholder.h"
#include "scopedenvironment.h"

#include <QtTest>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

enum class Holder { EndedProcess, ThisProcess, Copy, OtherProgram };
// WrittenBeforeHolder: complete, but dated an hour before its holder started (a reused id).
enum class LockText { Complete, SecondLineUnfinished, LeadingZero, WrittenBeforeHolder, Missing };

const QString lockedFile = QStringLiteral("/srv/kiosk/Lobby.qvksk");

void writeFile(const QString &fileName, const QByteArray &data)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray lockText(const QString &path, qint64 processId)
{
    return path.toUtf8() + '\n' + QByteArray::number(processId) + '\n';
}

// No runtime folder, and a temporary location of the test's own: root is the folder that holds
// Brennix/QVControl there.
struct WithoutRuntimeFolder
{
    QTemporaryDir temporary;
    ScopedEnvironment tmp{"TMPDIR", QFile::encodeName(temporary.path())};
    ScopedEnvironment noRuntime{"XDG_RUNTIME_DIR", QByteArray()};
    QString root = InUseGuard::lockBasePath().chopped(QStringLiteral("/Brennix/QVControl").size());
};

} // namespace

Q_DECLARE_METATYPE(Holder)
Q_DECLARE_METATYPE(LockText)

class tst_InUseGuard final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        otherProgram.start(QStringLiteral("sleep"), {QStringLiteral("300")});
        QVERIFY(otherProgram.waitForStarted());
        // Any path will do: the copy's own lock is not what the rows look at.
        copy.emplace(QStringLiteral("/srv/kiosk/unrelated.qvksk"));
        QVERIFY(!copy->lockName.isEmpty());
    }

    void cleanupTestCase()
    {
        copy.reset();
        otherProgram.kill();
        otherProgram.waitForFinished();
    }

    void cleanup()
    {
        // Every row starts from a base folder that holds nothing but the copy's lock (System:
        // links left dangling too).
        const QDir base(InUseGuard::lockBasePath());
        for (const QString &name :
             base.entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot)) {
            if (QFileInfo(base.filePath(name)).isSymLink())
                QFile::remove(base.filePath(name));
            else if (!copy || name != copy->lockName)
                QDir(base.filePath(name)).removeRecursively();
        }
    }

    void foldersFound_data()
    {
        QTest::addColumn<Holder>("holder");
        QTest::addColumn<LockText>("text");
        QTest::addColumn<QString>("recordedPath");
        // Other things lie in the folder: a file that is no controller file, and a FIFO named
        // as a controller file.
        QTest::addColumn<bool>("otherFile");
        QTest::addColumn<bool>("blocks");
        QTest::addColumn<bool>("lockKept");

        const auto complete = LockText::Complete;
        const QString same = lockedFile;
        // clang-format off
        QTest::addRow("ended process: removed") << Holder::EndedProcess << complete << same << false << false << false;
        QTest::addRow("ended process, other file: only that file stays") << Holder::EndedProcess << complete << same << true << false << false;
        QTest::addRow("this process: removed") << Holder::ThisProcess << complete << same << false << false << false;
        QTest::addRow("copy started after the lock was written: removed") << Holder::Copy << LockText::WrittenBeforeHolder << same << false << false << false;
        QTest::addRow("copy, same file: blocks") << Holder::Copy << complete << same << false << true << true;
        QTest::addRow("copy, same file spelled with ..: blocks") << Holder::Copy << complete << QStringLiteral("/srv/kiosk/../kiosk/./Lobby.qvksk") << false << true << true;
        QTest::addRow("copy, file differing in case: kept") << Holder::Copy << complete << QStringLiteral("/srv/kiosk/lobby.qvksk") << false << false << true;
        QTest::addRow("other program running: kept") << Holder::OtherProgram << complete << same << false << false << true;
        QTest::addRow("no lock.txt: kept") << Holder::EndedProcess << LockText::Missing << same << true << false << false;
        QTest::addRow("unfinished, ended process: kept") << Holder::EndedProcess << LockText::SecondLineUnfinished << same << false << false << true;
        QTest::addRow("unfinished, copy: kept") << Holder::Copy << LockText::SecondLineUnfinished << same << false << false << true;
        QTest::addRow("id with a leading zero, copy: kept") << Holder::Copy << LockText::LeadingZero << same << false << false << true;
        // clang-format on
    }

    void foldersFound()
    {
        QFETCH(Holder, holder);
        QFETCH(LockText, text);
        QFETCH(QString, recordedPath);
        QFETCH(bool, otherFile);
        QFETCH(bool, blocks);
        QFETCH(bool, lockKept);

        const qint64 id = holder == Holder::EndedProcess  ? endedProcessId()
                          : holder == Holder::ThisProcess ? QCoreApplication::applicationPid()
                          : holder == Holder::Copy        ? copy->process.processId()
                                                          : otherProgram.processId();
        const QString folder = InUseGuard::lockBasePath() + "/{found}";
        QVERIFY(QDir().mkpath(folder));
        const QString lockFile = folder + "/lock.txt";
        if (text == LockText::SecondLineUnfinished)
            writeFile(lockFile, lockText(recordedPath, id).chopped(1));
        else if (text == LockText::LeadingZero)
            writeFile(lockFile, recordedPath.toUtf8() + "\n0" + QByteArray::number(id) + '\n');
        else if (text != LockText::Missing)
            writeFile(lockFile, lockText(recordedPath, id));
        if (text == LockText::WrittenBeforeHolder) {
            QFile file(lockFile);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
        }
        writeFile(folder + "/panel.qvksk", "{}");
        writeFile(folder + "/project.qvcpj", "{}");
        if (otherFile) {
            writeFile(folder + "/notes.txt", "keep");
            QCOMPARE(mkfifo(QFile::encodeName(folder + "/fifo.qvksk").constData(), 0600), 0);
        }

        InUseGuard guard;
        QCOMPARE(guard.acquire(lockedFile), !blocks);
        QCOMPARE(guard.lockName().isEmpty(), blocks);
        guard.release();

        const bool removed = text != LockText::Missing && !lockKept;
        QCOMPARE(QFileInfo::exists(folder + "/lock.txt"), text != LockText::Missing && lockKept);
        QCOMPARE(QFileInfo::exists(folder + "/panel.qvksk"), !removed);
        QCOMPARE(QFileInfo::exists(folder + "/project.qvcpj"), !removed);
        QCOMPARE(QFileInfo::exists(folder), !removed || otherFile);
        QCOMPARE(QFileInfo::exists(folder + "/notes.txt"), otherFile);
        QCOMPARE(QFileInfo::exists(folder + "/fifo.qvksk"), otherFile);
    }

    void symbolicLinksAreNeverFollowed()
    {
        // A stale lock elsewhere, reached through a link in the base folder.
        const QTemporaryDir elsewhere;
        writeFile(elsewhere.filePath("lock.txt"), lockText(lockedFile, endedProcessId()));
        writeFile(elsewhere.filePath("panel.qvksk"), "{}");
        const QString base = InUseGuard::lockBasePath();
        QVERIFY(QDir().mkpath(base + "/{stale}"));
        QVERIFY(QFile::link(elsewhere.path(), base + "/{link}"));
        // And a stale folder whose controller file is a link to a file elsewhere.
        writeFile(base + "/{stale}/lock.txt", lockText(lockedFile, endedProcessId()));
        QVERIFY(QFile::link(elsewhere.filePath("panel.qvksk"), base + "/{stale}/linked.qvksk"));

        InUseGuard guard;
        QVERIFY(guard.acquire(lockedFile));
        guard.release();

        QVERIFY(QFileInfo::exists(elsewhere.filePath("lock.txt")));
        QVERIFY(QFileInfo::exists(elsewhere.filePath("panel.qvksk")));
        QVERIFY(QFileInfo(base + "/{stale}/linked.qvksk").isSymLink());
        QVERIFY(!QFileInfo::exists(base + "/{stale}/lock.txt"));
    }

    void twoCopies()
    {
        const LockHolder holder(lockedFile);
        QVERIFY(!holder.lockName.isEmpty());
        const QString folder = InUseGuard::lockBasePath() + "/" + holder.lockName;
        QFile lockFile(folder + "/lock.txt");
        QVERIFY(lockFile.open(QIODevice::ReadOnly));
        QCOMPARE(lockFile.readAll(), lockText(lockedFile, holder.process.processId()));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"lock.txt"});

        InUseGuard guard;
        QVERIFY(!guard.acquire(lockedFile));
        QVERIFY(guard.acquire(QStringLiteral("/srv/kiosk/Hall.qvksk")));
        // A lock already held answers for any file, without a look.
        QVERIFY(guard.acquire(lockedFile));
        guard.release();
    }

    void copiesStartedTogetherNeverShareAFile()
    {
        // Pairs of copies, each pair after a file of its own, all told to go at one moment.
        constexpr int pairs = 8;
        std::vector<std::unique_ptr<LockHolder>> holders;
        for (int i = 0; i < 2 * pairs; ++i)
            holders.push_back(
                std::make_unique<LockHolder>(QString("/srv/kiosk/pair %1.qvksk").arg(i / 2), false));
        for (const auto &holder : holders)
            holder->go();
        for (const auto &holder : holders)
            holder->awaitLock();
        for (int pair = 0; pair < pairs; ++pair) {
            const int locked = int(!holders[2 * pair]->lockName.isEmpty())
                               + int(!holders[2 * pair + 1]->lockName.isEmpty());
            QVERIFY2(locked == 1, qPrintable(QString("pair %1: %2 copies").arg(pair).arg(locked)));
        }
    }

    void baseFolderIsTheUsersOwn()
    {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        QCOMPARE(InUseGuard::lockBasePath(), QString::fromLocal8Bit(runtime) + "/Brennix/QVControl");

        // Without a runtime folder: a folder of the temporary location that only this user enters.
        const WithoutRuntimeFolder without;
        QVERIFY2(without.root.startsWith(without.temporary.path() + "/"), qPrintable(without.root));
        struct stat info = {};
        QCOMPARE(stat(QFile::encodeName(without.root).constData(), &info), 0);
        QCOMPARE(info.st_uid, geteuid());
        QCOMPARE(info.st_mode & 0777, 0700u);
    }

    void baseFolderOfAnotherUserIsRefused()
    {
        const WithoutRuntimeFolder without;
        const QByteArray rootName = QFile::encodeName(without.root);
        if (chown(rootName.constData(), 4242, 4242) != 0)
            QSKIP("needs to hand a folder to another user (run as root)");

        InUseGuard guard;
        bool acquired = false;
        const QByteArray printed = capturedOutput(1, [&] { acquired = guard.acquire(lockedFile); });
        QVERIFY(acquired); // the open goes on without a lock
        QCOMPARE(guard.lockName(), QString());
        QVERIFY(!QFileInfo::exists(without.root + "/Brennix"));
        QVERIFY(printed.contains("failed to create a lock for " + lockedFile.toUtf8()));
        QCOMPARE(chown(rootName.constData(), geteuid(), getegid()), 0);
    }

private:
    QProcess otherProgram;
    std::optional<LockHolder> copy;
};

int main(int argc, char **argv)
{
    return runTestOrHelper<tst_InUseGuard, QCoreApplication>(argc, argv);
}

#include "tst_inuseguard.moc"

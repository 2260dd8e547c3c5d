// The in-use guard between copies of the program: which lock folders it removes, which it
// leaves alone, which block it, and where they live. A copy is this test executable started
// again as a lock holder.

#include "documents/inuseguard.h"

#include "documentstestsupport.h"

#include <QtTest>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Holder { EndedProcess, ThisProcess, Copy, OtherProgram };
enum class LockText { Complete, SecondLineUnfinished, Missing };

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
        QTest::addColumn<bool>("otherFile"); // a file that is no controller file lies in the folder
        QTest::addColumn<bool>("blocks");
        QTest::addColumn<bool>("lockKept");

        const auto complete = LockText::Complete;
        const QString same = lockedFile;
        // clang-format off
        QTest::addRow("ended process: removed") << Holder::EndedProcess << complete << same << false << false << false;
        QTest::addRow("ended process, other file: only that file stays") << Holder::EndedProcess << complete << same << true << false << false;
        QTest::addRow("this process: removed") << Holder::ThisProcess << complete << same << false << false << false;
        QTest::addRow("copy, same file: blocks") << Holder::Copy << complete << same << false << true << true;
        QTest::addRow("copy, same file spelled with ..: blocks") << Holder::Copy << complete << QStringLiteral("/srv/kiosk/../kiosk/./Lobby.qvksk") << false << true << true;
        QTest::addRow("copy, file differing in case: kept") << Holder::Copy << complete << QStringLiteral("/srv/kiosk/lobby.qvksk") << false << false << true;
        QTest::addRow("other program running: kept") << Holder::OtherProgram << complete << same << false << false << true;
        QTest::addRow("no lock.txt: kept") << Holder::EndedProcess << LockText::Missing << same << true << false << false;
        QTest::addRow("unfinished, ended process: kept") << Holder::EndedProcess << LockText::SecondLineUnfinished << same << false << false << true;
        QTest::addRow("unfinished, copy: kept") << Holder::Copy << LockText::SecondLineUnfinished << same << false << false << true;
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
        if (text != LockText::Missing)
            writeFile(folder + "/lock.txt",
                      lockText(recordedPath, id).chopped(text == LockText::Complete ? 0 : 1));
        writeFile(folder + "/panel.qvksk", "{}");
        writeFile(folder + "/project.qvcpj", "{}");
        if (otherFile)
            writeFile(folder + "/notes.txt", "keep");

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
        const QByteArray printed = capturedStdout([&] { acquired = guard.acquire(lockedFile); });
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
    const int holder = runLockHolderIfAsked(argc, argv);
    if (holder >= 0)
        return holder;
    QCoreApplication application(argc, argv);
    tst_InUseGuard test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_inuseguard.moc"

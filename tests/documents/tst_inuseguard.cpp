// The in-use guard between copies of the program: which lock folders it removes, which it
// leaves alone, which block it, and where they live. A copy is this test executable started
// again as a lock holder.

#include "documents/inuseguard.h"

#include "documentstestsupport.h"

#include <QtTest>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

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

QStringList lockFolders()
{
    return QDir(InUseGuard::lockBasePath()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace

Q_DECLARE_METATYPE(Holder)
Q_DECLARE_METATYPE(LockText)

class tst_InUseGuard final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void foldersFound_data();
    void foldersFound();
    void symbolicLinksAreNeverFollowed();
    void twoCopies();
    void baseFolderIsTheUsersOwn();
    void baseFolderOfAnotherUserIsRefused();

private:
    QProcess otherProgram;
    std::unique_ptr<LockHolder> copy;
};

void tst_InUseGuard::initTestCase()
{
    otherProgram.start(QStringLiteral("sleep"), {QStringLiteral("300")});
    QVERIFY(otherProgram.waitForStarted());
    // Any path will do: the copy's own lock is not what the rows look at.
    copy = std::make_unique<LockHolder>(QStringLiteral("/srv/kiosk/unrelated.qvksk"));
    QVERIFY(copy->isHolding());
}

void tst_InUseGuard::cleanupTestCase()
{
    copy.reset();
    otherProgram.kill();
    otherProgram.waitForFinished();
}

void tst_InUseGuard::cleanup()
{
    // Every row starts from a base folder that holds nothing but the copy's lock.
    const QString base = InUseGuard::lockBasePath();
    for (const QString &name : lockFolders()) {
        const QFileInfo entry(base + "/" + name);
        if (entry.isSymLink())
            QFile::remove(entry.filePath());
        else if (!copy || name != copy->lockName())
            QDir(entry.filePath()).removeRecursively();
    }
}

void tst_InUseGuard::foldersFound_data()
{
    QTest::addColumn<Holder>("holder");
    QTest::addColumn<LockText>("lockText");
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

void tst_InUseGuard::foldersFound()
{
    QFETCH(Holder, holder);
    QFETCH(LockText, lockText);
    QFETCH(QString, recordedPath);
    QFETCH(bool, otherFile);
    QFETCH(bool, blocks);
    QFETCH(bool, lockKept);

    qint64 id = 0;
    switch (holder) {
    case Holder::EndedProcess:
        id = endedProcessId();
        break;
    case Holder::ThisProcess:
        id = QCoreApplication::applicationPid();
        break;
    case Holder::Copy:
        id = copy->processId();
        break;
    case Holder::OtherProgram:
        id = otherProgram.processId();
        break;
    }
    const QString folder = InUseGuard::lockBasePath() + "/{found}";
    QVERIFY(QDir().mkpath(folder));
    QByteArray text = recordedPath.toUtf8() + '\n' + QByteArray::number(id) + '\n';
    if (lockText == LockText::SecondLineUnfinished)
        text.chop(1);
    if (lockText != LockText::Missing)
        writeFile(folder + "/lock.txt", text);
    writeFile(folder + "/panel.qvksk", "{}");
    writeFile(folder + "/project.qvcpj", "{}");
    if (otherFile)
        writeFile(folder + "/notes.txt", "keep");

    InUseGuard guard;
    QCOMPARE(guard.acquire(lockedFile), !blocks);
    QCOMPARE(guard.lockName().isEmpty(), blocks);
    guard.release();

    const bool removed = lockText != LockText::Missing && !lockKept;
    QCOMPARE(QFileInfo::exists(folder + "/lock.txt"), lockText != LockText::Missing && lockKept);
    QCOMPARE(QFileInfo::exists(folder + "/panel.qvksk"), !removed);
    QCOMPARE(QFileInfo::exists(folder + "/project.qvcpj"), !removed);
    QCOMPARE(QFileInfo::exists(folder), !removed || otherFile);
    if (otherFile)
        QVERIFY(QFileInfo::exists(folder + "/notes.txt"));
}

void tst_InUseGuard::symbolicLinksAreNeverFollowed()
{
    // A stale lock elsewhere, reached through a link in the base folder.
    const QString elsewhere = QDir::tempPath() + "/elsewhere";
    QVERIFY(QDir().mkpath(elsewhere));
    writeFile(elsewhere + "/lock.txt",
              lockedFile.toUtf8() + '\n' + QByteArray::number(endedProcessId()) + '\n');
    writeFile(elsewhere + "/panel.qvksk", "{}");
    const QString base = InUseGuard::lockBasePath();
    QVERIFY(QDir().mkpath(base));
    QFile::remove(base + "/{link}");
    QVERIFY(QFile::link(elsewhere, base + "/{link}"));
    // And a folder whose controller file is a link to a file elsewhere.
    QVERIFY(QDir().mkpath(base + "/{stale}"));
    writeFile(base + "/{stale}/lock.txt",
              lockedFile.toUtf8() + '\n' + QByteArray::number(endedProcessId()) + '\n');
    QVERIFY(QFile::link(elsewhere + "/panel.qvksk", base + "/{stale}/linked.qvksk"));

    InUseGuard guard;
    QVERIFY(guard.acquire(lockedFile));
    guard.release();

    QVERIFY(QFileInfo::exists(elsewhere + "/lock.txt"));
    QVERIFY(QFileInfo::exists(elsewhere + "/panel.qvksk"));
    QVERIFY(QFileInfo(base + "/{stale}/linked.qvksk").isSymLink());
    QVERIFY(!QFileInfo::exists(base + "/{stale}/lock.txt"));
    QFile::remove(base + "/{link}");
    QDir(elsewhere).removeRecursively();
}

void tst_InUseGuard::twoCopies()
{
    const QString otherFile = QStringLiteral("/srv/kiosk/Hall.qvksk");
    LockHolder holder(lockedFile);
    QVERIFY(holder.isHolding());
    const QString folder = InUseGuard::lockBasePath() + "/" + holder.lockName();
    QFile lockFile(folder + "/lock.txt");
    QVERIFY(lockFile.open(QIODevice::ReadOnly));
    QCOMPARE(lockFile.readAll(),
             lockedFile.toUtf8() + '\n' + QByteArray::number(holder.processId()) + '\n');
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"lock.txt"});

    InUseGuard guard;
    QVERIFY(!guard.acquire(lockedFile));
    QVERIFY(guard.acquire(QStringLiteral("/srv/kiosk/LOBBY.qvksk")));
    guard.release();
    QVERIFY(guard.acquire(otherFile));
    // A lock already held answers for any file, without a look.
    QVERIFY(guard.acquire(lockedFile));
    guard.release();
}

void tst_InUseGuard::baseFolderIsTheUsersOwn()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    QCOMPARE(InUseGuard::lockBasePath(), QString::fromLocal8Bit(runtime) + "/Brennix/QVControl");

    // Without a runtime folder: a folder of the temporary location that only this user enters.
    const QTemporaryDir temporary;
    ScopedEnvironment tmp("TMPDIR", QFile::encodeName(temporary.path()));
    ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", QByteArray());
    const QString base = InUseGuard::lockBasePath();
    QVERIFY2(base.startsWith(QDir::tempPath() + "/"), qPrintable(base));
    const QString root = base.chopped(QStringLiteral("/Brennix/QVControl").size());
    struct stat info = {};
    QCOMPARE(stat(QFile::encodeName(root).constData(), &info), 0);
    QCOMPARE(info.st_uid, geteuid());
    QCOMPARE(info.st_mode & 0777, 0700u);
}

void tst_InUseGuard::baseFolderOfAnotherUserIsRefused()
{
    const QTemporaryDir temporary;
    ScopedEnvironment tmp("TMPDIR", QFile::encodeName(temporary.path()));
    ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", QByteArray());
    const QString base = InUseGuard::lockBasePath();
    const QString root = base.chopped(QStringLiteral("/Brennix/QVControl").size());
    QVERIFY2(root.startsWith(temporary.path() + "/"), qPrintable(root));
    const QByteArray rootName = QFile::encodeName(root);
    if (chown(rootName.constData(), 4242, 4242) != 0)
        QSKIP("needs to hand a folder to another user (run as root)");

    InUseGuard guard;
    StdoutCapture output;
    const bool acquired = guard.acquire(lockedFile);
    const QByteArray printed = output.take();
    QVERIFY(acquired); // the open goes on without a lock
    QCOMPARE(guard.lockName(), QString());
    QVERIFY(!QFileInfo::exists(root + "/Brennix"));
    QVERIFY(printed.contains("failed to create a lock for " + lockedFile.toUtf8()));
    QCOMPARE(chown(rootName.constData(), geteuid(), getegid()), 0);
}

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

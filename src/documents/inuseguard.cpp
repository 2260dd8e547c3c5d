#include "inuseguard.h"

#include "base/logging.h"
#include "platform/copieslock.h"
#include "platform/currentprocess.h"
#include "platform/processlist.h"
#include "platform/tempfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

const QString lockFileName = QStringLiteral("lock.txt");
constexpr int folderAttempts = 9;
// A path and a process id take far less; anything longer is not a lock file of ours.
constexpr qint64 lockFileLimit = 64 * 1024;
// Another copy holds the lock among copies only while it scans and makes its folder.
constexpr int copiesLockTimeoutMs = 5000;
// A process that started this much after its lock file was written cannot have written it:
// its id was reused. The margin covers the start time's clock-tick resolution.
constexpr qint64 reusedIdMarginMs = 1000;

struct LockRecord
{
    QString path;
    std::uint32_t processId = 0;
    qint64 writtenMs = 0; // the lock file's modification time
};

// Both lines must be complete (each ended by a line feed) and the second exactly the decimal
// text of a process id (no sign, no leading zero); anything else may be a file still being
// written by an older writer, or not ours, and counts as unreadable.
std::optional<LockRecord> readLock(const QString &folder)
{
    const QString fileName = folder + QLatin1Char('/') + lockFileName;
    if (QFileInfo(fileName).isSymLink())
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = file.read(lockFileLimit);
    const qsizetype firstEnd = data.indexOf('\n');
    if (firstEnd < 0)
        return std::nullopt;
    const qsizetype secondEnd = data.indexOf('\n', firstEnd + 1);
    const QByteArray id = data.mid(firstEnd + 1, secondEnd - firstEnd - 1);
    if (secondEnd < 0 || id.isEmpty() || id.size() > 10 || id.front() == '0'
        || !std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const qulonglong value = id.toULongLong();
    if (value > 0xFFFFFFFFull)
        return std::nullopt;
    return LockRecord{QString::fromUtf8(data.left(firstEnd)),
                      static_cast<std::uint32_t>(value),
                      QFileInfo(file).lastModified().toMSecsSinceEpoch()};
}

// The recorded process no longer holds the lock: it has ended, it is this process, or its id
// now belongs to a process started after the lock was written.
bool isStale(const LockRecord &lock, std::uint32_t self)
{
    if (lock.processId == self || !platform::isProcessRunning(lock.processId))
        return true;
    const std::int64_t started = platform::processStartTime(lock.processId);
    return started != 0 && started > lock.writtenMs + reusedIdMarginMs;
}

QString cleanedAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void removeLockFolder(const QString &base, const QString &name)
{
    const QString folder = base + QLatin1Char('/') + name;
    InUseGuard::removeControllerFilesIn(folder);
    if (!QFileInfo(folder + QLatin1Char('/') + lockFileName).isDir())
        QFile::remove(folder + QLatin1Char('/') + lockFileName);
    // Fails, as it should, when anything else is left in the folder.
    if (!QDir(base).rmdir(name) && QFileInfo(folder).isDir())
        qCWarning(lcGuard).noquote()
            << QStringLiteral("the lock folder %1 is kept: it holds files that are not ours (%2)")
                   .arg(folder,
                        QDir(folder)
                            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                            .join(QStringLiteral(", ")));
}

// The base folder and each folder up to it must be real folders, never symbolic links.
bool makeBaseFolder(const QString &base)
{
    if (base.isEmpty() || !QDir().mkpath(base))
        return false;
    const QString parent = QFileInfo(base).path();
    return !QFileInfo(base).isSymLink() && !QFileInfo(parent).isSymLink();
}

void reportNoLock(const QString &path, const QString &why)
{
    std::fprintf(stdout, "failed to create a lock for %s\n", path.toUtf8().constData());
    std::fflush(stdout);
    qCWarning(lcGuard).noquote() << QStringLiteral("no lock for %1: %2; the file opens unguarded")
                                        .arg(path, why);
}

std::string nativePath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

InUseGuard::~InUseGuard() = default;

QString InUseGuard::lockBasePath()
{
    const QString root = platform::temporaryFolderIsPerUser()
                             ? QStandardPaths::writableLocation(QStandardPaths::TempLocation)
                             : QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (root.isEmpty())
        return {};
    return root + QStringLiteral("/Brennix/QVControl");
}

void InUseGuard::removeControllerFilesIn(const QString &folder)
{
    const QDir dir(folder);
    const QStringList patterns{QStringLiteral("*.qvcpj"), QStringLiteral("*.qvksk")};
    // Regular files only: never a link, a FIFO, a socket or a device that happens to carry
    // such a name.
    const QFileInfoList files = dir.entryInfoList(patterns, QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files) {
        if (file.isFile() && !file.isSymLink())
            QFile::remove(file.filePath());
    }
}

bool InUseGuard::canRecord(const QString &path)
{
    return !path.contains(QLatin1Char('\n')) && QString::fromUtf8(path.toUtf8()) == path;
}

bool InUseGuard::acquire(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (!heldName.isEmpty())
        return true;

    const QString base = lockBasePath();
    if (!makeBaseFolder(base)) {
        reportNoLock(path,
                     QStringLiteral("the lock folder %1 cannot be made, or is a link")
                         .arg(base.isEmpty() ? QStringLiteral("(none)") : base));
        return true;
    }
    // Listing the copies, scanning their folders and making ours are one step among copies:
    // two copies started together could otherwise both find the file free.
    const platform::CopiesLock copiesLock(nativePath(base), copiesLockTimeoutMs);
    if (!copiesLock.isHeld()) {
        qCWarning(lcGuard).noquote()
            << QStringLiteral("could not take the lock among copies in %1; going on without it")
                   .arg(base);
    }

    const std::uint32_t self = platform::currentProcessId();
    std::vector<std::uint32_t> copies = platform::processIdsByExecutableName(
        platform::fileNameOf(platform::executablePath()));
    copies.erase(std::remove(copies.begin(), copies.end(), self), copies.end());

    const QString wanted = cleanedAbsolute(path);
    bool inUse = false;
    const QStringList folders = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot
                                                     | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : folders) {
        const std::optional<LockRecord> lock = readLock(base + QLatin1Char('/') + name);
        if (!lock)
            continue;
        if (isStale(*lock, self)) {
            removeLockFolder(base, name);
            continue;
        }
        // A process id that runs but is no copy of ours is left alone: it may be the sibling
        // application's live lock.
        if (std::find(copies.begin(), copies.end(), lock->processId) != copies.end()
            && cleanedAbsolute(lock->path) == wanted)
            inUse = true;
    }
    if (inUse)
        return false;

    QString name;
    for (int attempt = 0; attempt < folderAttempts && name.isEmpty(); ++attempt) {
        const QString drawn = QUuid::createUuid().toString(QUuid::WithBraces);
        // mkdir fails on an existing name, so the folder is ours alone.
        if (QDir(base).mkdir(drawn))
            name = drawn;
    }
    if (name.isEmpty()) {
        reportNoLock(path, QStringLiteral("no folder can be made in %1").arg(base));
        return true;
    }
    const QString folder = base + QLatin1Char('/') + name;
    // Written aside and renamed into place, so a reader never sees half a lock.
    QSaveFile file(folder + QLatin1Char('/') + lockFileName);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(path.toUtf8() + '\n' + QByteArray::number(self) + '\n') < 0
        || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        QDir(base).rmdir(name);
        reportNoLock(path,
                     QStringLiteral("the lock file in %1 cannot be written: %2").arg(folder, why));
        return true;
    }
    heldName = name;
    heldFolder = folder;
    return true;
}

void InUseGuard::release()
{
    if (heldName.isEmpty())
        return;
    const QString base = QFileInfo(heldFolder).path();
    if (QFileInfo(base).isDir())
        removeLockFolder(base, heldName);
    heldName.clear();
    heldFolder.clear();
}

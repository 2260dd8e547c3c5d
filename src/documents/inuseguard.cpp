#include "inuseguard.h"

#include "platform/currentprocess.h"
#include "platform/processlist.h"
#include "platform/tempfolder.h"

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

struct LockRecord
{
    QString path;
    std::uint32_t processId = 0;
};

// Both lines must be complete (each ended by a line feed) and the second a process id;
// anything else may be a file still being written by an older writer and counts as unreadable.
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
    if (secondEnd < 0 || id.isEmpty() || id.size() > 10
        || !std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const qulonglong value = id.toULongLong();
    if (value > 0xFFFFFFFFull)
        return std::nullopt;
    return LockRecord{QString::fromUtf8(data.left(firstEnd)), static_cast<std::uint32_t>(value)};
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
    QDir(base).rmdir(name);
}

// The base folder and each folder up to it must be real folders, never symbolic links.
bool makeBaseFolder(const QString &base)
{
    if (base.isEmpty() || !QDir().mkpath(base))
        return false;
    const QString parent = QFileInfo(base).path();
    return !QFileInfo(base).isSymLink() && !QFileInfo(parent).isSymLink();
}

void reportNoLock(const QString &path)
{
    std::fprintf(stdout, "failed to create a lock for %s\n", path.toUtf8().constData());
    std::fflush(stdout);
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
    const QStringList files = dir.entryList(patterns,
                                            QDir::Files | QDir::Hidden | QDir::System
                                                | QDir::NoSymLinks);
    for (const QString &name : files)
        QFile::remove(dir.filePath(name));
}

bool InUseGuard::acquire(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (!heldName.isEmpty())
        return true;

    const std::uint32_t self = platform::currentProcessId();
    std::vector<std::uint32_t> copies = platform::processIdsByExecutableName(
        platform::fileNameOf(platform::executablePath()));
    copies.erase(std::remove(copies.begin(), copies.end(), self), copies.end());

    const QString base = lockBasePath();
    const QString wanted = cleanedAbsolute(path);
    bool inUse = false;
    if (!base.isEmpty() && QFileInfo(base).isDir() && !QFileInfo(base).isSymLink()) {
        const QStringList folders = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot
                                                         | QDir::Hidden | QDir::NoSymLinks);
        for (const QString &name : folders) {
            const std::optional<LockRecord> lock = readLock(base + QLatin1Char('/') + name);
            if (!lock)
                continue;
            // A process id that runs but is no copy of ours is left alone: it may be the
            // sibling application's live lock.
            if (lock->processId == self || !platform::isProcessRunning(lock->processId)) {
                removeLockFolder(base, name);
                continue;
            }
            if (std::find(copies.begin(), copies.end(), lock->processId) != copies.end()
                && cleanedAbsolute(lock->path) == wanted)
                inUse = true;
        }
    }
    if (inUse)
        return false;

    if (!makeBaseFolder(base)) {
        reportNoLock(path);
        return true;
    }
    QString name;
    for (int attempt = 0; attempt < folderAttempts && name.isEmpty(); ++attempt) {
        const QString drawn = QUuid::createUuid().toString(QUuid::WithBraces);
        // mkdir fails on an existing name, so the folder is ours alone.
        if (QDir(base).mkdir(drawn))
            name = drawn;
    }
    if (name.isEmpty()) {
        reportNoLock(path);
        return true;
    }
    const QString folder = base + QLatin1Char('/') + name;
    // Written aside and renamed into place, so a reader never sees half a lock.
    QSaveFile file(folder + QLatin1Char('/') + lockFileName);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(path.toUtf8() + '\n' + QByteArray::number(self) + '\n') < 0
        || !file.commit()) {
        file.cancelWriting();
        QDir(base).rmdir(name);
        reportNoLock(path);
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

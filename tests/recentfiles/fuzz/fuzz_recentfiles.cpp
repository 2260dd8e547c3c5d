// libFuzzer target for the saved recent-files list: reading what was written gives the saved
// entries back, each with its path, flag and time to the second.

#include "recentfiles/recentfilesform.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr int limit = 100;
    const QString extension = QStringLiteral("qvksk");
    const QList<CRecentFilesModel::UseFile> read
        = readRecentFiles(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)),
                          extension);
    QList<CRecentFilesModel::UseFile> saved;
    for (qsizetype i = 0; i < read.size() && i < limit; ++i) {
        if (isSavablePath(read.at(i).fileInfo.filePath()))
            saved.append(read.at(i));
    }
    const QList<CRecentFilesModel::UseFile> again = readRecentFiles(writeRecentFiles(read, limit),
                                                                    extension);
    if (again.size() != saved.size())
        __builtin_trap();
    for (qsizetype i = 0; i < saved.size(); ++i) {
        const QDateTime &time = saved.at(i).lastUsed;
        if (again.at(i).fileInfo.filePath() != saved.at(i).fileInfo.filePath()
            || again.at(i).fixed != saved.at(i).fixed
            || (time.isValid() ? time.addMSecs(-time.time().msec()) != again.at(i).lastUsed
                               : again.at(i).lastUsed.isValid()))
            __builtin_trap();
    }
    return 0;
}

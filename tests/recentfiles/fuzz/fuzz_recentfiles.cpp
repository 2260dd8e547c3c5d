// libFuzzer target for the reader of the saved recent-files list. Besides "no crash, no hang", it
// checks that reading what was written gives the same list: the saved entries, each with its path,
// flag and time to the second.

#include "recentfiles/recentfilesform.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr int limit = 100;

bool sameToTheSecond(const QDateTime &read, const QDateTime &again)
{
    if (!read.isValid() || !again.isValid())
        return read.isValid() == again.isValid();
    return read.addMSecs(-read.time().msec()) == again;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString extension = QStringLiteral("qvksk");
    const QList<CRecentFilesModel::UseFile> read = readRecentFiles(text, extension);

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
        if (again.at(i).fileInfo.filePath() != saved.at(i).fileInfo.filePath()
            || again.at(i).fixed != saved.at(i).fixed
            || !sameToTheSecond(saved.at(i).lastUsed, again.at(i).lastUsed))
            __builtin_trap();
    }
    return 0;
}

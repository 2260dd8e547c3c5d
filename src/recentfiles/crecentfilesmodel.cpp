#include "crecentfilesmodel.h"

#include "base/widgethelpers.h"
#include "recentfilesform.h"
#include "style/resourceimagescache.h"

#include <QStandardItem>
#include <QStandardItemModel>
#include <QTextDocument>

#include <algorithm>

namespace {

// A file name shows on at most four lines of twelve characters under its icon.
constexpr int itemTextWidth = 12;
constexpr int itemTextLines = 4;

bool comesBefore(const CRecentFilesModel::UseFile &a, const CRecentFilesModel::UseFile &b)
{
    if (a.fixed != b.fixed)
        return a.fixed;
    // QDateTime puts an invalid time before every valid one: entries without a readable time
    // come last in their group.
    return a.lastUsed > b.lastUsed;
}

// Tool tips take text that looks like markup as markup; a file name may contain "<".
QString toolTipText(const QString &path)
{
    if (!Qt::mightBeRichText(path))
        return path;
    return QStringLiteral("<p style=\"white-space:pre\">") + path.toHtmlEscaped()
           + QStringLiteral("</p>");
}

} // namespace

CRecentFilesModel::CRecentFilesModel(QStandardItemModel *items)
    : items(items)
{}

CRecentFilesModel::~CRecentFilesModel() = default;

bool CRecentFilesModel::fromString(const QString &text)
{
    QList<UseFile> read = readRecentFiles(text, acceptedExtension());
    if (read.isEmpty())
        return false;
    files = std::move(read);
    sort();
    return updateItems();
}

QString CRecentFilesModel::toString() const
{
    return writeRecentFiles(files, maxShown);
}

bool CRecentFilesModel::addFile(const QString &path)
{
    const int i = indexOf(path);
    if (i >= 0) {
        files[i].lastUsed = QDateTime::currentDateTime();
        changed = true;
    } else {
        UseFile file;
        file.fileInfo = QFileInfo(path);
        file.lastUsed = QDateTime::currentDateTime();
        if (file.fileInfo.suffix().compare(acceptedExtension(), Qt::CaseInsensitive) == 0) {
            files.append(file);
            changed = true;
        }
    }
    sort();
    return updateItems();
}

void CRecentFilesModel::removeFile(const QString &path)
{
    const int i = indexOf(path);
    if (i >= 0 && !files.at(i).fixed) {
        files.removeAt(i);
        changed = true;
    }
    updateItems();
}

void CRecentFilesModel::toggleFix(const QString &path)
{
    const int i = indexOf(path);
    if (i >= 0) {
        files[i].fixed = !files.at(i).fixed;
        changed = true;
    }
    sort();
    updateItems();
}

bool CRecentFilesModel::isFix(const QString &path) const
{
    const int i = indexOf(path);
    return i >= 0 && files.at(i).fixed;
}

int CRecentFilesModel::indexOf(const QString &path) const
{
    // Only an existing file has a canonical path; two missing files never match this way.
    const QString canonical = QFileInfo(path).canonicalFilePath();
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity fileCase = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity fileCase = Qt::CaseSensitive;
#endif
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QFileInfo &info = files.at(i).fileInfo;
        // The stored path is what the area hands back; it may be relative or not clean, so that
        // its absolute form differs from it.
        if (info.absoluteFilePath() == path || info.filePath() == path)
            return int(i);
        if (!canonical.isEmpty() && info.canonicalFilePath().compare(canonical, fileCase) == 0)
            return int(i);
    }
    return -1;
}

void CRecentFilesModel::sort()
{
    std::stable_sort(files.begin(), files.end(), comesBefore);
}

bool CRecentFilesModel::updateItems()
{
    items->clear();
    const qsizetype count = std::min<qsizetype>(files.size(), maxShown);
    for (qsizetype i = 0; i < count; ++i) {
        const UseFile &file = files.at(i);
        auto item = new QStandardItem(
            wrapText(file.fileInfo.fileName(), itemTextWidth, itemTextLines));
        const QString iconPath = file.fixed
                                     ? QStringLiteral(
                                         ":/images/file_icon/QVKiosk_file_fix_icon.svg")
                                     : QStringLiteral(":/images/file_icon/QVKiosk_file_icon.svg");
        if (const QPixmap *pixmap = ResourceImagesCache::instance()->pixmap(iconPath))
            item->setIcon(QIcon(*pixmap));
        item->setData(file.fileInfo.filePath(), Qt::UserRole);
        item->setData(file.fixed, Qt::UserRole + 1);
        item->setData(file.lastUsed, Qt::UserRole + 2);
        item->setToolTip(toolTipText(file.fileInfo.absoluteFilePath()));
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        items->appendRow(item);
    }
    return items->rowCount() > 0;
}

QString CRecentFilesModel::acceptedExtension()
{
    return isControlApplication() ? QStringLiteral("qvcppj") : QStringLiteral("qvksk");
}

#include "wrongcodebackoff.h"

#include "base/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

namespace {

QString countKey(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QJsonObject readCounts(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Only counts are kept: a few bytes a file.
    return QJsonDocument::fromJson(file.read(4 * 1024 * 1024)).object();
}

} // namespace

WrongCodeBackoff::WrongCodeBackoff(const QString &folder)
    : fileName(folder + QStringLiteral("/attempts.json"))
{}

int WrongCodeBackoff::wrongCodes(const QString &path) const
{
    return std::max(0, readCounts(fileName).value(countKey(path)).toInt());
}

std::chrono::milliseconds WrongCodeBackoff::waitBeforeCheck(const QString &path) const
{
    const int beyond = wrongCodes(path) - schedule.freeTries;
    if (beyond < 0)
        return std::chrono::milliseconds(0);
    std::chrono::milliseconds wait = schedule.first;
    for (int i = 0; i < beyond && wait < schedule.longest; ++i)
        wait *= 2;
    return std::min(wait, schedule.longest);
}

void WrongCodeBackoff::recordWrongCode(const QString &path)
{
    store(path, wrongCodes(path) + 1);
}

void WrongCodeBackoff::recordRightCode(const QString &path)
{
    if (wrongCodes(path) != 0)
        store(path, 0);
}

void WrongCodeBackoff::store(const QString &path, int count)
{
    QJsonObject counts = readCounts(fileName);
    if (count == 0)
        counts.remove(countKey(path));
    else
        counts[countKey(path)] = count;
    QDir().mkpath(QFileInfo(fileName).path());
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly)
        && file.write(QJsonDocument(counts).toJson(QJsonDocument::Compact)) >= 0 && file.commit())
        return;
    qCWarning(lcOpen).noquote() << QStringLiteral("the wrong-code count of %1 cannot be kept in "
                                                  "%2: %3")
                                       .arg(path, fileName, file.errorString());
}

#include "operatorjournal.h"

#include "base/logging.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

QString levelText(AccessLevel level)
{
    switch (level) {
    case AccessLevel::Administrator:
        return QStringLiteral("Administrator");
    case AccessLevel::PowerUser:
        return QStringLiteral("Power User");
    case AccessLevel::None:
        break;
    }
    return {};
}

// One write call, so that a line is never split by another writer's.
bool appendWhole(const QString &fileName, const QByteArray &line, QString &why)
{
#ifdef Q_OS_WIN
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(line) != line.size()) {
        why = file.errorString();
        return false;
    }
    return true;
#else
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC,
                          0600);
    if (fd < 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const ssize_t written = ::write(fd, line.constData(), static_cast<size_t>(line.size()));
    if (written != line.size())
        why = written < 0 ? QString::fromLocal8Bit(std::strerror(errno))
                          : QStringLiteral("only part of the line was written");
    ::close(fd);
    return written == line.size();
#endif
}

} // namespace

QString OperatorJournal::stateFolder()
{
#ifdef Q_OS_WIN
    // Qt 6.4 has no state location; the generic data folder on Windows is the local one.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // The base directory specification ignores a relative path.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
#endif
    return base + QStringLiteral("/Brennix/QVKiosk");
}

OperatorJournal::OperatorJournal(const QString &folder, std::int64_t limit)
    : folder(folder)
    , limit(limit)
{}

QString OperatorJournal::filePath() const
{
    return folder + QStringLiteral("/journal.jsonl");
}

QString OperatorJournal::outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::HandedOver:
        return QStringLiteral("handed-over");
    case Outcome::WrongCode:
        return QStringLiteral("wrong-code");
    case Outcome::Cancelled:
        return QStringLiteral("cancelled");
    case Outcome::InUse:
        return QStringLiteral("in-use");
    case Outcome::NotSupported:
        return QStringLiteral("not-supported");
    case Outcome::ReadError:
        return QStringLiteral("read-error");
    case Outcome::LaunchFailed:
        return QStringLiteral("launch-failed");
    }
    return {};
}

bool OperatorJournal::record(const QString &file,
                             const QString &title,
                             AccessLevel level,
                             Outcome outcome)
{
    // Local time with its offset always written out (Qt writes "Z" for UTC), so lines from
    // either side of a clock change still compare.
    const QDateTime now = QDateTime::currentDateTime();
    const int offset = now.offsetFromUtc();
    const QString time = now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"))
                         + QStringLiteral("%1%2:%3")
                               .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                               .arg(qAbs(offset) / 3600, 2, 10, QLatin1Char('0'))
                               .arg(qAbs(offset) % 3600 / 60, 2, 10, QLatin1Char('0'));
    const QJsonObject entry{
        {QStringLiteral("time"), time},
        {QStringLiteral("file"), QDir::cleanPath(QFileInfo(file).absoluteFilePath())},
        {QStringLiteral("title"), title},
        {QStringLiteral("level"), levelText(level)},
        {QStringLiteral("outcome"), outcomeText(outcome)},
    };
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    const QString name = filePath();
    QString why;
    if (!QDir().mkpath(folder)) {
        why = QStringLiteral("its folder cannot be made");
    } else {
        // Two copies may both move the file; the second move fails and both append anew.
        if (QFileInfo(name).size() + line.size() > limit) {
            const QString older = folder + QStringLiteral("/journal.1.jsonl");
            QFile::remove(older);
            QFile::rename(name, older);
        }
        if (appendWhole(name, line, why))
            return true;
    }
    qCWarning(lcJournal).noquote() << QStringLiteral("the journal %1 cannot be written (%2); "
                                                     "the %3 of %4 is not recorded")
                                          .arg(name, why, outcomeText(outcome), file);
    return false;
}

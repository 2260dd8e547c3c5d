#include "operatorjournal.h"

#include "base/logging.h"
#include "platform/appendfile.h"
#include "platform/lasterror.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

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

} // namespace

QString OperatorJournal::stateFolder()
{
    // Qt 6.4 has no state location of its own.
    return QString::fromStdString(platform::userStateFolder()) + QStringLiteral("/Brennix/QVKiosk");
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
        if (platform::appendWhole(QFile::encodeName(name).toStdString(), line.toStdString()))
            return true;
        why = QString::fromStdString(platform::errorText(platform::lastError()));
    }
    qCWarning(lcJournal).noquote() << QStringLiteral("the journal %1 cannot be written (%2); "
                                                     "the %3 of %4 is not recorded")
                                          .arg(name, why, outcomeText(outcome), file);
    return false;
}

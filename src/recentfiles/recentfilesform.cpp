#include "recentfilesform.h"

#include <QChar>

namespace {

const QChar quote = QLatin1Char('"');
const QChar comma = QLatin1Char(',');

// Splits the saved form into its fields. Like splitting at every comma, the text always has at
// least one field and a trailing comma gives one more, empty field.
QStringList splitFields(const QString &text)
{
    QStringList fields;
    const qsizetype length = text.size();
    // Once no closing quote is found after some position, none is after any later one either:
    // remembering that keeps a text full of unclosed quotes linear.
    bool closingQuoteLeft = true;
    qsizetype pos = 0;
    for (;;) {
        qsizetype end = -1; // the comma after the field, or length
        if (closingQuoteLeft && pos < length && text.at(pos) == quote) {
            qsizetype close = text.indexOf(quote, pos + 1);
            while (close >= 0 && close + 1 < length && text.at(close + 1) != comma)
                close = text.indexOf(quote, close + 1);
            if (close >= 0) {
                fields.append(text.mid(pos + 1, close - pos - 1));
                end = close + 1;
            } else {
                closingQuoteLeft = false;
            }
        }
        if (end < 0) {
            end = text.indexOf(comma, pos);
            if (end < 0)
                end = length;
            fields.append(text.mid(pos, end - pos));
        }
        if (end >= length)
            return fields;
        pos = end + 1;
    }
}

} // namespace

QList<CRecentFilesModel::UseFile> readRecentFiles(const QString &text, const QString &extension)
{
    const QStringList fields = splitFields(text);
    QList<CRecentFilesModel::UseFile> files;
    for (qsizetype k = 0; k + 2 < fields.size(); k += 3) {
        CRecentFilesModel::UseFile file;
        file.fileInfo = QFileInfo(fields.at(k));
        if (file.fileInfo.suffix().compare(extension, Qt::CaseInsensitive) != 0)
            continue;
        file.fixed = fields.at(k + 1) == QLatin1String("true");
        file.lastUsed = QDateTime::fromString(fields.at(k + 2), Qt::ISODate);
        files.append(file);
    }
    return files;
}

QString writeRecentFiles(const QList<CRecentFilesModel::UseFile> &files, int limit)
{
    QString text;
    const qsizetype count = std::min<qsizetype>(files.size(), std::max(limit, 0));
    for (qsizetype i = 0; i < count; ++i) {
        const CRecentFilesModel::UseFile &file = files.at(i);
        const QString path = file.fileInfo.filePath();
        if (!isSavablePath(path))
            continue;
        if (!text.isEmpty())
            text += comma;
        text += quote + path + QLatin1String("\",\"")
                + (file.fixed ? QLatin1String("true") : QLatin1String("false"))
                + QLatin1String("\",\"") + file.lastUsed.toString(Qt::ISODate) + quote;
    }
    return text;
}

bool isSavablePath(const QString &path)
{
    return !path.contains(quote);
}

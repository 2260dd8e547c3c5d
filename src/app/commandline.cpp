#include "commandline.h"

#include <QDir>

CommandLine::CommandLine(const QStringList &arguments)
    : words(arguments)
{
    if (arguments.size() >= 5) {
        mode = Start::Relay;
    } else if (arguments.size() == 2 && arguments.at(1) == QLatin1String("nonSplash")) {
        mode = Start::NonSplash;
    } else if (arguments.size() == 2) {
        mode = Start::File;
        const QString &given = arguments.at(1);
        // Not QFileInfo::absoluteFilePath(): it removes ".." as text.
        file = given.isEmpty() || QDir::isAbsolutePath(given)
                   ? given
                   : QDir::currentPath() + QLatin1Char('/') + given;
    }
}

std::string CommandLine::relayArgument(int index) const
{
    return words.value(index + 1).toStdString();
}

#pragma once

#include <QString>
#include <QStringList>

#include <string>

// What the command line asks for, decided once from QCoreApplication::arguments() (element 0
// is the program path): the start-up and the main window both ask this.
class CommandLine final
{
public:
    enum class Start {
        Plain,     // no argument, or two or three (ignored)
        NonSplash, // the one argument "nonSplash", exactly
        File,      // any other one argument: a controller file to open at once
        Relay,     // four or more: start the runtime for the calling program
    };

    explicit CommandLine(const QStringList &arguments);

    Start start() const { return mode; }
    bool showsSplash() const { return mode != Start::NonSplash; }

    // File start: the argument made absolute against the folder the program was started in,
    // so that it still names the file after the standby start changes that folder. ".." is
    // left in place: through a link it is the file system that says what it names.
    const QString &filePath() const { return file; }

    // Relay mode's first four arguments (two for the runtime, the caller's block name and
    // its size) in UTF-8.
    std::string relayArgument(int index) const;

private:
    QStringList words;
    Start mode = Start::Plain;
    QString file;
};

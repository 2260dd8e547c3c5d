#include "documentstestsupport.h"

#include "documents/dialogauthenticate.h"
#include "documents/inuseguard.h"

#include "dialogs/customdialogtitlebar.h"
#include "dialogs/custommessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryFile>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

int runLockHolderIfAsked(int argc, char **argv)
{
    if (argc != 3 || qstrcmp(argv[1], "--hold-lock") != 0)
        return -1;
    QCoreApplication application(argc, argv);
    InUseGuard guard;
    if (!guard.acquire(QString::fromUtf8(argv[2])))
        return 1;
    std::printf("%s\n", guard.lockName().toUtf8().constData());
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    guard.release();
    return 0;
}

LockHolder::LockHolder(const QString &path)
{
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock"), path});
    if (!process.waitForStarted())
        return;
    while (!process.canReadLine() && process.waitForReadyRead(10000)) {
    }
    folderName = QString::fromUtf8(process.readLine().trimmed());
}

LockHolder::~LockHolder()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.closeWriteChannel();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
}

StdoutCapture::StdoutCapture()
{
    QTemporaryFile file;
    file.setAutoRemove(false);
    if (!file.open())
        return;
    fileName = file.fileName();
    std::fflush(stdout);
    savedStdout = dup(STDOUT_FILENO);
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_APPEND);
    dup2(fd, STDOUT_FILENO);
    ::close(fd);
}

StdoutCapture::~StdoutCapture()
{
    restore();
    QFile::remove(fileName);
}

void StdoutCapture::restore()
{
    if (savedStdout < 0)
        return;
    std::fflush(stdout);
    dup2(savedStdout, STDOUT_FILENO);
    ::close(savedStdout);
    savedStdout = -1;
}

QByteArray StdoutCapture::take()
{
    restore();
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

DialogAnswerer::DialogAnswerer()
{
    QTimer::singleShot(10, this, &DialogAnswerer::answer);
}

void DialogAnswerer::acceptCode(AccessLevel chosenLevel, const QString &chosenCode)
{
    acceptCodeDialog = true;
    level = chosenLevel;
    code = chosenCode;
}

void DialogAnswerer::cancelCode()
{
    acceptCodeDialog = false;
}

void DialogAnswerer::answer()
{
    // A fresh timer each time: Qt does not fire a timer again while its slot still runs, and
    // an answer may open the next dialog and wait in it.
    QTimer::singleShot(10, this, &DialogAnswerer::answer);
    QWidget *modal = QApplication::activeModalWidget();
    // A dialog stays the active modal widget for a moment after it was answered.
    if (modal == nullptr || !modal->isVisible() || modal == answered)
        return;
    answered = modal;
    if (auto box = qobject_cast<CustomMessageBox *>(modal)) {
        messages << box->findChild<QLabel *>(QStringLiteral("textLabel"))->text();
        messageTitles << box->findChild<CustomDialogTitleBar *>()->titleLabel()->text();
        box->findChild<QAbstractButton *>(QStringLiteral("okButton"))->click();
    } else if (auto dialog = qobject_cast<DialogAuthenticate *>(modal)) {
        ++codeDialogs;
        if (whileCodeDialogShows)
            whileCodeDialogShows();
        if (!acceptCodeDialog) {
            dialog->findChild<QAbstractButton *>(QStringLiteral("cancelButton"))->click();
            return;
        }
        const QString button = level == AccessLevel::PowerUser
                                   ? QStringLiteral("powerUserButton")
                                   : QStringLiteral("administratorButton");
        dialog->findChild<QRadioButton *>(button)->setChecked(true);
        dialog->findChild<QLineEdit *>(QStringLiteral("codeEdit"))->setText(code);
        dialog->findChild<QAbstractButton *>(QStringLiteral("okButton"))->click();
    } else if (auto fileDialog = qobject_cast<QFileDialog *>(modal)) {
        fileDialogFolders << fileDialog->directory().absolutePath();
        fileDialog->reject();
    } else if (auto other = qobject_cast<QDialog *>(modal)) {
        qWarning("DialogAnswerer: rejecting an unexpected %s", other->metaObject()->className());
        other->reject();
    }
}

ScopedEnvironment::ScopedEnvironment(const char *name, const QByteArray &value)
    : variable(name)
    , previous(qgetenv(name))
    , wasSet(qEnvironmentVariableIsSet(name))
{
    qputenv(name, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (wasSet)
        qputenv(variable.constData(), previous);
    else
        qunsetenv(variable.constData());
}

qint64 endedProcessId()
{
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForStarted();
    const qint64 id = process.processId();
    process.waitForFinished();
    return id;
}

#include "documentstestsupport.h"

#include "documents/dialogauthenticate.h"
#include "documents/inuseguard.h"

#include "dialogs/custommessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryFile>
#include <QTimer>

#include <cstdio>
#include <iostream>
#include <unistd.h>

int runLockHolderIfAsked(int argc, char **argv)
{
    if (argc != 3 || qstrcmp(argv[1], "--hold-lock") != 0)
        return -1;
    QCoreApplication application(argc, argv);
    // Says it is ready and waits to be told to go, so several copies can try at one moment.
    std::printf("ready\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    InUseGuard guard;
    if (!guard.acquire(QString::fromUtf8(argv[2])))
        return 1;
    std::printf("%s\n", guard.lockName().toUtf8().constData());
    std::fflush(stdout);
    while (std::getline(std::cin, line)) {
    }
    guard.release();
    return 0;
}

LockHolder::LockHolder(const QString &path, bool go)
{
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock"), path});
    if (readLine() == "ready" && go) {
        this->go();
        awaitLock();
    }
}

void LockHolder::go()
{
    process.write("go\n");
    process.waitForBytesWritten();
}

void LockHolder::awaitLock()
{
    lockName = QString::fromUtf8(readLine());
}

QByteArray LockHolder::readLine()
{
    while (process.waitForStarted() && !process.canReadLine() && process.waitForReadyRead(10000)) {
    }
    return process.readLine().trimmed();
}

LockHolder::~LockHolder()
{
    process.closeWriteChannel();
    if (!process.waitForFinished(10000))
        process.kill();
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
        box->findChild<QAbstractButton *>(QStringLiteral("okButton"))->click();
    } else if (auto dialog = qobject_cast<DialogAuthenticate *>(modal)) {
        ++codeDialogs;
        if (whileCodeDialogShows)
            whileCodeDialogShows();
        if (!acceptCodeDialog) {
            dialog->reject();
            return;
        }
        const char *button = level == AccessLevel::PowerUser ? "powerUserButton"
                                                             : "administratorButton";
        dialog->findChild<QRadioButton *>(QLatin1String(button))->setChecked(true);
        dialog->findChild<QLineEdit *>(QStringLiteral("codeEdit"))->setText(code);
        dialog->findChild<QAbstractButton *>(QStringLiteral("okButton"))->click();
    } else if (auto other = qobject_cast<QDialog *>(modal)) {
        // Any other dialog is rejected, and fails the test on its checks.
        if (auto files = qobject_cast<QFileDialog *>(modal)) {
            const auto name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            fileDialogs << QStringLiteral("%1, name \"%2\"")
                               .arg(files->directory().absolutePath(),
                                    name ? name->text() : QStringLiteral("?"));
        }
        other->reject();
    }
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

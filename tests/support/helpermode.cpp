#include "helpermode.h"

#include "modaldialoganswerer.h"

#include "app/runapplication.h"
#include "documents/inuseguard.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

int holdLock(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
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

class ShowWatch final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show
            && (watched->inherits("QSplashScreen") || watched->inherits("MainWindowBase")))
            std::printf("shown %s\n", watched->metaObject()->className());
        return false;
    }
};

ModalDialogAnswerer *answerer = nullptr;

// Runs inside the program's application object's construction, before any window.
void watchTheApplication()
{
    qApp->installEventFilter(new ShowWatch(qApp));
    answerer = new ModalDialogAnswerer;
}

} // namespace

int runAsHelperIfAsked(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--hold-lock") == 0)
        return holdLock(argc, argv);
    if (argc < 2 || qstrcmp(argv[1], "--run-application") != 0)
        return -1;
    std::vector<char *> arguments{argv[0]};
    arguments.insert(arguments.end(), argv + 2, argv + argc);
    int count = int(arguments.size());
    qAddPreRoutine(watchTheApplication);
    const int status = runApplication(count, arguments.data(), "ID_RESSTR_APPLICATION_QVKIOSK");
    for (const QString &message : answerer->messages)
        std::printf("message %s\n", message.toUtf8().constData());
    return status;
}

LockHolder::LockHolder(const QString &path, bool go)
{
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock"), path});
    if (readLine() == "ready" && go) {
        this->go();
        awaitLock();
    }
}

LockHolder::~LockHolder()
{
    process.closeWriteChannel();
    if (!process.waitForFinished(10000))
        process.kill();
}

void LockHolder::go()
{
    process.write("go\n");
    process.waitForBytesWritten();
}

QByteArray LockHolder::readLine()
{
    while (process.waitForStarted() && !process.canReadLine() && process.waitForReadyRead(10000)) {
    }
    return process.readLine().trimmed();
}

qint64 endedProcessId()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

#include "helpermode.h"

#include "modaldialoganswerer.h"

#include "app/runapplication.h"
#include "documents/inuseguard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <iostream>
#include <string>
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
    // Children of the application object, gone with it.
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
    std::fflush(stdout);
    delete answerer; // read after the application object is gone, so not its child
    answerer = nullptr;
    return status;
}

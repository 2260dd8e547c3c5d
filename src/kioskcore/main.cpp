#include "runtimeapplication.h"
#include "runtimearguments.h"
#include "runtimebehaviour.h"
#include "runtimeserver.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    const std::vector<std::string> words(argv, argv + argc);
    RuntimeArguments arguments;
    if (!RuntimeArguments::parse(words, arguments)) {
        std::fprintf(stderr, "usage: qvkioskcore <request block name> <size> [--standby]\n");
        return 2;
    }
    const RuntimeBehaviour behaviour = RuntimeBehaviour::fromEnvironment();
    RuntimeServer server(behaviour);
    if (!server.open(arguments)) {
        std::fprintf(stderr,
                     "qvkioskcore: cannot open request block %s\n",
                     arguments.blockName.c_str());
        return 3;
    }

    QApplication application(argc, argv);
    RuntimeApplication runtime(server, behaviour.noWindow);
    return QApplication::exec();
}

// The baseline of bench_startup: a bare Qt Widgets main window, of the size given with
// "--size <width> <height>" (the launcher's, so that both paint and keep as many pixels). With
// --window it times building, showing and painting the window and exits; without, it shows the
// window and runs until ended.

#include "windowtiming.h"

#include <QMainWindow>

#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    bool timed = false;
    QSize size;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0)
            timed = true;
        else if (std::strcmp(argv[i], "--size") == 0 && i + 2 < argc)
            size = QSize(std::atoi(argv[i + 1]), std::atoi(argv[i + 2]));
    }
    const auto build = [size] {
        auto window = new QMainWindow;
        if (size.isValid())
            window->resize(size);
        return window;
    };
    if (timed)
        return timeWindow(build);
    QMainWindow *window = build();
    window->show();
    const int result = QApplication::exec();
    delete window;
    return result;
}

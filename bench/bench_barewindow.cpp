// The baselines of bench_startup: a bare Qt Widgets main window, of the size given with
// "--size <width> <height>" (the launcher's, so that both paint and keep as many pixels); with
// --text it shows one line of text in the bundled font, so that it starts the font database as
// any window with text does. With --window it times building, showing and painting the window
// and exits; without, it shows the window and runs until ended.

#include "windowtiming.h"

#include <QFontDatabase>
#include <QLabel>
#include <QMainWindow>
#include <QThread>

#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    bool timed = false;
    bool text = false;
    QSize size;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0)
            timed = true;
        else if (std::strcmp(argv[i], "--text") == 0)
            text = true;
        else if (std::strcmp(argv[i], "--size") == 0 && i + 2 < argc)
            size = QSize(std::atoi(argv[i + 1]), std::atoi(argv[i + 2]));
    }
    const auto build = [size, text] {
        auto window = new QMainWindow;
        if (text) {
            // Registered and set as the launcher does, at 9 points.
            const int id = QFontDatabase::addApplicationFont(
                QStringLiteral(":/fonts/NotoSans-Regular.ttf"));
            auto label = new QLabel(QStringLiteral("Quorvane Kiosk"));
            QFont font = label->font();
            font.setFamily(QFontDatabase::applicationFontFamilies(id).value(0));
            font.setPointSize(9);
            label->setFont(font);
            window->setCentralWidget(label);
        }
        if (size.isValid())
            window->resize(size);
        return window;
    };
    if (timed) {
        const unsigned long pause = pauseArgument(argc, argv);
        if (pause == 0)
            return timeWindow(build);
        return timeWindow(build, [pause](QWidget *) { QThread::msleep(pause); });
    }
    QMainWindow *window = build();
    window->show();
    const int result = QApplication::exec();
    delete window;
    return result;
}

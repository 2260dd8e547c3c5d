#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

// Under valgrind --tool=callgrind --collect-atstart=no, only the timed part is counted.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define TIMED_PART_TOGGLE() CALLGRIND_TOGGLE_COLLECT
#else
#define TIMED_PART_TOGGLE()
#endif

// Shared by the launcher's and the bare window's timed runs: how long building a window, showing
// it and its first paint take, measured in one process and printed as "window-ms <value>", with
// the window's size as "window-size <width> <height>". "--pause <ms>" asks for a pause, untimed,
// between building and showing, as the launcher makes before it shows its window.
class FirstPaint final : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

inline unsigned long pauseArgument(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--pause") == 0)
            return std::strtoul(argv[i + 1], nullptr, 10);
    }
    return 0;
}

// A given pause runs, untimed, between building the window and showing it.
template<typename Build>
int timeWindow(Build build, const std::function<void(QWidget *)> &pause = {})
{
    QElapsedTimer timer;
    timer.start();
    TIMED_PART_TOGGLE();
    QWidget *window = build();
    qint64 built = 0;
    if (pause) {
        TIMED_PART_TOGGLE();
        built = timer.nsecsElapsed();
        pause(window);
        timer.start();
        TIMED_PART_TOGGLE();
    }
    FirstPaint firstPaint;
    window->installEventFilter(&firstPaint);
    window->show();
    while (!(firstPaint.painted && window->windowHandle() && window->windowHandle()->isExposed())) {
        if (timer.elapsed() > 30000)
            return 1;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    TIMED_PART_TOGGLE();
    std::printf("window-ms %.3f\nwindow-size %d %d\n",
                double(built + timer.nsecsElapsed()) / 1e6,
                window->width(),
                window->height());
    std::fflush(stdout);
    delete window;
    return 0;
}

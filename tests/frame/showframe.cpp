// Shows the bare frame on a real display, for screenshots and the real-window checks. Prints
// the window's geometry as WxH+X+Y, then the global points of the caption and of the bottom
// right handle, once the window is on screen.
//   showframe WxH+X+Y

#include "bareframe.h"

#include "base/qvkioskapplication.h"
#include "base/resourcestrings.h"
#include "frame/resizehandle.h"
#include "frame/titlebar.h"

#include <QRegularExpression>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QVKioskApplication application(argc, argv);
    QTranslator translator;
    installResourceStrings(translator);

    FrameWindow window;
    window.setWindowTitle(QStringLiteral("Bare frame"));
    const QStringList given = application.arguments().value(1).split(QRegularExpression("[x+]"));
    window.setGeometry(given.value(2).toInt(),
                       given.value(3).toInt(),
                       given.value(0).toInt(),
                       given.value(1).toInt());
    window.changedGeometry();
    window.show();
    QTimer::singleShot(0, &window, &MainWindowBase::firstTimeEvent);

    QTimer::singleShot(300, &window, [&window] {
        const QRect frame = window.geometry();
        const QPoint caption = centreOf(window.frame->titleBar->findChild<QWidget *>("logoText"));
        const QPoint corner = centreOf(window.frame->border.handles().last());
        QTextStream(stdout) << frame.width() << 'x' << frame.height() << '+' << frame.x() << '+'
                            << frame.y() << '\n'
                            << "caption " << caption.x() << ' ' << caption.y() << '\n'
                            << "corner " << corner.x() << ' ' << corner.y() << Qt::endl;
    });
    return application.exec();
}

// Shows the bare frame on a real display, for screenshots and the real-window checks. Prints
// the window's geometry as WxH+X+Y, then the global points of the caption and of the bottom
// right handle, once the window is on screen.
//   showframe [WxH+X+Y]   without a geometry, the stored (or first-start) one

#include "bareframe.h"

#include "base/qvkioskapplication.h"
#include "frame/titlebar.h"

#include <QRegularExpression>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QVKioskApplication application(argc, argv);
    QTranslator translator;
    if (translator.load(QStringLiteral(":/resource_strings_en")))
        QCoreApplication::installTranslator(&translator);

    FrameWindow window;
    window.setWindowTitle(QStringLiteral("Bare frame"));
    const QRegularExpressionMatch given = QRegularExpression(
                                              QStringLiteral("^(\\d+)x(\\d+)\\+(\\d+)\\+(\\d+)$"))
                                              .match(application.arguments().value(1));
    if (given.hasMatch()) {
        window.setGeometry(given.captured(3).toInt(),
                           given.captured(4).toInt(),
                           given.captured(1).toInt(),
                           given.captured(2).toInt());
        window.changedGeometry();
    } else {
        window.restoreWindowState();
    }
    window.show();
    QTimer::singleShot(0, &window, &MainWindowBase::firstTimeEvent);

    QTimer::singleShot(300, &window, [&window] {
        const QRect frame = window.geometry();
        QWidget *logo = window.frame->titleBar->findChild<QWidget *>(QStringLiteral("logoText"));
        const QPoint caption = logo->mapToGlobal(logo->rect().center());
        QWidget *corner = window.frame->handles.last();
        const QPoint handle = corner->mapToGlobal(corner->rect().center());
        QTextStream(stdout) << frame.width() << 'x' << frame.height() << '+' << frame.x() << '+'
                            << frame.y() << '\n'
                            << "caption " << caption.x() << ' ' << caption.y() << '\n'
                            << "corner " << handle.x() << ' ' << handle.y() << Qt::endl;
    });
    return application.exec();
}

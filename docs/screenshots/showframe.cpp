// Shows the bare frame (handles, title bar, menus and tool bar around an empty page) on a real
// display, for screenshots. Prints the window's geometry as WxH+X+Y once it is on screen.
//   showframe WxH+X+Y

#include "base/qvkioskapplication.h"
#include "base/resourcestrings.h"
#include "base/widgethelpers.h"
#include "frame/actions.h"
#include "frame/centralwidgetbase.h"
#include "frame/mainwindowbase.h"
#include "frame/menubar.h"
#include "frame/resizeborder.h"
#include "frame/titlebar.h"
#include "frame/toolbararea.h"

#include <QtWidgets>

namespace {

QWidget *pageUnder(TitleBar *titleBar, Actions *actions)
{
    auto empty = new QWidget;
    empty->setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, greyColor(76, 255));
    empty->setPalette(palette);
    empty->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto page = new QWidget;
    auto column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (QWidget *part :
         QWidgetList{titleBar, new MenuBar(actions), new ToolBarArea(actions), empty})
        column->addWidget(part);
    return page;
}

class BareFrame final : public CentralWidgetBase
{
public:
    explicit BareFrame(MainWindowBase *window)
        : CentralWidgetBase(window)
        , border(this, window, pageUnder(titleBar, &actions))
    {}

    bool isCaptionAt(int x, int y) override { return titleBar->isCaptionAt(x, y); }
    void showResizeHandles() override { border.setVisible(true); }
    void hideResizeHandles() override { border.setVisible(false); }
    void setMaximizedLook(bool maximized) override { titleBar->setMaximizedLook(maximized); }

    TitleBar *titleBar = new TitleBar;
    Actions actions;
    ResizeBorder border;

protected:
    void showEvent(QShowEvent *event) override
    {
        border.setUpperHeight(titleBar->height());
        CentralWidgetBase::showEvent(event);
    }
};

class FrameWindow final : public MainWindowBase
{
public:
    FrameWindow()
        : MainWindowBase(nullptr)
    {
        installCentralWidget(new BareFrame(this));
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QVKioskApplication application(argc, argv);
    QTranslator translator;
    installResourceStrings(translator);

    FrameWindow window;
    const QStringList given = application.arguments().value(1).split(QRegularExpression("[x+]"));
    const auto number = [&given](int i) { return given.value(i).toInt(); };
    window.setGeometry(number(2), number(3), number(0), number(1));
    window.show();
    QTimer::singleShot(0, &window, &MainWindowBase::firstTimeEvent);

    QTimer::singleShot(300, &window, [&window] {
        const QRect frame = window.geometry();
        QTextStream(stdout) << frame.width() << 'x' << frame.height() << '+' << frame.x() << '+'
                            << frame.y() << Qt::endl;
    });
    return application.exec();
}

#include "bareframe.h"

#include "base/widgethelpers.h"
#include "frame/actions.h"
#include "frame/menubar.h"
#include "frame/titlebar.h"
#include "frame/toolbararea.h"

#include <QApplication>
#include <QBoxLayout>
#include <QMouseEvent>
#include <QToolBar>

namespace {

QBoxLayout *column(std::initializer_list<QWidget *> widgets)
{
    auto layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget *widget : widgets)
        layout->addWidget(widget);
    return layout;
}

} // namespace

BareFrame::BareFrame(MainWindowBase *window)
    : CentralWidgetBase(window)
    , actions(std::make_unique<Actions>())
{
    using Edge = ResizeHandle::Edge;
    // Grey but for the top: the handle itself makes its top corners and upper parts black.
    auto handle = [this, window](Edge edge) {
        const QColor colour = edge == Edge::Top ? QColor(Qt::black) : greyColor(153, 255);
        auto made = new ResizeHandle(this, window, edge, colour, 5);
        QObject::connect(made, &ResizeHandle::resized, window, &MainWindowBase::changedGeometry);
        handles.append(made);
        return made;
    };
    auto page = new QWidget;
    page->setAutoFillBackground(true);
    QPalette pagePalette = page->palette();
    pagePalette.setBrush(QPalette::All, QPalette::Window, QBrush(greyColor(76, 255)));
    page->setPalette(pagePalette);
    page->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    titleBar = new TitleBar;

    auto row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addLayout(column({handle(Edge::TopLeft),
                           handle(Edge::LeftUpper),
                           handle(Edge::Left),
                           handle(Edge::BottomLeft)}));
    row->addLayout(column({handle(Edge::Top),
                           titleBar,
                           new MenuBar(actions.get()),
                           new ToolBarArea(actions.get()),
                           page,
                           handle(Edge::Bottom)}));
    row->addLayout(column({handle(Edge::TopRight),
                           handle(Edge::RightUpper),
                           handle(Edge::Right),
                           handle(Edge::BottomRight)}));
}

BareFrame::~BareFrame() = default;

bool BareFrame::isCaptionAt(int x, int y)
{
    return titleBar->isCaptionAt(x, y);
}

void BareFrame::showResizeHandles()
{
    for (ResizeHandle *handle : handles)
        handle->show();
}

void BareFrame::hideResizeHandles()
{
    for (ResizeHandle *handle : handles)
        handle->hide();
}

void BareFrame::setMaximizedLook(bool maximized)
{
    looks.append(maximized);
    titleBar->setMaximizedLook(maximized);
}

void BareFrame::showEvent(QShowEvent *event)
{
    for (ResizeHandle *handle : handles) {
        if (handle->edge() == ResizeHandle::Edge::LeftUpper
            || handle->edge() == ResizeHandle::Edge::RightUpper)
            handle->setEdgeHeight(titleBar->sizeHint().height());
    }
    CentralWidgetBase::showEvent(event);
}

FrameWindow::FrameWindow()
    : MainWindowBase(nullptr)
{
    frame = new BareFrame(this);
    installCentralWidget(frame);
}

void sendMouse(QWidget *widget,
               QEvent::Type type,
               const QPoint &global,
               Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type,
                      QPointF(widget->mapFromGlobal(global)),
                      QPointF(global),
                      button,
                      buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void sendDoubleClick(QWidget *widget, const QPoint &global)
{
    for (const QEvent::Type type : {QEvent::MouseButtonPress,
                                    QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonPress,
                                    QEvent::MouseButtonDblClick,
                                    QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        sendMouse(widget, type, global, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton);
    }
}

QPoint centreOf(const QWidget *widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

QWidget *titleButton(const TitleBar *bar, const QString &name)
{
    const auto buttons = bar->findChild<QToolBar *>(QStringLiteral("titleButtons"));
    for (QAction *action : buttons->actions()) {
        if (action->objectName() == name)
            return buttons->widgetForAction(action);
    }
    return nullptr;
}

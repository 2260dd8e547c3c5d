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

// The title bar, the menus and the tool bar over an empty grey page.
QWidget *pageUnder(TitleBar *titleBar, Actions *actions)
{
    auto empty = new QWidget;
    empty->setAutoFillBackground(true);
    QPalette palette = empty->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(greyColor(76, 255)));
    empty->setPalette(palette);
    empty->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    auto page = new QWidget;
    auto column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(titleBar);
    column->addWidget(new MenuBar(actions));
    column->addWidget(new ToolBarArea(actions));
    column->addWidget(empty);
    return page;
}

} // namespace

BareFrame::BareFrame(MainWindowBase *window)
    : CentralWidgetBase(window)
    , titleBar(new TitleBar)
    , actions(std::make_unique<Actions>())
    , border(this, window, pageUnder(titleBar, actions.get()))
{}

BareFrame::~BareFrame() = default;

bool BareFrame::isCaptionAt(int x, int y)
{
    return titleBar->isCaptionAt(x, y);
}

void BareFrame::showResizeHandles()
{
    border.setVisible(true);
}

void BareFrame::hideResizeHandles()
{
    border.setVisible(false);
}

void BareFrame::setMaximizedLook(bool maximized)
{
    looks.append(maximized);
    titleBar->setMaximizedLook(maximized);
}

void BareFrame::showEvent(QShowEvent *event)
{
    border.setUpperHeight(titleBar->height());
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

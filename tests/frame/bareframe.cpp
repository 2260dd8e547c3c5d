#include "bareframe.h"

#include "base/widgethelpers.h"
#include "frame/actions.h"
#include "frame/menubar.h"
#include "frame/titlebar.h"
#include "frame/toolbararea.h"

#include <QBoxLayout>

BareFrame::BareFrame(MainWindowBase *window)
    : CentralWidgetBase(window)
    , actions(std::make_unique<Actions>())
{
    using Edge = ResizeHandle::Edge;
    const QColor grey = greyColor(153, 255);
    auto column = [this](QBoxLayout *layout) {
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        return layout;
    };
    auto handle = [this, window, grey](Edge edge, bool black) {
        auto made = black ? new ResizeHandle(this, window, edge)
                          : new ResizeHandle(this, window, edge, grey, 5);
        made->setObjectName(QStringLiteral("handle%1").arg(int(edge)));
        QObject::connect(made, &ResizeHandle::resized, window, &MainWindowBase::changedGeometry);
        handles.append(made);
        return made;
    };

    QBoxLayout *left = column(new QVBoxLayout);
    left->addWidget(handle(Edge::TopLeft, true));
    left->addWidget(handle(Edge::LeftUpper, true));
    left->addWidget(handle(Edge::Left, false));
    left->addWidget(handle(Edge::BottomLeft, false));

    QBoxLayout *middle = column(new QVBoxLayout);
    middle->addWidget(handle(Edge::Top, true));
    titleBar = new TitleBar;
    middle->addWidget(titleBar);
    middle->addWidget(new MenuBar(actions.get()));
    middle->addWidget(new ToolBarArea(actions.get()));
    auto page = new QWidget;
    page->setAutoFillBackground(true);
    QPalette pagePalette = page->palette();
    pagePalette.setBrush(QPalette::All, QPalette::Window, QBrush(greyColor(76, 255)));
    page->setPalette(pagePalette);
    page->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    middle->addWidget(page);
    middle->addWidget(handle(Edge::Bottom, false));

    QBoxLayout *right = column(new QVBoxLayout);
    right->addWidget(handle(Edge::TopRight, true));
    right->addWidget(handle(Edge::RightUpper, true));
    right->addWidget(handle(Edge::Right, false));
    right->addWidget(handle(Edge::BottomRight, false));

    QBoxLayout *row = column(new QHBoxLayout);
    row->addLayout(left);
    row->addLayout(middle);
    row->addLayout(right);
    setLayout(row);
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

#include "resizeborder.h"

#include "base/widgethelpers.h"
#include "mainwindowbase.h"
#include "resizehandle.h"

#include <QBoxLayout>

namespace {

QBoxLayout *tight(QBoxLayout *layout, std::initializer_list<QWidget *> widgets = {})
{
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget *widget : widgets)
        layout->addWidget(widget);
    return layout;
}

} // namespace

ResizeBorder::ResizeBorder(QWidget *owner, MainWindowBase *window, QWidget *page)
{
    using Edge = ResizeHandle::Edge;
    const auto handle = [this, owner, window](Edge edge, bool black) {
        auto made = black ? new ResizeHandle(owner, window, edge)
                          : new ResizeHandle(owner, window, edge, greyColor(153, 255), 5);
        QObject::connect(made, &ResizeHandle::resized, window, &MainWindowBase::changedGeometry);
        list << made;
        return made;
    };
    // Braced lists are evaluated in order: the handles are made top to bottom, column by column.
    QBoxLayout *left = tight(new QVBoxLayout,
                             {handle(Edge::TopLeft, true),
                              handle(Edge::LeftUpper, true),
                              handle(Edge::Left, false),
                              handle(Edge::BottomLeft, false)});
    QBoxLayout *middle = tight(new QVBoxLayout,
                               {handle(Edge::Top, true), page, handle(Edge::Bottom, false)});
    QBoxLayout *right = tight(new QVBoxLayout,
                              {handle(Edge::TopRight, true),
                               handle(Edge::RightUpper, true),
                               handle(Edge::Right, false),
                               handle(Edge::BottomRight, false)});
    QBoxLayout *row = tight(new QHBoxLayout);
    row->addLayout(left);
    row->addLayout(middle);
    row->addLayout(right);
    // Set last, so that the page becomes the owner's child after every handle.
    owner->setLayout(row);
}

void ResizeBorder::setVisible(bool visible)
{
    for (ResizeHandle *handle : std::as_const(list))
        handle->setVisible(visible);
}

void ResizeBorder::setUpperHeight(int titleBarHeight)
{
    for (ResizeHandle *handle : std::as_const(list)) {
        if (handle->edge() == ResizeHandle::Edge::LeftUpper
            || handle->edge() == ResizeHandle::Edge::RightUpper)
            handle->setEdgeHeight(titleBarHeight);
    }
}

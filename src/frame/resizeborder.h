#pragma once

#include <QList>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

class MainWindowBase;
class ResizeHandle;

// The ten resize handles around the main window's page, in three columns: black at the top
// and beside the title bar, grey 153 below, thickness 5. Each resizes the window and reports
// to its changedGeometry().
class ResizeBorder final
{
public:
    // Makes the handles children of owner and gives owner the layout of the three columns,
    // with the page in the middle one.
    ResizeBorder(QWidget *owner, MainWindowBase *window, QWidget *page);

    // Hidden while the window is maximised.
    void setVisible(bool visible);
    // The black strips beside the title bar are exactly as tall as it.
    void setUpperHeight(int titleBarHeight);

    // Top to bottom, left column first: the bottom-right corner last.
    const QList<ResizeHandle *> &handles() const { return list; }

private:
    QList<ResizeHandle *> list;
};

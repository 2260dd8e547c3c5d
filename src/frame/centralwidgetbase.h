#pragma once

#include "base/iglobalobserver.h"

#include <QWidget>

// What the frameless main window needs of its central widget: the caption rule of its title
// bar, its resize handles and the maximise button's look. The central widget also receives
// the application-wide broadcasts; by default it ignores them all.
class CentralWidgetBase : public QWidget, public IGlobalObserver
{
public:
    explicit CentralWidgetBase(QWidget *parent)
        : QWidget(parent)
    {}

    // Whether the global screen point lies in the draggable part of the title bar.
    virtual bool isCaptionAt(int x, int y) = 0;
    virtual void showResizeHandles() = 0;
    virtual void hideResizeHandles() = 0;
    virtual void setMaximizedLook(bool maximized) = 0;

    void changedFilePath() override {}
    void requestToMinimize() override {}
    void requestToMaximize() override {}
    void requestToClose() override {}
};

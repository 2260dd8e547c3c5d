#pragma once

#include "frame/centralwidgetbase.h"
#include "frame/mainwindowbase.h"
#include "frame/resizehandle.h"

#include <QList>

#include <memory>

class Actions;
class TitleBar;

// The frame around an empty page, as the start page will use it: ten handles, the title bar,
// the menu bar and the tool bar. It records the looks it was given.
class BareFrame final : public CentralWidgetBase
{
public:
    explicit BareFrame(MainWindowBase *window);
    ~BareFrame() override;

    bool isCaptionAt(int x, int y) override;
    void showResizeHandles() override;
    void hideResizeHandles() override;
    void setMaximizedLook(bool maximized) override;

    TitleBar *titleBar = nullptr;
    QList<ResizeHandle *> handles;
    QList<bool> looks;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Actions> actions;
};

// A main window around a BareFrame.
class FrameWindow final : public MainWindowBase
{
public:
    FrameWindow();

    BareFrame *frame = nullptr;
};

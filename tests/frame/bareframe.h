#pragma once

#include "frame/centralwidgetbase.h"
#include "frame/mainwindowbase.h"
#include "frame/resizeborder.h"

#include <QEvent>
#include <QList>

#include <memory>

class Actions;
class TitleBar;

// The frame around an empty page, as the start page uses it: the resize border, the title bar,
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
    QList<bool> looks;
    std::unique_ptr<Actions> actions;
    ResizeBorder border;

protected:
    void showEvent(QShowEvent *event) override;
};

// A main window around a BareFrame.
class FrameWindow final : public MainWindowBase
{
public:
    FrameWindow();

    BareFrame *frame = nullptr;
};

// Sends a mouse event at a global point to the widget, as a real one arrives: a widget that
// ignores it passes it on to its parents.
void sendMouse(QWidget *widget,
               QEvent::Type type,
               const QPoint &global,
               Qt::MouseButton button,
               Qt::MouseButtons buttons);

// The press, release, press, double click and release of a real double click.
void sendDoubleClick(QWidget *widget, const QPoint &global);

// The global point at the centre of the widget.
QPoint centreOf(const QWidget *widget);

// The title bar's button of that action object name.
QWidget *titleButton(const TitleBar *bar, const QString &name);

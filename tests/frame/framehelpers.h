#pragma once

#include "base/iglobalobserver.h"

#include <QEvent>
#include <QPoint>
#include <Qt>

QT_BEGIN_NAMESPACE
class QAction;
class QString;
class QWidget;
QT_END_NAMESPACE

class TitleBar;

// Sends a mouse event at a global point to the widget, as a real one arrives: a widget that
// ignores it passes it on to its parents.
void sendMouse(QWidget *widget,
               QEvent::Type type,
               const QPoint &global,
               Qt::MouseButton button,
               Qt::MouseButtons buttons);

// The global point at the centre of the widget.
QPoint centreOf(const QWidget *widget);

// The title bar's button action of that object name, and its button.
QAction *titleAction(const TitleBar *bar, const QString &name);
QWidget *titleButton(const TitleBar *bar, const QString &name);

// Counts the broadcasts it receives while registered with the controller facade.
class CountingObserver final : public IGlobalObserver
{
public:
    CountingObserver();
    ~CountingObserver() override;

    void changedFilePath() override {}
    void requestToMinimize() override { ++minimize; }
    void requestToMaximize() override { ++maximize; }
    void requestToClose() override { ++close; }

    int minimize = 0;
    int maximize = 0;
    int close = 0;
};

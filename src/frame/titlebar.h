#pragma once

#include <QList>
#include <QWidget>

QT_BEGIN_NAMESPACE
class QAction;
class QIcon;
QT_END_NAMESPACE

class AppIcon;

// The black strip at the top of the main window in place of a native caption: the application
// icon, the logo text and the minimise, maximise/restore and close buttons. The buttons only
// ask the controller facade to broadcast their request; the main window carries it out.
class TitleBar final : public QWidget
{
    Q_OBJECT

public:
    TitleBar();
    ~TitleBar() override;

    // Whether the global screen point is caption: anywhere on the bar but the application icon
    // and the buttons.
    bool isCaptionAt(int x, int y) const;
    // The maximise button as a restore button (maximised) or a maximise button.
    void setMaximizedLook(bool maximized);

private slots:
    void clickedMinimize();
    void clickedMaximize();
    void clickedClose();

private:
    QAction *minimizeAction = nullptr;
    QAction *maximizeAction = nullptr;
    QAction *closeAction = nullptr;
    AppIcon *appIcon = nullptr;
    const QIcon *maximizeIcon = nullptr;
    const QIcon *restoreIcon = nullptr;
    QList<QWidget *> nonCaptionWidgets;
};

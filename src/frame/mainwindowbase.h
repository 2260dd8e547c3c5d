#pragma once

#include "base/iglobalobserver.h"

#include <QMainWindow>
#include <QRect>

class CentralWidgetBase;
class FrameBehaviour;

// The frameless base of the main window: its own title bar serves as caption, the system
// commands minimise, maximise and restore work, and the normal geometry and the maximised state
// survive restarts in the settings store. It carries out the window requests of the
// application-wide broadcasts.
class MainWindowBase : public QMainWindow, public IGlobalObserver
{
    Q_OBJECT

public:
    explicit MainWindowBase(QWidget *parent);
    ~MainWindowBase() override;

    // Applies the stored geometry and maximised state. A hidden window stays hidden: the state
    // takes effect when the program shows it.
    void restoreWindowState();
    // Stores the maximised state and the normal geometry. A shown maximised window is restored
    // first; a hidden one keeps its state.
    void saveWindowState();

    void maximizeWindow();
    void restoreWindow();

    bool firstTimeEventDone() const { return firstTimeDone; }
    bool isMaximizedState() const { return maximized; }
    // The geometry to return to from maximised, and the one that is stored.
    QRect normalWindowGeometry() const { return normalGeometryRect; }
    CentralWidgetBase *centralWidgetBase() const { return central; }

    void changedFilePath() override;
    void requestToMinimize() override;
    void requestToMaximize() override;
    void requestToClose() override;

public slots:
    void firstTimeEvent();
    void changedGeometry();

protected:
    // Installs the central widget and keeps it for the caption, handle and look calls.
    void installCentralWidget(CentralWidgetBase *widget);

    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void applyMaximizedLook(bool maximizedLook);
    bool followsNormalGeometry() const;
    void followGeometry();

    CentralWidgetBase *central = nullptr;
    bool maximized = false;
    QRect normalGeometryRect;
    QRect previousNormalGeometry;
    QPoint restoredPosition;
    bool firstTimeDone = false;
    // Set while this class itself changes the window's state, so that the events it causes
    // are not taken for the window manager's doing.
    bool changingState = false;
    FrameBehaviour *behaviour = nullptr;
};

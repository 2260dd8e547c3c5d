#pragma once

#include "frame/centralwidgetbase.h"
#include "frame/resizeborder.h"

class Actions;
class InitialArea;
class MainWindowBase;

// The main window's whole client area: the start page framed by the ten resize handles. It
// owns the command registry, carries out Open Controller File, Exit, About and Legal, records
// every file that becomes the current one in the recent-files list, and reads that list from
// the settings store at construction and writes it back at destruction when the run changed it.
class CentralWidget final : public CentralWidgetBase
{
    Q_OBJECT

public:
    explicit CentralWidget(MainWindowBase *mainWindow);
    ~CentralWidget() override;

    bool isCaptionAt(int x, int y) override;
    void showResizeHandles() override;
    void hideResizeHandles() override;
    void setMaximizedLook(bool maximized) override;

    void changedFilePath() override;

    InitialArea *initialArea() const { return startPage; }

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void triggeredOpenControllerFile();
    void triggeredExit();
    void triggeredAbout();
    void triggeredLegal();

private:
    Actions *actions = nullptr;
    InitialArea *startPage = nullptr;
    ResizeBorder border;
    // Whether the settings held a list when the run began: with none, the list is written
    // even when the run did not change it.
    bool listStored = false;
};

#pragma once

#include <QWidget>

class Actions;
class CRecentFilesModel;
class RecentFilesArea;
class TitleBar;

// The start page: the program's title bar, the menu bar, the tool bar and the recent files.
class InitialArea final : public QWidget
{
public:
    explicit InitialArea(Actions *actions);

    bool isCaptionAt(int x, int y) const;
    void setMaximizedLook(bool maximized);
    int titleBarHeight() const;
    CRecentFilesModel *recentFilesModel() const;

private:
    TitleBar *titleBar = nullptr;
    RecentFilesArea *recentFilesArea = nullptr;
};

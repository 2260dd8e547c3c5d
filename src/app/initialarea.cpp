#include "initialarea.h"

#include "documents/documentsmanager.h"
#include "frame/menubar.h"
#include "frame/titlebar.h"
#include "frame/toolbararea.h"
#include "recentfiles/recentfilesarea.h"

#include <QVBoxLayout>

#include <boost/bind/bind.hpp>

InitialArea::InitialArea(Actions *actions)
    : QWidget(nullptr)
{
    auto bar = new TitleBar;
    auto menuBar = new MenuBar(actions);
    auto toolBarArea = new ToolBarArea(actions);

    using namespace boost::placeholders;
    DocumentsManager &manager = DocumentsManager::instance();
    const RecentFilesArea::OpenCallback open
        = boost::bind(&DocumentsManager::openControllerFile, &manager, _1, _2, _3, false);
    auto recent = new RecentFilesArea(open);

    auto column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bar);
    column->addWidget(menuBar);
    column->addWidget(toolBarArea);
    column->addWidget(recent);
    setLayout(column);

    titleBar = bar;
    recentFilesArea = recent;
}

bool InitialArea::isCaptionAt(int x, int y) const
{
    return titleBar->isCaptionAt(x, y);
}

void InitialArea::setMaximizedLook(bool maximized)
{
    titleBar->setMaximizedLook(maximized);
}

int InitialArea::titleBarHeight() const
{
    return titleBar->height();
}

CRecentFilesModel *InitialArea::recentFilesModel() const
{
    return recentFilesArea->recentFilesModel();
}

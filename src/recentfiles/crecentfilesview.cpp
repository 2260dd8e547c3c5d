#include "crecentfilesview.h"

#include "base/appfont.h"
#include "crecentfilesmodel.h"

#include <QStandardItemModel>

CRecentFilesView::CRecentFilesView()
    : itemModel(new QStandardItemModel)
{
    setModel(itemModel);
    recentModel = new CRecentFilesModel(itemModel);

    setViewMode(QListView::IconMode);
    setIconSize(QSize(scaledSize(90), scaledSize(120)));
    setSpacing(scaledSize(5));
    setWrapping(true);

    setAcceptDrops(false);
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setDragDropOverwriteMode(false);
    setDropIndicatorShown(false);

    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setMovement(QListView::Static);
}

CRecentFilesView::~CRecentFilesView()
{
    delete recentModel;
    // The item model has no parent: detach it before it goes.
    setModel(nullptr);
    delete itemModel;
}

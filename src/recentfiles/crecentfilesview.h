#pragma once

#include <QListView>

class CRecentFilesModel;

QT_BEGIN_NAMESPACE
class QStandardItemModel;
QT_END_NAMESPACE

// The icon view of the recent files. It owns its item model and the recent-files model made on it.
class CRecentFilesView final : public QListView
{
    Q_OBJECT

public:
    CRecentFilesView();
    ~CRecentFilesView() override;

    CRecentFilesModel *recentFilesModel() const { return recentModel; }

private:
    QStandardItemModel *itemModel = nullptr;
    CRecentFilesModel *recentModel = nullptr;
};

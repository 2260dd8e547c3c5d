#pragma once

#include <QStringList>
#include <QWidget>

#include <boost/function.hpp>

class CRecentFilesModel;
class CRecentFilesView;

QT_BEGIN_NAMESPACE
class QItemSelection;
class QModelIndex;
class QPushButton;
QT_END_NAMESPACE

// The recent-files part of the start page: Load, Favorite and Remove from History above the icon
// view of the recent files.
class RecentFilesArea final : public QWidget
{
    Q_OBJECT

public:
    // Hands a file to the document manager: parent of its dialogs, a launch-failed flag, the path.
    // True when the kiosk runtime has taken the file.
    using OpenCallback = boost::function<bool(QWidget *, bool &, const QString &)>;

    // openCallback is mandatory.
    explicit RecentFilesArea(const OpenCallback &openCallback);

    CRecentFilesView *view() const { return recentFilesView; }
    CRecentFilesModel *recentFilesModel() const;

public slots:
    // Loads the one selected entry; does nothing unless exactly one entry is selected.
    void open();
    // Pins each selected entry that is not pinned and unpins each that is.
    void fix();
    // Removes the selected entries that are not favourites.
    void remove();
    // Enables the buttons for the current selection; both arguments are ignored.
    void updateSelected(const QItemSelection &selected, const QItemSelection &deselected);
    // Loads the entry at index, whatever is selected.
    void itemDoubleClicked(const QModelIndex &index);

private:
    // Hands a present file to the callback and, once the runtime has it, closes the front-end; for
    // a missing one, tells the user and offers to drop a non-favourite from the list.
    void openFile(const QString &path);
    QStringList selectedPaths() const;
    void selectPaths(const QStringList &paths);
    void disableButtons();

    CRecentFilesView *recentFilesView = nullptr;
    OpenCallback openCallback;
    QPushButton *loadButton = nullptr;
    QPushButton *favoriteButton = nullptr;
    QPushButton *removeButton = nullptr;
};

#include "recentfilesarea.h"

#include "base/appfont.h"
#include "base/controllerfacade.h"
#include "crecentfilesmodel.h"
#include "crecentfilesview.h"
#include "dialogs/custommessagebox.h"
#include "style/stylesheets.h"

#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSpacerItem>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPushButton *makeButton(const char *objectName, const QString &text)
{
    auto button = new QPushButton(text);
    button->setObjectName(QLatin1String(objectName));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    button->setEnabled(false);
    applyAppFont(button, 0);
    setStyleSheetWhenPolished(button, flatButtonStyleSheet());
    return button;
}

QFrame *makeSeparator()
{
    auto separator = new QFrame;
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    return separator;
}

QString pathOf(const QModelIndex &index)
{
    return index.data(Qt::UserRole).toString();
}

} // namespace

RecentFilesArea::RecentFilesArea(const OpenCallback &openCallback)
    : openCallback(openCallback)
{
    loadButton = makeButton("loadButton", QObject::tr("ID_RESSTR_RECENTFILESAREA_OPEN"));
    favoriteButton = makeButton("favoriteButton", QObject::tr("ID_RESSTR_RECENTFILESAREA_FIX"));
    removeButton = makeButton("removeButton", QObject::tr("ID_RESSTR_RECENTFILESAREA_REMOVE"));
    connect(loadButton, &QPushButton::clicked, this, &RecentFilesArea::open);
    connect(favoriteButton, &QPushButton::clicked, this, &RecentFilesArea::fix);
    connect(removeButton, &QPushButton::clicked, this, &RecentFilesArea::remove);

    auto row = new QHBoxLayout;
    row->addSpacerItem(new QSpacerItem(scaledSize(20),
                                       scaledSize(20),
                                       QSizePolicy::Expanding,
                                       QSizePolicy::Minimum));
    row->addWidget(makeSeparator());
    for (QPushButton *button : {loadButton, favoriteButton, removeButton}) {
        row->addWidget(button);
        row->addWidget(makeSeparator());
    }

    recentFilesView = new CRecentFilesView;
    recentFilesView->setObjectName(QStringLiteral("recentFilesView"));
    auto column = new QVBoxLayout;
    column->addLayout(row);
    column->addWidget(recentFilesView);
    setLayout(column);

    connect(recentFilesView->selectionModel(),
            &QItemSelectionModel::selectionChanged,
            this,
            &RecentFilesArea::updateSelected);
    connect(recentFilesView,
            &QAbstractItemView::doubleClicked,
            this,
            &RecentFilesArea::itemDoubleClicked);
}

CRecentFilesModel *RecentFilesArea::recentFilesModel() const
{
    return recentFilesView->recentFilesModel();
}

void RecentFilesArea::open()
{
    // The current index can sit on an unselected entry (Ctrl+arrow keys, a Ctrl+click that
    // deselects): load the entry the user selected.
    const QModelIndexList selected = recentFilesView->selectionModel()->selectedIndexes();
    if (selected.size() != 1)
        return;
    const QString path = pathOf(selected.first());
    if (!path.isEmpty())
        openFile(path);
}

void RecentFilesArea::fix()
{
    const QStringList paths = selectedPaths();
    for (const QString &path : paths)
        recentFilesModel()->toggleFix(path);
    selectPaths(paths);
}

void RecentFilesArea::remove()
{
    for (const QString &path : selectedPaths())
        recentFilesModel()->removeFile(path);
    if (!recentFilesView->selectionModel()->hasSelection())
        disableButtons();
}

void RecentFilesArea::updateSelected(const QItemSelection &, const QItemSelection &)
{
    const int selectedCount = recentFilesView->selectionModel()->selectedIndexes().size();
    loadButton->setEnabled(selectedCount == 1);
    favoriteButton->setEnabled(selectedCount >= 1);

    const CRecentFilesModel *model = recentFilesModel();
    const QStringList paths = selectedPaths();
    removeButton->setEnabled(std::any_of(paths.begin(), paths.end(), [model](const QString &path) {
        return model->indexOf(path) < 0 || !model->isFix(path);
    }));
}

void RecentFilesArea::itemDoubleClicked(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString path = pathOf(index);
    if (!path.isEmpty())
        openFile(path);
}

void RecentFilesArea::openFile(const QString &path)
{
    const QString shownPath = QObject::tr("ID_RESSTR_RECENTFILESAREA_SUFFIX") + path;
    const QString title = QObject::tr("ID_RESSTR_RECENTFILESAREA_TITLE");
    if (!QFile::exists(path)) {
        if (recentFilesModel()->isFix(path)) {
            CustomMessageBox::showInformation(this,
                                              QObject::tr("ID_RESSTR_RECENTFILESAREA_WARNING")
                                                  + shownPath,
                                              title);
        } else if (CustomMessageBox::showConfirmation(this,
                                                      QObject::tr(
                                                          "ID_RESSTR_RECENTFILESAREA_QUESTION")
                                                          + shownPath,
                                                      title)
                   == CustomMessageBox::Yes) {
            recentFilesModel()->removeFile(path);
        }
        return;
    }

    bool launchFailed = false;
    if (!openCallback(this, launchFailed, path))
        return;
    recentFilesView->selectionModel()->clear();
    disableButtons();
    ControllerFacade::instance().requestToClose();
}

QStringList RecentFilesArea::selectedPaths() const
{
    QStringList paths;
    const auto itemModel = static_cast<QStandardItemModel *>(recentFilesView->model());
    for (const QModelIndex &index : recentFilesView->selectionModel()->selectedIndexes()) {
        if (const QStandardItem *item = itemModel->itemFromIndex(index))
            paths.append(item->data(Qt::UserRole).toString());
    }
    return paths;
}

void RecentFilesArea::selectPaths(const QStringList &paths)
{
    const auto itemModel = static_cast<QStandardItemModel *>(recentFilesView->model());
    QItemSelectionModel *selection = recentFilesView->selectionModel();
    bool first = true;
    for (int row = 0; row < itemModel->rowCount(); ++row) {
        const QStandardItem *item = itemModel->item(row);
        if (item == nullptr || !paths.contains(item->data(Qt::UserRole).toString()))
            continue;
        const QModelIndex index = itemModel->indexFromItem(item);
        if (first) {
            selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            first = false;
        }
        selection->select(index, QItemSelectionModel::Select);
    }
}

void RecentFilesArea::disableButtons()
{
    for (QPushButton *button : {loadButton, favoriteButton, removeButton})
        button->setEnabled(false);
}

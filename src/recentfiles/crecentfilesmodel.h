#pragma once

#include <QDateTime>
#include <QFileInfo>
#include <QList>
#include <QString>

QT_BEGIN_NAMESPACE
class QStandardItemModel;
QT_END_NAMESPACE

// The recently used controller files with their favourite flags, kept favourites first and newest
// first, mirrored into the item model of the recent-files view, and turned into the string stored
// under "RecentlyUsedFiles" and back. GUI thread only.
class CRecentFilesModel
{
public:
    struct UseFile
    {
        virtual ~UseFile() = default;

        QFileInfo fileInfo; // built from the path as it was supplied
        bool fixed = false;
        QDateTime lastUsed;
    };

    // At most this many entries are shown and saved; the list itself has no limit in a run.
    static constexpr int maxShown = 100;

    // items is not owned and must outlive the model.
    explicit CRecentFilesModel(QStandardItemModel *items);
    virtual ~CRecentFilesModel();
    CRecentFilesModel(const CRecentFilesModel &) = delete;
    CRecentFilesModel &operator=(const CRecentFilesModel &) = delete;

    // Replaces the list with the entries read from text, sorts it and rebuilds the items, and
    // returns whether the item model holds a row. Text of which no entry can be read changes
    // nothing and gives false. Reading is not a change of the list (see isChanged).
    bool fromString(const QString &text);
    // The saved form of the first maxShown entries (entries whose path cannot be saved are left
    // out); empty for an empty list.
    QString toString() const;

    // Records a use of path now: a listed file (matched as indexOf does) keeps its flag and moves
    // up; an unlisted file of the accepted extension is added; any other file is not recorded.
    // Returns whether the item model holds a row.
    bool addFile(const QString &path);
    // Removes the entry of path unless it is a favourite.
    void removeFile(const QString &path);
    // Flips the favourite flag of the entry of path, if there is one.
    void toggleFix(const QString &path);
    bool isFix(const QString &path) const;
    // The first entry whose absolute path or stored path is path exactly, or else whose file is
    // the existing file path names; -1 when none is.
    int indexOf(const QString &path) const;

    // Favourites first, then the latest use first; entries without a valid time last in their
    // group. Entries that compare equal keep their order.
    void sort();
    // Rebuilds the items from the first maxShown entries; returns whether there is a row. Clearing
    // the items drops the view's selection without a selection-change notification.
    bool updateItems();

    // Whether this run added, removed, pinned or unpinned an entry or recorded a use since the
    // list was created: only then does the stored list need writing back, so a copy of the
    // program that merely showed the list does not overwrite what another copy saved meanwhile.
    bool isChanged() const { return changed; }

    // "qvksk", or "qvcppj" in the sibling control application; compared case-insensitively.
    static QString acceptedExtension();

    const QList<UseFile> &entries() const { return files; }

private:
    QStandardItemModel *items = nullptr;
    QList<UseFile> files;
    bool changed = false;
};

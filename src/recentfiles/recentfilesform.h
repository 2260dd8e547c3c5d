#pragma once

#include "crecentfilesmodel.h"

#include <QList>
#include <QString>

// The saved form of the recent-files list: per entry three double-quoted fields (the path, "true"
// or "false", the last use in ISO 8601 without fractions), all joined by commas.

// The entries of text whose path has the extension (compared case-insensitively), in text order.
// A quoted field runs from its opening double quote to the next double quote that is followed by
// a comma or ends the text, so a comma inside a path is kept; a field that does not open with a
// double quote (or never closes) runs to the next comma as it stands. Only "true" pins an entry; a
// time that cannot be read leaves lastUsed invalid; a trailing incomplete group is ignored.
QList<CRecentFilesModel::UseFile> readRecentFiles(const QString &text, const QString &extension);

// The saved form of the first limit entries, in list order. An entry whose path contains a double
// quote is left out: its path could end a field early and so could not be read back.
QString writeRecentFiles(const QList<CRecentFilesModel::UseFile> &files, int limit);

// Whether the saved form can hold this path.
bool isSavablePath(const QString &path);

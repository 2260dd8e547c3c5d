#pragma once

#include <QString>

// Keeps two copies of the front-end from opening the same controller file at once, through
// lock folders in a base folder shared with the sibling control application: one folder per
// holder, named by a braced UUID, holding "lock.txt" (the path, then the holder's process id,
// each on a line of its own). GUI thread only.
class InUseGuard final
{
public:
    InUseGuard() = default;
    ~InUseGuard();
    InUseGuard(const InUseGuard &) = delete;
    InUseGuard &operator=(const InUseGuard &) = delete;

    // False when a running copy of this program holds a lock on the same file (cleaned
    // absolute paths, compared case-sensitively) or for an empty path; true otherwise, also
    // when no lock could be made (a line on standard output says so) and, without a check,
    // when this guard holds a lock already. Removes the stale folders it meets on the way:
    // those whose process does not run, is this one, or started after the lock was written.
    // Listing, scanning and making the folder hold a lock among copies of the program.
    bool acquire(const QString &path);

    // Drops this guard's lock folder, if any.
    void release();

    // The name of the held lock folder; empty when none is held.
    const QString &lockName() const { return heldName; }

    // The base folder. Windows: the user's temporary folder + "/Brennix/QVControl". POSIX,
    // where the temporary folder is shared between users: Qt's runtime location (the user's
    // own $XDG_RUNTIME_DIR, else a 0700 folder of the temporary location that this user
    // owns) + "/Brennix/QVControl"; empty when Qt refuses that folder.
    static QString lockBasePath();

    // Deletes, in that folder only, the regular files (not symbolic links, FIFOs or devices)
    // named *.qvcpj or *.qvksk.
    static void removeControllerFilesIn(const QString &folder);

    // Whether "lock.txt" can hold the path as it is: no line break, and text that UTF-8 keeps
    // (no unpaired surrogate).
    static bool canRecord(const QString &path);

private:
    QString heldName;
    QString heldFolder; // the full path of the held folder, as made
};

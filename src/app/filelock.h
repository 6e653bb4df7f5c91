// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// An exclusive lock that the operating system holds on an open file for as long
// as the process keeps it open, and lets go of when the process ends in any
// way, a crash included: no lock is ever left behind to be judged stale.
//
// The file is made when missing, readable and writable by the user alone, and
// never removed. Whatever else lies at its path (a link, a folder, a file that
// cannot be opened) is left alone: the lock is then unusable, for every start
// alike. On Linux and other Unix systems the folder itself is then locked
// instead, which works on a read-only folder too.
// A path as the file system compares paths, for names made from it: folded to
// one case on Windows, whose file systems ignore case; as it is elsewhere.
QString pathKey(const QString &path);

class FileLock
{
public:
    enum Outcome {
        Locked,        // this object holds the lock
        HeldElsewhere, // another open of the file holds it, in this process or another
        Unusable,      // the lock cannot be made here
    };

    explicit FileLock(const QString &path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Takes the lock without waiting. A lock held already stays held.
    Outcome tryLock();
    void unlock();
    bool isLocked() const;
    QString fileName() const { return m_path; }

private:
    QString m_path;
#ifdef Q_OS_WIN
    void *m_handle = nullptr; // the lock file, where it could be opened
    void *m_mutex = nullptr;
#else
    int m_descriptor = -1;
#endif
};

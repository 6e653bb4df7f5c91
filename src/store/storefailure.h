// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "databaseerror.h"

#include <QString>

// The sentences with which the store tells the user what happened to the file and
// what to do about it. A fault of the machine (full disk, read-only or locked
// file, read error) is never blamed on the file, and only a file that is not
// Zorvel's is ever called foreign.
namespace StoreFailure {

enum Activity {
    Opening,   // start-up, on an existing file
    Statement, // a command, or any other statement
    Creating,  // making a new file
};

// A failure of the engine with the given primary result code on the file at `path`.
DatabaseError fromEngine(Activity activity, int resultCode, const QString &path, const QString &engineText);

// Whether a failure means that the disk is full. SQLite reports most full disks as
// such, but a shared-memory or sync failure as an I/O error; those count as full
// when hardly any space is left.
bool isFullDisk(int resultCode, const QString &path);

DatabaseError notOurDatabase(const QString &path);
DatabaseError newerVersion(const QString &path);
DatabaseError unreadable(const QString &path, const QString &reason);
// A write on a session that is read-only, or on a damaged file.
DatabaseError writeRefused(const QString &path, bool damaged);

QString readOnlyNotice(const QString &path);
QString cutShortNotice(const QString &path);
QString damagedNotice(const QString &path);

} // namespace StoreFailure

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "databaseerror.h"

#include <QDir>
#include <QString>
#include <QStringList>

class QSqlError;

// SQLite's primary result codes that the store tells apart. Qt may report an
// extended code (the primary code in the low byte, details above it).
namespace ResultCode {
inline constexpr int busy = 5;
inline constexpr int locked = 6;
inline constexpr int readOnly = 8;
inline constexpr int ioError = 10;
inline constexpr int corrupt = 11;
inline constexpr int full = 13;
inline constexpr int cantOpen = 14;
inline constexpr int notADatabase = 26;

// The primary result code of a failure, or 0 when the engine gave none.
int primaryOf(const QSqlError &error);

// Whether a result code means that the file is damaged.
inline bool meansDamaged(int resultCode)
{
    return resultCode == corrupt || resultCode == notADatabase;
}
} // namespace ResultCode

// A file's path as messages show it to the user: with the system's separators.
inline QString displayPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

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
// A file to be read untouched has a log beside it: it may be in use, and what
// the log holds would be missed.
DatabaseError logBeside(const QString &path);
DatabaseError unreadable(const QString &path, const QString &reason);
// A write on a session that is read-only, or on a damaged file.
DatabaseError writeRefused(const QString &path, bool damaged);

// A link at the file's path whose target is missing: nothing is made in its place,
// since the history may lie on a disk that is not there now.
DatabaseError danglingLink(const QString &path, const QString &target);
// A path longer than SQLite can open.
DatabaseError pathTooLong(const QString &path, qint64 bytes, qint64 limit);

QString readOnlyNotice(const QString &path);
// Read-only, and the write-ahead log beside the file could not be read.
QString readOnlyWithoutLogNotice(const QString &path);
// Zorvel's own file without some of its tables.
QString missingTablesNotice(const QString &path, const QStringList &tables);
QString cutShortNotice(const QString &path);
QString damagedNotice(const QString &path);

} // namespace StoreFailure

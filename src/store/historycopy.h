// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Database;

// Whole copies of a history: backups, and the file a restore puts in place.

// Writes a consistent copy of the history open in `db` to `target`. SQLite copies
// it in one read transaction (VACUUM INTO), so the answers still in the
// write-ahead log are in it, also while another connection writes. The copy is
// complete in itself (no log beside it), built at a temporary ".part" name in
// the target's folder, flushed to the disk and only then renamed into place,
// replacing a file of that name. On any failure, a full disk included, nothing
// is left at either name and the error says why.
void writeHistoryCopy(Database &db, const QString &target);

// The same for a file that SQLite cannot copy (a damaged one): its bytes, and
// its log's, which stay beside the copy.
void writeByteCopy(const QString &source, const QString &target);

// Throws a DatabaseError unless `db` holds a whole history of Zorvel: every
// table in place and SQLite's integrity check passed.
void checkWholeHistory(Database &db);

// The log files (-wal, -shm, -journal) beside the file at `path` that exist.
QStringList logFilesBeside(const QString &path);

// The folder "backups" beside the data file at `dataPath`, made when missing.
QString backupsFolderOf(const QString &dataPath);

// The name the backups of the history at `dataPath` begin with: the file's
// name without ".mdb" ("Zorvel" for "Zorvel.mdb", "张三" for "张三.mdb").
QString backupBaseName(const QString &dataPath);

// The backups of the history at `dataPath` in `folder`, by name: files named
// "<base>-yyyyMMdd-HHmmss.mdb" or "<base>-yyyyMMdd-HHmmss-N.mdb", and no other,
// so that the backups of "张三.mdb" and of "张三-2.mdb" stay apart.
QStringList backupFilesIn(const QString &folder, const QString &dataPath);

// Removes the files, and what an interrupted backup of that history left in
// `folder`.
void removeBackups(const QString &folder, const QString &dataPath, const QStringList &names);

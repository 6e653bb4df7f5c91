// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Database;

// The backups of a history, in the folder "backups" beside its file: one is
// written before every clear, and the newest ten of each history are kept. Each
// carries the name of its history's file, so that the histories of several
// pupils in one folder keep their backups apart.

inline constexpr int keptBackups = 10;

// The name of a backup of the history at `dataPath` written at `time`:
// "<base>-yyyyMMdd-HHmmss.mdb" (backupBaseName: "Zorvel" for "Zorvel.mdb"), or
// with "-2", "-3", ... before ".mdb" when `existing` already holds that name.
QString backupFileName(const QString &dataPath, const QDateTime &time, const QStringList &existing);

// When the backup of that name was written; an invalid time for another name.
QDateTime backupTimeOf(const QString &name);

// Whether `first` was written before `second`; both are backup names.
bool backupIsOlder(const QString &first, const QString &second);

// Of the backup names, those to remove so that the newest `keep` stay.
QStringList backupsBeyond(QStringList names, int keep = keptBackups);

// Writes a backup of the history in `db`, named by `time`, and removes the oldest
// beyond ten. Returns its path. Throws a DatabaseError that says that nothing was
// deleted when the backup cannot be written.
QString backUpBeforeClear(Database &db, const QDateTime &time);

// The same for a backup that is not followed by a clear (a restore keeps the file
// it replaces this way). The backup at `spared`, the one a restore reads from,
// is never among those removed.
QString writeBackup(Database &db, const QDateTime &time, const QString &spared = QString());

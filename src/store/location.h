// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database.h"
#include "startupnotice.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The current user's per-application data root: roaming AppData on Windows,
// ~/Library/Application Support on macOS, $XDG_DATA_HOME or ~/.local/share elsewhere.
QString GetAppDataFolder();

// The path of the database file "Zorvel.mdb" in the data folder "Zorvel",
// without making the folder. Empty when there is no data root.
QString databaseFileLocation();

// Makes sure the data folder "Zorvel" exists, with any missing parents, and returns
// the path of the database file "Zorvel.mdb" inside it. Does not look at the file.
QString GetDatabasePath();

// Creates the database file with its tables and seed content when no file is at
// `path`; otherwise does nothing.
void EnsureDatabaseFile(const QString &path);

// Creates a new database file at `path`, filled by `populate`, all or nothing: the
// file is built in a temporary ".part" file of the same folder in one transaction
// with a rollback journal, checked to be complete in itself, and only then renamed
// into place. On any failure, a full disk included, no file appears at `path` and
// the error says why.
void createDatabaseFile(const QString &path, const std::function<void(const Database &)> &populate);

// Log files (-wal, -shm, -journal) of a database that is no longer there would be
// applied by SQLite to a new file of that name, and break it. They may hold all
// that is left of a history, so they are renamed, not deleted, to names that no
// SQLite open looks for. Returns the new names; does nothing while the database
// file exists.
QStringList setAsideOrphanedLogs(const QString &path);

// Removes what an interrupted creation of the file at `path` left behind: the
// ".part" files of Zorvel's own naming and their journals, whatever their age.
void removeLeftoverPartFiles(const QString &path);

// What the connection needs for the file at `path`: a second process that uses
// the same file waits for it instead of failing at once.
ConnectionSettings BuildConnectionString(const QString &path);

// Start-up: the data folder, the database file (created when missing, after old
// log files are set aside) and the connection of `db`. Returns what the user must
// be told before the session begins.
QList<StartupNotice> OpenDatabase(Database &db);

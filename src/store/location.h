// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database.h"

#include <QList>
#include <QString>

// The current user's per-application data root: roaming AppData on Windows,
// ~/Library/Application Support on macOS, $XDG_DATA_HOME or ~/.local/share elsewhere.
QString GetAppDataFolder();

// The path of the database file "Zorvel.mdb" in the data folder "Zorvel",
// without making the folder. Empty when there is no data root. The program works
// it out once, at start-up, and hands it on.
QString databaseFileLocation();

// Makes sure the folder of the database file at `path` exists, with any missing
// parents. Does not look at the file.
void makeDataFolder(const QString &path);

// The default location's path, its folder made (databaseFileLocation() and
// makeDataFolder()), for tools and tests.
QString GetDatabasePath();

// What the connection needs for the file at `path`: a second process that uses
// the same file waits for it instead of failing at once.
ConnectionSettings BuildConnectionString(const QString &path);

// Start-up on the database file at `path`: its folder, the file (created when
// missing, after old log files are set aside) and the connection of `db`. On a
// file it may write, it then removes the temporary files an interrupted
// creation left beside it; a read-only or damaged file, and everything beside
// it, stays as it was. A path SQLite cannot open, or a link whose target is
// missing, is refused before anything is made. Returns what the user must be
// told before the session begins.
QList<StartupNotice> OpenDatabase(Database &db, const QString &path);
// The same on the default location.
QList<StartupNotice> OpenDatabase(Database &db);

// The rest of the opening, once the file has been read whole (it waits for a
// check started with Database::startIntegrityCheck(), and runs at once when
// none was): damage found is told, and the connection is read-only from then
// on; on a whole, writable file the questions a crash left without an answer
// are deleted. Call it once, before the session's first question.
QList<StartupNotice> finishOpening(Database &db);

#pragma once

#include "database.h"

#include <QString>

#include <functional>

// The current user's per-application data root: roaming AppData on Windows,
// ~/Library/Application Support on macOS, $XDG_DATA_HOME or ~/.local/share elsewhere.
QString GetAppDataFolder();

// Makes sure the data folder "Zorvel" exists, with any missing parents, and returns
// the path of the database file "Zorvel.mdb" inside it. Does not look at the file.
QString GetDatabasePath();

// Creates the database file with its tables and seed content when no file is at
// `path`; otherwise does nothing.
void EnsureDatabaseFile(const QString &path);

// Creates a new database file at `path`, filled by `populate`, without ever leaving
// a half-made file there: the file is built in a temporary file of the same folder
// in one transaction and renamed into place only when complete.
void createDatabaseFile(const QString &path, const std::function<void(const Database &)> &populate);

// What the connection needs for the file at `path`: a second process that uses
// the same file waits for it instead of failing at once.
ConnectionSettings BuildConnectionString(const QString &path);

// Start-up: the data folder, the database file (created when missing) and the
// connection of `db`.
void OpenDatabase(Database &db);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class Database;

// Creates the database file with its tables and seed content when no file is at
// `path`; otherwise does nothing.
void EnsureDatabaseFile(const QString &path);

// Creates a new database file at `path`, filled by `populate`, all or nothing: the
// file is built in a temporary ".part" file of the same folder in one transaction
// with a rollback journal, checked to be complete in itself, and only then renamed
// into place. On any failure, a full disk included, no file appears at `path` and
// the error says why.
void createDatabaseFile(const QString &path, const std::function<void(Database &)> &populate);

// Whether `name` is one of the temporary files that a creation of the file named
// `databaseName` makes: "<databaseName>.XXXXXX.part" (six letters or digits), or
// one of its logs.
bool isOwnPartFileName(const QString &name, const QString &databaseName);

// Removes what an interrupted creation of the file at `path` left behind: the
// ".part" files of Zorvel's own naming and their journals, whatever their age.
void removeLeftoverPartFiles(const QString &path);

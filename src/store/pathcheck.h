// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether a database file at `path` can be opened and created by SQLite at all:
// throws the DatabaseError that names the cause when the path is longer than
// SQLite can open (with the temporary names of the all-or-nothing creation), or
// when a link lies at the path whose target is missing. Looks, changes nothing.
void requireUsableDatabasePath(const QString &path);

// The longest path of a database file that SQLite opens here, in bytes of the
// system's encoding (UTF-16 code units on Windows), and the length of `path`
// counted the same way, with its folders resolved.
qint64 longestDatabasePath();
qint64 databasePathLength(const QString &path);

// Whether files can be made in `folder`. On Windows this is found out by making
// and removing one: Windows ignores a folder's read-only attribute, which
// Explorer sets on Documents and on every folder it customises. Elsewhere the
// folder's permissions tell.
bool canCreateFilesIn(const QString &folder);

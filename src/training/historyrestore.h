// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Database;

// Putting a copy of a history back in place of the current one: the rules that
// the command line's restore and the evaluation window's share.

// Opens `file` read-only and untouched as the history to put back, once it has
// shown itself a whole history of this or an older Zorvel. Throws a
// DatabaseError that says why otherwise; `file` is never changed.
void openRestoreSource(Database &source, const QString &file);

// Keeps the history at `dataPath` in its backups before it is replaced: a
// consistent copy, or, of a damaged file, its bytes and its log's (the log then
// no longer lies beside it). Returns the kept copy's path. The backup at
// `spared` (the one being restored) stays, whatever the newest ten are. Nothing
// may have the file open for writing.
QString keepReplacedHistory(const QString &dataPath, const QString &spared = QString());

// Puts the history open in `source` at `dataPath` in one step: the current one,
// if any, is kept in its backups first (keepReplacedHistory). Returns the path
// of the kept copy, empty when there was no history. Throws a DatabaseError
// when it cannot; the history at `dataPath` is then as it was. Nothing may have
// the file at `dataPath` open.
QString replaceHistory(Database &source, const QString &dataPath);

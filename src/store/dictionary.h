// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Database;

// The dictionary (ci): the seed words and every new word of an accepted answer,
// each filed under a word class (cx id 1 to 4).

// The id of the one word stored under any of the names (the spellings of one
// answer), or 0 when there is none or more than one.
int FindWordId(Database &db, const QStringList &names);
// Files a new word under the class and returns its id.
int AddWord(Database &db, int classId, const QString &name);

// Reads the word ids of every class into the connection's cache, where the two
// functions below find them. They are read when first needed otherwise; this
// lets a caller do it ahead, at a moment nobody waits.
void loadWordIds(Database &db);
// Words of the class.
int wordCount(Database &db, int classId);
// The word at 1-based `position` among those of the class, in id order, or empty
// text when there is none.
QString wordAt(Database &db, int classId, int position);

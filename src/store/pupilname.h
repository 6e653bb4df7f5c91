// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Database;

// The pupil's name a history file carries, for its export and report. It lives
// in the table "settings" (key, value), which the first stored name makes: files
// without it are whole histories all the same, and read as having no name.

// The stored name; empty when none was stored, also in a file without the table.
QString storedPupilName(Database &db);

// Stores `name`, or forgets the stored one when `name` is empty. Throws the
// DatabaseError that says why when the file cannot be written.
void storePupilName(Database &db, const QString &name);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database.h"

#include <QString>
#include <QStringList>

// The files SQLite keeps beside a database file while it is in use.
inline constexpr const char *logFileSuffixes[] = {"-wal", "-shm", "-journal"};

// Removes a database file of our own making (a temporary or an old copy) and the
// logs SQLite may have left beside it.
void removeWithLogs(const QString &path);

// Log files (-wal, -shm, -journal) of a database that is no longer there would be
// applied by SQLite to a new file of that name, and break it. They may hold all
// that is left of a history, so they are renamed, not deleted, to names that no
// SQLite open looks for. Returns the new names; does nothing while the database
// file exists.
QStringList setAsideOrphanedLogs(const QString &path);

// What the user is told about logs set aside under `names`.
StartupNotice setAsideNotice(const QStringList &names);

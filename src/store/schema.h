// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class Database;

// Creates the six tables in a database that holds none of them and fills the
// question templates, feedback phrases, word classes and seed dictionary.
// Callers run it inside a transaction.
void CreateTablesAndSeed(Database &db);

// Drops the six tables. Callers run it inside a transaction, so that a missing
// table leaves every other table in place.
void DropAllTables(Database &db);

// The names of the six tables, in the order in which they are dropped.
QStringList tableNames();

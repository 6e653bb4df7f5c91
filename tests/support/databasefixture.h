// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

class Database;

// Helpers for tests that look at the store directly.
namespace DatabaseFixture {

// Number of rows of `table`, or of the rows matching `where` with its values.
int count(Database &db, const QString &table, const QString &where = QString(), const QVariantList &values = {});

// The whole content of the six tables, one line per row, for comparing stores.
QString dump(Database &db);

// The file's bytes, for checking that a file was left untouched; empty when
// there is no such file.
QByteArray fileBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);

// Overwrites the first page of `table` in the closed file at `path` with junk, as a
// failing disk would, where opening the file reads nothing of it. Returns false
// when the file cannot be written.
bool garbleRootPage(const QString &path, const QString &table);

// The names of the files in the folder of `path`, hidden ones included, sorted.
QStringList filesBeside(const QString &path);

// A database file and its write-ahead log as a crash of the program that has it
// open would leave them: taken while the connection is open, put back after it
// has closed (and folded the log into the file).
struct CrashState
{
    QByteArray file;
    QByteArray log;
};
CrashState takeCrashState(const QString &path);
void restoreCrashState(const QString &path, const CrashState &state);

} // namespace DatabaseFixture

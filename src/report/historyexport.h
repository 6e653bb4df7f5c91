// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Database;

// Writes the accepted answers as a table for spreadsheet programs to `path`:
// one row per answer with the pupil, its question's id, time ("yyyy-MM-dd
// HH:mm:ss", which spreadsheets read as a date), text, word and word class, the
// answer, and the question's score on the question's first row only, so that
// the column sums to the history's total score. UTF-8 with a byte-order mark, so that spreadsheet programs on Windows
// read it right, and quoted as RFC 4180 asks. The rows go to the disk as they
// are read, at a temporary name first; nothing appears at `path` unless the
// whole table was written. Returns false, with the reason in `error`, when it
// could not be written.
bool writeAnswersCsv(Database &db, const QString &path, QString &error);

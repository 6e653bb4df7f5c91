// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commandline.h"

#include <QString>

// The history commands of the command line, which need no display: a backup, a
// restore, the export of the answers and the progress report, each on the data
// file at `dataPath`. Each says on the terminal what it did, or in a sentence why
// it did nothing, and returns the exit code: 0 when it was done, 1 when not.
// None ever leaves a half-written file at the name it writes.
int runHistoryCommand(HistoryCommand command, const QString &file, const QString &dataPath);

// The progress report of several histories, one page for the class, written to
// `file`; of one history, its own progress report. Says which files could not
// be read; returns 0 when the page was written.
int runClassReport(const QString &file, const QStringList &dataPaths);

// What runHistoryCommand() prints and returns, without printing it.
CommandLineOutcome historyCommandOutcome(HistoryCommand command, const QString &file, const QString &dataPath);

// The start menu's report: writes the progress report of the history at
// `dataPath` to reportFileFor() and opens it in the default web browser. A
// failure is told in a message box as well as on the terminal. Needs a
// QApplication.
int openProgressReport(const QString &dataPath);

// The user's documents folder, made when missing; the home folder where there is none.
QString documentsFolder();

// Where the report of the history at `dataPath` goes when no file is named:
// "<name>-进度报告.html" in the user's documents, after the data file's name.
QString reportFileFor(const QString &dataPath);

// Whether the two paths name one file.
bool isSameFile(const QString &first, const QString &second);

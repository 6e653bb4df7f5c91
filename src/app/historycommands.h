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

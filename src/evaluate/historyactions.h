// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// A backup of the history, as the restore list shows it.
struct BackupSummary
{
    QString path;
    QDateTime time;   // when it was written
    int answers = -1; // accepted answers it holds; -1 when it cannot be read
    qint64 bytes = 0;
};

// What a restore did: where the replaced history is kept (empty when there was
// none), and what the opening of the restored one has to tell.
struct RestoreOutcome
{
    QString keptAs;
    QStringList notices;
};

// What the evaluation window does with the history it shows, put together by the
// program: the window asks the user, and this does the work (the command line's
// history commands share it). Each throws a std::runtime_error whose what() (in
// UTF-8) tells the user why nothing was done.
class HistoryActions
{
public:
    virtual ~HistoryActions() = default;

    // Writes the progress report to reportFile() and returns its path.
    virtual QString writeReport() = 0;
    // Where the report goes: a file in the user's documents named after the history.
    virtual QString reportFile() const = 0;
    // Writes every accepted answer as a table to `file`.
    virtual void exportAnswers(const QString &file) = 0;
    // The file the export offers first: in the user's documents, named after the history.
    virtual QString suggestedExportFile() const = 0;
    // Writes a backup to the history's backups folder and returns its path.
    virtual QString backUp() = 0;
    // The history's own backups, newest first.
    virtual QList<BackupSummary> backups() = 0;
    // The folder that the restore's file choice opens in.
    virtual QString backupsFolder() const = 0;
    // Puts the history in `file` in place of the current one, which is kept in
    // the backups; the running session goes on with the restored history.
    // A restore that is refused or fails changes nothing.
    virtual RestoreOutcome restore(const QString &file) = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluate/historyactions.h"

class Database;
class TrainingEngine;

// The evaluation window's history actions on the history the program runs on:
// the report and the export read the engine's own connection, a backup is one
// of the backups a clear writes, and a restore goes through the engine, which
// closes the file, replaces it and goes on with the restored history.
class RunningHistoryActions final : public HistoryActions
{
public:
    RunningHistoryActions(TrainingEngine &engine, Database &db, const QString &dataPath);

    QString writeReport() override;
    QString reportFile() const override;
    void exportAnswers(const QString &file) override;
    QString suggestedExportFile() const override;
    QString backUp() override;
    QList<BackupSummary> backups() override;
    QString backupsFolder() const override;
    RestoreOutcome restore(const QString &file) override;

private:
    TrainingEngine &m_engine;
    Database &m_db;
    QString m_dataPath;
};

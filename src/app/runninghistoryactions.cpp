// SPDX-License-Identifier: GPL-3.0-or-later
#include "runninghistoryactions.h"

#include "historycommands.h"

#include "report/historyexport.h"
#include "report/progressreport.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/historycopy.h"
#include "store/historyrows.h"
#include "store/location.h"
#include "store/storefailure.h"
#include "training/historybackups.h"
#include "training/historyrestore.h"
#include "training/trainingengine.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// The file the user chose must not be the history itself: writing it would
// replace the history with a report or a table.
void refuseHistoryItself(const QString &file, const QString &dataPath)
{
    if (isSameFile(file, dataPath)) {
        throw DatabaseError(QStringLiteral("“%1”就是训练记录本身，请选择另一个文件。").arg(displayPath(file)));
    }
}

template<typename Writer>
void writeFrom(Database &db, const QString &file, const QString &dataPath, Writer &&write)
{
    refuseHistoryItself(file, dataPath);
    QString error;
    if (!write(db, file, error))
        throw DatabaseError(QStringLiteral("无法写入“%1”，什么也没有写。").arg(displayPath(file)), error);
}

BackupSummary summaryOf(const QString &folder, const QString &name)
{
    BackupSummary summary;
    summary.path = QDir(folder).filePath(name);
    summary.time = backupTimeOf(name);
    summary.bytes = QFileInfo(summary.path).size();
    try {
        Database backup;
        backup.open(BuildConnectionString(summary.path), Database::Untouched);
        summary.answers = historyTotals(backup).answers;
    } catch (const DatabaseError &) {
        summary.answers = -1;
    }
    return summary;
}

} // namespace

RunningHistoryActions::RunningHistoryActions(TrainingEngine &engine, Database &db, const QString &dataPath)
    : m_engine(engine),
      m_db(db),
      m_dataPath(dataPath)
{
}

QString RunningHistoryActions::writeReport()
{
    const QString file = reportFile();
    writeFrom(m_db, file, m_dataPath, writeProgressReport);
    return file;
}

QString RunningHistoryActions::reportFile() const
{
    return reportFileFor(m_dataPath);
}

void RunningHistoryActions::exportAnswers(const QString &file)
{
    writeFrom(m_db, file, m_dataPath, writeAnswersCsv);
}

QString RunningHistoryActions::suggestedExportFile() const
{
    return QDir(documentsFolder()).filePath(backupBaseName(m_dataPath) + QStringLiteral("-回答.csv"));
}

QString RunningHistoryActions::backUp()
{
    return writeBackup(m_db, QDateTime::currentDateTime());
}

QList<BackupSummary> RunningHistoryActions::backups()
{
    const QString folder = backupsFolder();
    QStringList names = backupFilesIn(folder, m_dataPath);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return backupIsOlder(b, a); });
    QList<BackupSummary> summaries;
    for (const QString &name : names)
        summaries.append(summaryOf(folder, name));
    return summaries;
}

QString RunningHistoryActions::backupsFolder() const
{
    return QFileInfo(m_dataPath).absoluteDir().filePath(QStringLiteral("backups"));
}

RestoreOutcome RunningHistoryActions::restore(const QString &file)
{
    refuseHistoryItself(file, m_dataPath);
    Database source;
    openRestoreSource(source, file);
    RestoreOutcome outcome;
    QList<StartupNotice> notices;
    outcome.keptAs = m_engine.restoreHistory(source, notices);
    for (const StartupNotice &notice : notices)
        outcome.notices.append(notice.text);
    return outcome;
}

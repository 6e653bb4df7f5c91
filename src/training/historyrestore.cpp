// SPDX-License-Identifier: GPL-3.0-or-later
#include "historyrestore.h"

#include "historybackups.h"

#include "store/database.h"
#include "store/databaseerror.h"
#include "store/historycopy.h"
#include "store/location.h"
#include "store/storefailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void openRestoreSource(Database &source, const QString &file)
{
    if (!QFileInfo(file).isFile())
        throw DatabaseError(QStringLiteral("找不到文件“%1”。").arg(displayPath(file)));
    source.open(BuildConnectionString(file), Database::Untouched);
    if (source.access() == Database::Damaged)
        throw DatabaseError(QStringLiteral("文件“%1”已损坏：它比文件头所记的短。").arg(displayPath(file)));
    checkWholeHistory(source);
}

QString keepReplacedHistory(const QString &dataPath, const QString &spared)
{
    const QDateTime now = QDateTime::currentDateTime();
    Database current;
    current.open(BuildConnectionString(dataPath));
    if (current.access() != Database::Damaged)
        return writeBackup(current, now, spared);
    current.close();
    const QString folder = backupsFolderOf(dataPath);
    const QString kept = QDir(folder).filePath(backupFileName(dataPath, now, backupFilesIn(folder, dataPath)));
    writeByteCopy(dataPath, kept);
    QFile::remove(dataPath + QStringLiteral("-wal"));
    QFile::remove(dataPath + QStringLiteral("-shm"));
    return kept;
}

QString replaceHistory(Database &source, const QString &dataPath)
{
    QString kept;
    if (QFileInfo::exists(dataPath)) {
        kept = keepReplacedHistory(dataPath, source.filePath());
        if (const QStringList logs = logFilesBeside(dataPath); !logs.isEmpty()) {
            throw DatabaseError(QStringLiteral("训练记录旁边还有日志文件“%1”，已原样保留，没有恢复。")
                                    .arg(displayPath(logs.constFirst())));
        }
    } else {
        makeDataFolder(dataPath);
    }
    writeHistoryCopy(source, dataPath);
    return kept;
}

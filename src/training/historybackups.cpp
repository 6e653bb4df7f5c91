// SPDX-License-Identifier: GPL-3.0-or-later
#include "historybackups.h"

#include "store/database.h"
#include "store/databaseerror.h"
#include "store/historycopy.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString suffix = QStringLiteral(".mdb");

// "张三-20260102-030405-3.mdb" is written after "张三-20260102-030405.mdb",
// which counts as the first of its second. The time is read from the end, so
// that a name with dashes of its own does not shift it.
std::pair<QString, int> orderOf(const QString &name)
{
    static const QRegularExpression stamp(QStringLiteral("(\\d{8}-\\d{6})(?:-(\\d+))?\\.mdb$"));
    const QRegularExpressionMatch match = stamp.match(name);
    const QString counter = match.captured(2);
    return {match.captured(1), counter.isEmpty() ? 1 : counter.toInt()};
}

} // namespace

QString backupFileName(const QString &dataPath, const QDateTime &time, const QStringList &existing)
{
    const QString stamp = backupBaseName(dataPath) + QLatin1Char('-')
        + time.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = stamp + suffix;
    for (int n = 2; existing.contains(name); ++n)
        name = stamp + QStringLiteral("-%1").arg(n) + suffix;
    return name;
}

QDateTime backupTimeOf(const QString &name)
{
    return QDateTime::fromString(orderOf(name).first, QStringLiteral("yyyyMMdd-HHmmss"));
}

bool backupIsOlder(const QString &first, const QString &second)
{
    return orderOf(first) < orderOf(second);
}

QStringList backupsBeyond(QStringList names, int keep)
{
    std::sort(names.begin(), names.end(), backupIsOlder);
    return names.mid(0, std::max<qsizetype>(0, names.size() - keep));
}

QString writeBackup(Database &db, const QDateTime &time, const QString &spared)
{
    const QString dataPath = db.filePath();
    const QString folder = backupsFolderOf(dataPath);
    const QString path = QDir(folder).filePath(backupFileName(dataPath, time, backupFilesIn(folder, dataPath)));
    writeHistoryCopy(db, path);
    // Tidiness only: a backup that cannot be removed costs space, nothing else.
    QStringList backups = backupFilesIn(folder, dataPath);
    if (!spared.isEmpty() && QFileInfo(spared).absolutePath() == QFileInfo(path).absolutePath())
        backups.removeAll(QFileInfo(spared).fileName());
    removeBackups(folder, dataPath, backupsBeyond(backups));
    return path;
}

QString backUpBeforeClear(Database &db, const QDateTime &time)
{
    try {
        return writeBackup(db, time);
    } catch (const DatabaseError &error) {
        throw DatabaseError(error.summary() + QStringLiteral("清空前必须先保存备份，所以没有删除任何记录。"),
                            error.engineText(), error.resultCode());
    }
}

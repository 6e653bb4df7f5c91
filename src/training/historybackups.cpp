// SPDX-License-Identifier: GPL-3.0-or-later
#include "historybackups.h"

#include "store/database.h"
#include "store/databaseerror.h"
#include "store/historycopy.h"

#include <QDir>

#include <algorithm>

namespace {

const QString prefix = QStringLiteral("Zorvel-");
const QString suffix = QStringLiteral(".mdb");
constexpr int stampLength = 15; // yyyyMMdd-HHmmss

// "Zorvel-20260102-030405-3.mdb" is written after "Zorvel-20260102-030405.mdb",
// which counts as the first of its second.
std::pair<QString, int> orderOf(const QString &name)
{
    const QString core = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
    const QString stamp = core.left(stampLength);
    const int counter = core.size() > stampLength ? core.mid(stampLength + 1).toInt() : 1;
    return {stamp, counter};
}

} // namespace

QString backupFileName(const QDateTime &time, const QStringList &existing)
{
    const QString stamp = prefix + time.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = stamp + suffix;
    for (int n = 2; existing.contains(name); ++n)
        name = stamp + QStringLiteral("-%1").arg(n) + suffix;
    return name;
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

QString writeBackup(Database &db, const QDateTime &time)
{
    const QString folder = backupsFolderOf(db.filePath());
    const QStringList existing = backupFilesIn(folder);
    const QString path = QDir(folder).filePath(backupFileName(time, existing));
    writeHistoryCopy(db, path);
    // Tidiness only: a backup that cannot be removed costs space, nothing else.
    removeBackups(folder, backupsBeyond(backupFilesIn(folder)));
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

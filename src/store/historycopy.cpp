// SPDX-License-Identifier: GPL-3.0-or-later
#include "historycopy.h"

#include "database.h"
#include "databaseerror.h"
#include "logsetaside.h"
#include "newfilemove.h"
#include "statements.h"
#include "storefailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

const QStringList historyTables{QStringLiteral("wtlx"), QStringLiteral("hdpj"), QStringLiteral("cx"),
                                QStringLiteral("wt"),   QStringLiteral("hd"),   QStringLiteral("ci")};

// "<base>-yyyyMMdd-HHmmss.mdb", or with "-2", "-3", ... before ".mdb"; `tail`
// follows it (an interrupted copy's ".XXXXXX.part").
QRegularExpression backupNameExpression(const QString &dataPath, const QString &tail = QString())
{
    return QRegularExpression(QStringLiteral("^%1-\\d{8}-\\d{6}(-\\d+)?\\.mdb%2$")
                                  .arg(QRegularExpression::escape(backupBaseName(dataPath)), tail));
}

QStringList filesMatching(const QString &folder, const QRegularExpression &expression)
{
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    names.removeIf([&expression](const QString &name) { return !expression.match(name).hasMatch(); });
    return names;
}

// Makes a file's content survive a power cut.
bool syncToDisk(const QString &path)
{
#ifdef Q_OS_UNIX
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
#elif defined(Q_OS_WIN)
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const HANDLE file = CreateFileW(native.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool synced = FlushFileBuffers(file);
    CloseHandle(file);
    return synced;
#else
    Q_UNUSED(path);
    return true;
#endif
}

DatabaseError copyFailed(const QString &target, int resultCode, const QString &reason)
{
    const QString sentence = StoreFailure::isFullDisk(resultCode, target)
        ? QStringLiteral("磁盘空间不足，无法写入训练记录的副本“%1”。")
        : QStringLiteral("无法写入训练记录的副本“%1”。");
    return DatabaseError(sentence.arg(displayPath(target)), reason,
                         StoreFailure::isFullDisk(resultCode, target) ? ResultCode::full : resultCode);
}

// A temporary file of Zorvel's ".part" naming beside `target`, left empty: the
// copy is written into it.
QString reservePartName(const QString &target)
{
    QTemporaryFile file(target + QStringLiteral(".XXXXXX.part"));
    if (!file.open())
        throw copyFailed(target, ResultCode::ioError, file.errorString());
    file.setAutoRemove(false);
    return file.fileName();
}

void putInPlace(const QString &part, const QString &target)
{
    QString reason;
    if (!syncToDisk(part) || !replaceWithNewFile(part, target, reason)) {
        removeWithLogs(part);
        throw copyFailed(target, ResultCode::ioError, reason);
    }
}

bool copyBytes(const QString &source, const QString &target, QString &reason)
{
    QFile from(source);
    QFile to(target);
    if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        reason = from.isOpen() ? to.errorString() : from.errorString();
        return false;
    }
    while (!from.atEnd()) {
        const QByteArray block = from.read(1 << 20);
        if (block.isEmpty() || to.write(block) != block.size()) {
            reason = to.errorString();
            return false;
        }
    }
    return to.flush();
}

} // namespace

void writeHistoryCopy(Database &db, const QString &target)
{
    const QString part = reservePartName(target);
    try {
        db.statements().run(QStringLiteral("VACUUM INTO ?"), {part});
    } catch (const DatabaseError &error) {
        removeWithLogs(part);
        throw copyFailed(target, error.resultCode(), error.engineText());
    }
    putInPlace(part, target);
}

void writeByteCopy(const QString &source, const QString &target)
{
    const QString wal = source + QStringLiteral("-wal");
    const QStringList sources = QFileInfo::exists(wal) ? QStringList{source, wal} : QStringList{source};
    QStringList parts;
    for (const QString &file : sources) {
        QString reason;
        const QString part = reservePartName(target);
        parts.append(part);
        if (!copyBytes(file, part, reason)) {
            for (const QString &made : parts)
                QFile::remove(made);
            throw copyFailed(target, ResultCode::ioError, reason);
        }
    }
    if (parts.size() > 1)
        putInPlace(parts.at(1), target + QStringLiteral("-wal"));
    putInPlace(parts.at(0), target);
}

void checkWholeHistory(Database &db)
{
    const QString path = displayPath(db.filePath());
    for (const QString &table : historyTables) {
        if (db.statements()
                .scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?"), {table})
                .toInt()
            != 1)
            throw DatabaseError(QStringLiteral("文件“%1”缺少数据表 %2，不是完整的训练记录。").arg(path, table));
    }
    const QString verdict = db.statements().scalar(QStringLiteral("PRAGMA integrity_check")).toString();
    if (verdict != QStringLiteral("ok"))
        throw DatabaseError(QStringLiteral("文件“%1”已损坏，没有通过完整性检查。").arg(path), verdict,
                            ResultCode::corrupt);
}

QStringList logFilesBeside(const QString &path)
{
    QStringList logs;
    for (const char *suffix : logFileSuffixes) {
        const QString log = path + QLatin1StringView(suffix);
        if (QFileInfo::exists(log))
            logs.append(log);
    }
    return logs;
}

QString backupsFolderOf(const QString &dataPath)
{
    const QString folder = QFileInfo(dataPath).absoluteDir().filePath(QStringLiteral("backups"));
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        throw DatabaseError(QStringLiteral("无法创建备份文件夹“%1”。请检查该位置是否可写。").arg(displayPath(folder)),
                            QString(), ResultCode::ioError);
    }
    return folder;
}

QString backupBaseName(const QString &dataPath)
{
    const QFileInfo file(dataPath);
    const QString base = file.suffix().compare(QStringLiteral("mdb"), Qt::CaseInsensitive) == 0
        ? file.completeBaseName()
        : file.fileName();
    return base.isEmpty() ? QStringLiteral("Zorvel") : base;
}

QStringList backupFilesIn(const QString &folder, const QString &dataPath)
{
    return filesMatching(folder, backupNameExpression(dataPath));
}

void removeBackups(const QString &folder, const QString &dataPath, const QStringList &names)
{
    const QDir dir(folder);
    for (const QString &name : names)
        removeWithLogs(dir.filePath(name));
    for (const QString &part : filesMatching(folder, backupNameExpression(dataPath, QStringLiteral("\\.\\w+\\.part"))))
        QFile::remove(dir.filePath(part));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileheader.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

const QByteArray sqliteMagic("SQLite format 3\0", 16);

quint32 bigEndian32(const QByteArray &header, int offset)
{
    return qFromBigEndian<quint32>(header.constData() + offset);
}

quint32 pageSize(const QByteArray &header)
{
    const quint32 value = qFromBigEndian<quint16>(header.constData() + 16);
    return value == 1 ? 65536 : value;
}

bool isValidPageSize(quint32 size)
{
    return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

// The page count at offset 28 holds only when the change counter at offset 24
// matches the version-valid-for number at offset 92; SQLite since 3.7.0 keeps
// them in step.
qint64 expectedFileSize(const QByteArray &header)
{
    const quint32 pageCount = bigEndian32(header, 28);
    if (pageCount == 0 || bigEndian32(header, 24) != bigEndian32(header, 92))
        return 0;
    return qint64(pageCount) * pageSize(header);
}

} // namespace

FileHeaderVerdict judgeDatabaseHeader(const QByteArray &header, qint64 fileSize, bool logBeside)
{
    if (header.size() < databaseHeaderSize || !header.startsWith(sqliteMagic))
        return FileHeaderVerdict::NotSQLite;
    if (qint32(bigEndian32(header, 68)) != SchemaVersion::applicationId)
        return FileHeaderVerdict::OtherOwner;
    if (qint32(bigEndian32(header, 60)) > SchemaVersion::current)
        return FileHeaderVerdict::NewerVersion;
    if (!isValidPageSize(pageSize(header)))
        return FileHeaderVerdict::CutShort;
    if (!logBeside && fileSize < expectedFileSize(header))
        return FileHeaderVerdict::CutShort;
    return FileHeaderVerdict::Ours;
}

bool readDatabaseHeader(const QString &path, QByteArray &header, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    header = file.read(databaseHeaderSize);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool hasLogBeside(const QString &databasePath)
{
    return QFileInfo(databasePath + QStringLiteral("-wal")).size() > 0;
}

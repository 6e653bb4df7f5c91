// SPDX-License-Identifier: GPL-3.0-or-later
#include "databasefixture.h"

#include "store/database.h"
#include "store/location.h"
#include "store/statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace DatabaseFixture {

int count(Database &db, const QString &table, const QString &where, const QVariantList &values)
{
    QString sql = QStringLiteral("SELECT count(*) FROM ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return db.statements().scalar(sql, values).toInt();
}

bool garbleRootPage(const QString &path, const QString &table)
{
    int rootPage = 0;
    {
        Database db(QStringLiteral("garble"));
        OpenDatabase(db, path);
        rootPage = db.statements()
                       .scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = ?"), {table})
                       .toInt();
    }
    QFile file(path);
    const qint64 pageSize = 4096;
    return rootPage > 0 && file.open(QIODevice::ReadWrite) && file.seek((rootPage - 1) * pageSize)
        && file.write(QByteArray(pageSize, '\xEE')) == pageSize;
}

QString dump(Database &db)
{
    QStringList lines;
    for (const char *table : {"wtlx", "hdpj", "cx", "wt", "hd", "ci"}) {
        QSqlQuery query = db.statements().execute(
            QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(QLatin1StringView(table)));
        while (query.next()) {
            QStringList fields{QLatin1StringView(table)};
            for (int i = 0; i < query.record().count(); ++i)
                fields.append(query.value(i).toString());
            lines.append(fields.join(QLatin1Char('|')));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QStringList filesBeside(const QString &path)
{
    return QFileInfo(path).dir().entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

CrashState takeCrashState(const QString &path)
{
    return {fileBytes(path), fileBytes(path + QStringLiteral("-wal"))};
}

void restoreCrashState(const QString &path, const CrashState &state)
{
    writeBytes(path, state.file);
    writeBytes(path + QStringLiteral("-wal"), state.log);
}

} // namespace DatabaseFixture

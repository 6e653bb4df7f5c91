#include "databasefixture.h"

#include "store/database.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace DatabaseFixture {

int count(const Database &db, const QString &table, const QString &where, const QVariantList &values)
{
    QString sql = QStringLiteral("SELECT count(*) FROM ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return db.scalar(sql, values).toInt();
}

QString dump(const Database &db)
{
    QStringList lines;
    for (const char *table : {"wtlx", "hdpj", "cx", "wt", "hd", "ci"}) {
        QSqlQuery query = db.execute(QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(QLatin1StringView(table)));
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

} // namespace DatabaseFixture

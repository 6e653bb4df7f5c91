// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary.h"

#include "database.h"
#include "namelist.h"
#include "rowselection.h"

#include <QSqlQuery>

namespace {

const RowSelection wordsOfClass{QStringLiteral("ci"), QStringLiteral("name"), QStringLiteral("cxid = ?")};

} // namespace

int FindWordId(const Database &db, const QStringList &names)
{
    QVariantList values;
    const QString condition = columnIsOneOf(QStringLiteral("name"), names, values);
    QSqlQuery query =
        db.execute(QStringLiteral("SELECT id FROM ci WHERE ") + condition + QStringLiteral(" LIMIT 2"), values);
    if (!query.next())
        return 0;
    const int id = query.value(0).toInt();
    return query.next() ? 0 : id;
}

int AddWord(const Database &db, int classId, const QString &name)
{
    return db.insert(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (?, ?)"), {classId, name});
}

int wordCount(const Database &db, int classId)
{
    return wordsOfClass.count(db, {classId});
}

QString wordAt(const Database &db, int classId, int position)
{
    return wordsOfClass.rowAt(db, {classId}, position).value(0).toString();
}

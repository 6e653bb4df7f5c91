// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary.h"

#include "database.h"
#include "namelist.h"
#include "sessioncache.h"
#include "statements.h"

#include <QSqlQuery>

namespace {

// The word ids of every class, in id order: read once, then kept in step.
const QHash<int, QList<int>> &wordIdsByClass(Database &db)
{
    SessionCache &cache = currentCache(db);
    if (!cache.wordIds()) {
        QHash<int, QList<int>> idsByClass;
        QSqlQuery query = db.statements().execute(QStringLiteral("SELECT cxid, id FROM ci ORDER BY id"));
        while (query.next())
            idsByClass[query.value(0).toInt()].append(query.value(1).toInt());
        cache.setWordIds(std::move(idsByClass));
    }
    return *cache.wordIds();
}

} // namespace

int FindWordId(Database &db, const QStringList &names)
{
    QVariantList values;
    const QString condition = columnIsOneOf(QStringLiteral("name"), names, values);
    const QVariantList row = db.statements().firstRow(
        QStringLiteral("SELECT min(id), count(*) FROM (SELECT id FROM ci WHERE ") + condition
            + QStringLiteral(" LIMIT 2)"),
        values);
    return row.value(1).toInt() == 1 ? row.value(0).toInt() : 0;
}

int AddWord(Database &db, int classId, const QString &name)
{
    const int id = db.statements().insert(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (?, ?)"), {classId, name});
    db.statements().cache().wordAdded(classId, id);
    return id;
}

void loadWordIds(Database &db)
{
    wordIdsByClass(db);
}

int wordCount(Database &db, int classId)
{
    return int(wordIdsByClass(db).value(classId).size());
}

QString wordAt(Database &db, int classId, int position)
{
    const QList<int> ids = wordIdsByClass(db).value(classId);
    if (position < 1 || position > ids.size())
        return QString();
    return db.statements()
        .scalar(QStringLiteral("SELECT name FROM ci WHERE id = ?"), {ids.at(position - 1)})
        .toString();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "rowselection.h"

#include "database.h"
#include "statements.h"

QString RowSelection::whereClause() const
{
    return condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition;
}

int RowSelection::count(Database &db, const QVariantList &values) const
{
    return db.statements().scalar(QStringLiteral("SELECT count(*) FROM ") + table + whereClause(), values).toInt();
}

QVariantList RowSelection::rowAt(Database &db, const QVariantList &values, int position) const
{
    return db.statements().firstRow(
        QStringLiteral("SELECT %1 FROM %2%3 ORDER BY id LIMIT 1 OFFSET ?").arg(columns, table, whereClause()),
        QVariantList(values) << position - 1);
}

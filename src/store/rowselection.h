// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariantList>

class Database;
class QSqlQuery;

// The rows of one table that match a condition, in id order: how many there are,
// and the row at a position among them. The random draws of the training engine
// count the rows first and then fetch the one they drew.
struct RowSelection
{
    QString table;
    QString columns;   // what rowAt() reads
    QString condition; // with one "?" per bound value; empty for every row

    int count(const Database &db, const QVariantList &values = {}) const;
    // The row at 1-based `position`, current on the returned query, or a query
    // without a current row when there is none.
    QSqlQuery rowAt(const Database &db, const QVariantList &values, int position) const;

private:
    QString whereClause() const;
};

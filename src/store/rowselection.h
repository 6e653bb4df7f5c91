// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariantList>

class Database;

// The rows of one table that match a condition, in id order: how many there are,
// and the row at a position among them. The random draws of the training engine
// count the rows first and then fetch the one they drew; these are the small
// reference tables, the dictionary's classes are drawn from the SessionCache.
struct RowSelection
{
    QString table;
    QString columns;   // what rowAt() reads
    QString condition; // with one "?" per bound value; empty for every row

    int count(Database &db, const QVariantList &values = {}) const;
    // The columns of the row at 1-based `position`, or an empty list when there is none.
    QVariantList rowAt(Database &db, const QVariantList &values, int position) const;

private:
    QString whereClause() const;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sessioncache.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

class Database;

// The statement-running side of a Database: every statement of the store runs
// through it. Private to the store: the layers above hand a Database on to the
// store's functions, which reach its statements.
//
// Every statement takes its values as bound parameters; every failure leaves as
// a DatabaseError. A result that shows the file damaged turns the connection
// read-only and immutable for the rest of the session, which is why running a
// statement needs a Database that may change.
class Statements
{
public:
    Statements(const Statements &) = delete;
    Statements &operator=(const Statements &) = delete;

    // Runs one statement with its values bound in order and returns the result,
    // positioned before its first row. A statement that may write drops what the
    // cache holds, as of its commit.
    QSqlQuery execute(const QString &sql, const QVariantList &values = {});

    // The statements of the training loop run through statements prepared once
    // per connection and kept; each is done with when these return. Their
    // writes leave the cache alone: the store function that writes tells the
    // cache what it changed.
    // The first column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &values = {});
    // The columns of the first row, or an empty list when there is no row.
    QVariantList firstRow(const QString &sql, const QVariantList &values = {});
    // Runs an insert and returns the generated id of the new row.
    int insert(const QString &sql, const QVariantList &values);
    // Runs a statement whose result is not read.
    void run(const QString &sql, const QVariantList &values = {});

    // What the store keeps in memory about the file during the session. Emptied
    // whenever the connection closes.
    SessionCache &cache() { return m_cache; }
    const SessionCache &cache() const { return m_cache; }

    QSqlDatabase connection() const;
    // The open connection; throws a DatabaseError that says so when it is not open.
    QSqlDatabase openConnection() const;

private:
    friend class Database;
    explicit Statements(Database &db);
    // The connection closed: nothing prepared or read on it is kept.
    void forget();

    QSqlQuery &runPrepared(const QString &sql, const QVariantList &values);
    [[noreturn]] void fail(QSqlQuery &query);

    Database &m_db;
    QHash<QString, QSqlQuery> m_prepared;
    SessionCache m_cache;
};

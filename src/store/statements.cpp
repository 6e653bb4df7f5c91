// SPDX-License-Identifier: GPL-3.0-or-later
#include "statements.h"

#include "database.h"
#include "databaseerror.h"
#include "storefailure.h"

#include <QSqlError>
#include <QSqlRecord>

namespace {

// The training loop runs a few dozen different statements; more than this many
// means texts that vary (lists of names of any length), which are let go.
constexpr qsizetype keptStatementLimit = 64;

bool onlyReads(const QString &sql)
{
    return sql.startsWith(QLatin1StringView("SELECT"), Qt::CaseInsensitive);
}

} // namespace

Statements::Statements(Database &db) : m_db(db)
{
}

void Statements::forget()
{
    m_prepared.clear();
    m_cache.clear();
}

QSqlDatabase Statements::connection() const
{
    return QSqlDatabase::database(m_db.m_connectionName, false);
}

QSqlDatabase Statements::openConnection() const
{
    QSqlDatabase db = connection();
    if (!db.isOpen())
        throw DatabaseError(QStringLiteral("数据库没有打开，无法完成这个操作。请检查数据文件夹后重新启动 Zorvel。"));
    return db;
}

QSqlQuery Statements::execute(const QString &sql, const QVariantList &values)
{
    QSqlQuery query(openConnection());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        fail(query);
    if (!onlyReads(sql))
        m_cache.forgetAll();
    return query;
}

// A kept statement is bound afresh for each run; it stays prepared, and its
// callers reset it (QSqlQuery::finish()) once they have read what they need, so
// that it holds no snapshot of the file between runs.
QSqlQuery &Statements::runPrepared(const QString &sql, const QVariantList &values)
{
    const QSqlDatabase connection = openConnection();
    QHash<QString, QSqlQuery> &kept = m_prepared;
    auto found = kept.find(sql);
    if (found == kept.end()) {
        if (kept.size() >= keptStatementLimit)
            kept.clear();
        QSqlQuery query(connection);
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            fail(query);
        found = kept.insert(sql, std::move(query));
    }
    QSqlQuery &query = *found;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i));
    if (!query.exec()) {
        QSqlQuery failed = std::move(query);
        kept.erase(found);
        fail(failed);
    }
    return query;
}

void Statements::fail(QSqlQuery &query)
{
    const QSqlError error = query.lastError();
    const int code = ResultCode::primaryOf(error);
    query = QSqlQuery();
    const Database::Access access = m_db.access();
    if (access != Database::Writable && code == ResultCode::readOnly)
        throw StoreFailure::writeRefused(m_db.filePath(), access == Database::Damaged);
    if (access == Database::Writable && ResultCode::meansDamaged(code))
        m_db.becomeDamaged();
    throw StoreFailure::fromEngine(StoreFailure::Statement, code, m_db.filePath(), error.text());
}

QVariant Statements::scalar(const QString &sql, const QVariantList &values)
{
    QSqlQuery &query = runPrepared(sql, values);
    const QVariant value = query.next() ? query.value(0) : QVariant();
    query.finish();
    return value;
}

QVariantList Statements::firstRow(const QString &sql, const QVariantList &values)
{
    QSqlQuery &query = runPrepared(sql, values);
    QVariantList row;
    if (query.next()) {
        const int columns = query.record().count();
        for (int column = 0; column < columns; ++column)
            row.append(query.value(column));
    }
    query.finish();
    return row;
}

int Statements::insert(const QString &sql, const QVariantList &values)
{
    QSqlQuery &query = runPrepared(sql, values);
    const int id = query.lastInsertId().toInt();
    query.finish();
    return id;
}

void Statements::run(const QString &sql, const QVariantList &values)
{
    runPrepared(sql, values).finish();
}
